// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table's Edit commands as the core runs them (src/web/edit_bindings.cpp). Each
// change is one undo step of the document named as the desktop names it; channel lists are
// channel numbers, texts are in the language shown.
import type { HalvexDocument } from "./halvex";

export interface RowEdit {
  changed: boolean;
  /** The status line: the step just taken, or why nothing changed. */
  note: string;
  /** The channels chosen afterwards. */
  selected: number[];
  /** A box to show after it: a report, or a refusal when refused (nothing changed then). */
  message: string;
  refused: boolean;
  /** The typed amount refused, by its place in the dialog from 0; -1 for none. */
  refusedField: number;
  /** Insert only: channels in use would fall off the end; ask this, then insert with drop. */
  question: string;
}

export interface CopiedRows {
  /** The channels exactly, for another page of this program. */
  exact: Uint8Array;
  /** The same channels as a spreadsheet takes them: tab-separated cells under a header. */
  text: string;
  note: string;
}

export interface RowCommandStates {
  /** Cut, Copy, Delete, Clear, Set for Selected, Fill Frequencies. */
  onSelection: boolean;
  /** Paste, Insert. */
  onTarget: boolean;
  moveUp: boolean;
  moveDown: boolean;
}

export interface FoundRow {
  /** 0 when nothing matches. */
  channel: number;
  /** The find bar's line: "Channel 5: 146.52000 ALPHA (1 of 3)". */
  status: string;
}

export interface DifferenceList {
  summary: string;
  lines: string[];
}

export interface ChannelEditing {
  rowCommandStates(doc: HalvexDocument, selection: number[], target: number): RowCommandStates;
  insertRows(doc: HalvexDocument, target: number, count: number, drop: boolean): RowEdit;
  deleteRows(doc: HalvexDocument, selection: number[]): RowEdit;
  clearRows(doc: HalvexDocument, selection: number[]): RowEdit;
  /** Clears the rows as Cut; the page puts copyRows' result on the clipboard first. */
  cutRows(doc: HalvexDocument, selection: number[]): RowEdit;
  moveRows(doc: HalvexDocument, selection: number[], up: boolean): RowEdit;
  copyRows(doc: HalvexDocument, selection: number[]): CopiedRows;
  /** The exact channels when exact holds them, else text (tab-separated or CSV). */
  pasteRows(doc: HalvexDocument, target: number, exact: Uint8Array, text: string): RowEdit;
  /** The columns Set for Selected Channels offers; their values are choices(column). */
  settableColumns(): number[];
  /** index: the value's place in choices(column); offset: the transmit column's text. */
  setColumnOfRows(
    doc: HalvexDocument,
    selection: number[],
    column: number,
    index: number,
    offset: string,
  ): RowEdit;
  /** key: 0 receive frequency, 1 name, 2 channel number. */
  sortRows(
    doc: HalvexDocument,
    selection: number[],
    key: number,
    descending: boolean,
    selectionOnly: boolean,
  ): RowEdit;
  /** The first frequency the Fill dialog offers. */
  fillStart(doc: HalvexDocument, selection: number[]): string;
  fillRows(
    doc: HalvexDocument,
    selection: number[],
    first: string,
    step: string,
    shift: string,
  ): RowEdit;
  findRow(
    doc: HalvexDocument,
    text: string,
    focusRow: number,
    direction: number,
    includeCurrent: boolean,
  ): FoundRow;
  /** Compare with Radio: the document against the image read from the radio. */
  radioDifferences(doc: HalvexDocument, radio: Uint8Array): DifferenceList;
}
