// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station and Check Connection as the page calls them (./halvex.d.ts gives
// them on the module). The station's rules, numbers, lines and log file are the core's.
import type { HalvexDocument, Message, SerialPortLike } from "./halvex";

/** What a cable's next radio is given; number 0 when the run takes no more radios. */
export interface StationClaim {
  number: number;
  /** Why not (a PTT ID code past the radio's 6 characters); "" once the run was stopped. */
  message: Message;
}

/** A radio done, as its log line holds it; passed back to the station unchanged. */
export interface StationRecord {
  readonly cable: string;
  readonly number: number;
}

export interface StationLogged {
  /** The radio's line in the language shown (in English the command line's). */
  words: string;
  /** The result as the bench sees it: "done, unplug", "checked, unplug", "failed, ...". */
  advice: string;
  /** Written and checked, as the cable's count of ok radios counts it. */
  ok: boolean;
  /** Nothing to do again (green): written and checked, or checked the same as the file. */
  passed: boolean;
  /** The log could not take the line; the station then takes no more radios. */
  message: Message;
}

/** A station run in the document's module: one image to radio after radio, and the log. */
export interface Station {
  /** Starts a run writing the document as it stands, or with checkOnly comparing each radio
   *  with it and writing none; "" or why not. */
  start(
    document: HalvexDocument,
    verify: boolean,
    checkOnly: boolean,
    firstPttIdCode: string,
  ): Message;
  /** Takes no more radios; those being written finish. */
  stop(): void;
  running(): boolean;
  claim(cable: string): StationClaim;
  /** The radio's write ended whole: it counts as unlogged until its line is in the log. "" or
   *  why it could not be marked; the station then takes no more radios. */
  markWritten(record: StationRecord): Message;
  finish(record: StationRecord): StationLogged;
  /** The radios written whole but not logged yet, for the browser's storage; "" for none. */
  unloggedText(): string;
  /** What unloggedText gave on an earlier visit, for the next start to log as unchecked. */
  keepUnlogged(text: string): void;
  /** The radios the last start logged as unchecked, a line each in the language shown. */
  unloggedWords(): string[];
  /** The station's log file (CSV): its header and a line per radio of every run. */
  logFile(): Uint8Array;
  /** The run's summary line, over one cable or, for "", all. */
  summary(cable: string): string;
  delete(): void;
}

export type StationRadioEnd =
  | { kind: "radio"; record: StationRecord }
  /** No radio answered the wake-up. */
  | { kind: "no-radio" }
  /** The port would not open, or the station gave no radio number; message may be "". */
  | { kind: "refused"; message: Message }
  | { kind: "cancelled" };

export interface StationRadioRun {
  readonly done: Promise<StationRadioEnd>;
  /** Abandons the radio at the next block boundary, as closing the desktop's station does. */
  abandon(): void;
}

/** A cable in the automatic mode: radio after radio, each found by the wake-up. */
export interface StationCableRun {
  /** Once the cable takes no more radios; a refusal's message may be "". */
  readonly done: Promise<{ kind: "stopped" } | { kind: "refused"; message: Message }>;
  /** Ends the watch for the next radio; a radio being written finishes first. */
  stop(): void;
  /** Abandons the radio at the next block boundary too. */
  abandon(): void;
}

/** What the automatic mode tells the page of its cable. */
export interface AutomaticCable {
  /** The next radio's number, as the manual mode claims it. */
  claim(): StationClaim;
  /** The radio's write ended whole, before its check. */
  written(record: StationRecord): void;
  /** A radio done; false when the station takes no more radios. */
  done(record: StationRecord): boolean;
  /** The radio done still answers long after it was done. */
  stillAnswering(record: StationRecord): void;
  /** The cable's state line as it changes. */
  onState(line: string): void;
}

export interface ConnectionFinding {
  found: boolean;
  /** The desktop's box text; "" for a cancelled check. */
  text: Message;
  /** The cable type (rwtype) the cure switches to; 0 when none is offered. */
  cableSwitch: number;
}

export interface ConnectionCheck {
  readonly done: Promise<ConnectionFinding>;
  cancel(): void;
}

export interface StationModule {
  newStation(): Station;
  /** "Writes: ..." of the station dialog. */
  stationFileText(document: HalvexDocument): string;
  /** The desktop's accessible name of a dialog control, by its id ("" if none). */
  accessibleName(id: number): string;
  /** The cable's name in the log and on the page. */
  cableName(number: number, virtualRadio: boolean, usbVendor: number, usbProduct: number): string;
  /** Finds the radio on port by the wake-up, takes its number from claim, and writes it;
   *  written is told when its write ended whole, onState the cable's state line as it
   *  changes. */
  runStationRadio(
    port: SerialPortLike,
    cable: string,
    claim: () => StationClaim,
    written: (record: StationRecord) => void,
    onState: (line: string) => void,
  ): StationRadioRun;
  /** The automatic mode on port: each next radio found by the wake-up once the last one is
   *  unplugged, and written (or checked) without a click. */
  runAutomaticCable(port: SerialPortLike, cable: string, steps: AutomaticCable): StationCableRun;
  /** Check Connection on port, named name in the words. */
  checkConnection(port: SerialPortLike, name: string): ConnectionCheck;
  /** The words for no port chosen in the browser's list. */
  noPortFinding(): ConnectionFinding;
}
