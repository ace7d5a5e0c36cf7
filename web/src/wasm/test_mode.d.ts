// SPDX-License-Identifier: GPL-3.0-or-later
// Test mode as the page calls it (./halvex.d.ts gives it on the module): the access code's
// check, and the session of the test dialog in an exchange instance, which holds a copy of
// the document's image and the port for as long as the dialog is open. Every rule and word
// is the core's.
import type { HalvexDocument, SerialPortLike } from "./halvex";

/** A box to show; an empty text shows none. */
export interface TestModeBox {
  caption: string;
  text: string;
  stopIcon: boolean;
}

/** What the dialog shows: the list lines, the selected line (-1 none), the bar's position. */
export interface TestModeView {
  lines: string[];
  selected: number;
  position: number;
}

/** A change to take into the document as one undo step: its language key and test item. */
export interface TestModeChange {
  stepKey: string;
  item: number;
}

export interface TestModeEnding {
  box: TestModeBox;
  /** A problem that did not stop the exchange; "" when none. */
  warning: string;
  /** A stopped Read all: what it read and dropped, in words; "" otherwise. */
  readStopped: string;
  /** The image changed: the document takes it. */
  change: TestModeChange | null;
  view: TestModeView;
}

export type TestExchange = "start" | "read" | "write";
export type TestScroll = "left" | "right" | "track" | "end";

/** The dialog's session; its calls run one after another, in the order made. */
export interface TestModeSession {
  view(): Promise<TestModeView>;
  /** The list's selection; in test mode the radio follows. */
  select(item: number): Promise<TestModeView>;
  /** The bar; "end" stores the position into the item (and, in test mode, sends it). */
  scroll(
    code: TestScroll,
    tracked: number,
  ): Promise<{ view: TestModeView; change: TestModeChange | null }>;
  /** Start test mode, read all or write all; onProgress is told the percent moved. */
  exchange(kind: TestExchange, onProgress: (percent: number) => void): Promise<TestModeEnding>;
  /** Stops the running exchange at its next look at the flag. */
  cancel(): void;
  /** The document's image again, after the dialog opened another file. */
  useImage(image: Uint8Array): Promise<TestModeView>;
  image(): Promise<Uint8Array>;
}

export interface TestModeModule {
  /** The access dialog's refusal of entered, or a box with no text for the access code. */
  testModeRefusal(entered: string): TestModeBox;
  /** Runs the test dialog's session on port (named name in the words) over a copy of
   *  document's image until use ends; the radio is taken out of test mode then. */
  runTestMode(
    port: SerialPortLike,
    name: string,
    document: HalvexDocument,
    use: (session: TestModeSession) => Promise<void>,
  ): Promise<void>;
  /** Takes change's image into document as one undo step; returns its name. */
  takeTestModeImage(document: HalvexDocument, image: Uint8Array, change: TestModeChange): string;
}
