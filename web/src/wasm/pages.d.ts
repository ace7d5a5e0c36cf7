// SPDX-License-Identifier: GPL-3.0-or-later
// The core's Optional Functions and VFO pages, FM presets dialog and settings dialog, as the
// page calls them (src/web/page_bindings.cpp). Every label, choice, value, refusal and note
// is the core's, in the language made current; the page decides none of them.
import type { CommitResult, HalvexDocument, Message } from "./halvex";

export type PageName = "function" | "vfo";
export type FieldKind = "choice" | "switch" | "text";

/** One control of a page, as the desktop's template has it. */
export interface PageField {
  /** The control's id; commits name it. */
  id: number;
  kind: FieldKind;
  label: string;
  /** A list's entries; empty for a switch or a text box. */
  choices: string[];
  /** The entry shown (a switch: 0 off, 1 on); -1 when the list has none for the stored value. */
  index: number;
  /** A text box's text. */
  text: string;
  /** Characters a text box holds; 0 for a list. */
  textLimit: number;
  /** The characters a text box lets in, typed or pasted; "" for any. */
  accepted: string;
}

/** A column of the functions page, or a VFO's titled group. */
export interface PageGroup {
  id: number;
  title: string;
  fields: PageField[];
}

export interface FmPresetWords {
  title: string;
  /** The grid's two column headers. */
  headers: string[];
  /** "Preset 1" ... "Preset 16". */
  rowNames: string[];
  frequencyLabel: string;
  /** A preset's list: the frequencies, then the empty preset. */
  presetChoices: string[];
  frequencyChoices: string[];
}

/** The FM presets dialog while it is open: each choice is in the document at once; accept
 *  makes them one undo step, reject puts the document back as it was when it opened. */
export interface FmPresetsEdit {
  words(): FmPresetWords;
  /** The entry of preset 1..16; -1 for a code the list lacks. */
  preset(preset: number): number;
  frequency(): number;
  choosePreset(preset: number, index: number): boolean;
  chooseFrequency(index: number): boolean;
  accept(): void;
  reject(): void;
  delete(): void;
}

/** One setting of setting.ini the settings dialog shows. */
export interface SettingField {
  /** As the file names it ("channelcount", "Freq0", "data0"). */
  key: string;
  /** A language text, possibly a menu text (label() it). */
  label: string;
  /** What each entry of a list, or off and on of a check box, stores; empty for a text box. */
  values: string[];
  /** A list's entries. */
  choices: string[];
  value: string;
}

export interface BandLineField {
  name: SettingField;
  line: SettingField;
}

export interface SettingsApplied {
  /** False when a value was refused: the settings are then as they were. */
  used: boolean;
  /** Why a value was refused, or what the settings' check says of the ones used. */
  message: Message;
}

export interface HalvexPages {
  pageGroups(document: HalvexDocument, page: PageName): PageGroup[];
  /** A list's entry or a check box's state, through the desktop page's commit. */
  commitPageChoice(document: HalvexDocument, id: number, index: number): CommitResult;
  /** A typed text; a frequency's clamping note comes back as on the channel table. */
  commitPageText(document: HalvexDocument, id: number, text: string): CommitResult;
  FmPresets: new (document: HalvexDocument) => FmPresetsEdit;

  settingFields(): SettingField[];
  bandLineFields(): BandLineField[];
  /** The changed values, checked by the settings' rules before any is used. */
  applySettings(edits: { key: string; value: string }[]): SettingsApplied;
}
