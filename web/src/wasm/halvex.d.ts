// SPDX-License-Identifier: GPL-3.0-or-later
// The core compiled to WebAssembly, as the page calls it. Every rule lives in the core: the
// page shows what these return and never decides a value, a lock or a message itself.
// `loadHalvex()` of ./load_halvex gives the module. Texts come back in the language made
// current with useLanguage. Indices are the desktop's:
// rows 1..channelCount(), columns 0..12 in the order of columns().
//
// While a transfer runs the module is suspended inside it: call nothing on the module then
// but the transfer's cancel() and percent (the page's transfer dialog is modal).

import type { ChannelReport, ReportTime } from "./channel_report";
import type { HalvexPages } from "./pages";
import type { StationModule } from "./station";
import type { TestModeModule } from "./test_mode";
import type { ChannelEditing } from "./channel_edits";

/** A failure in the user's language; empty when the call did what it was asked. */
export type Message = string;

export type ColumnKind = "number" | "frequency" | "tone" | "choice" | "name";

/** One column of the channel table, as the core's column table defines it. */
export interface ChannelColumn {
  id: number;
  /** Header text in the current language. */
  header: string;
  /** The column's name in English ("Receive"), for ids and test names. */
  name: string;
  kind: ColumnKind;
  /** Width on the desktop's grid, in pixels. */
  width: number;
  /** Characters a typed entry may hold (frequency 9, name 5); 0 for list columns. */
  textLimit: number;
}

export interface CellState {
  /** Read-only: shown grey, no editor opens, commits are refused. */
  locked: boolean;
  /** Shown on the button-face background. */
  shaded: boolean;
}

export interface CommitResult {
  /** False when the cell was locked or the value left the image as it was. */
  changed: boolean;
  /** The clamping note of an out-of-band frequency ("... stored as 174.00000"); else "". */
  note: string;
}

export interface OpenResult {
  ok: boolean;
  /** The desktop's refusal for a damaged or foreign file, in the current language. */
  message: Message;
}

export interface SaveResult {
  ok: boolean;
  /** The whole .pgm file (header and image) after the core's checks and PrepareImage. */
  bytes: Uint8Array;
  message: Message;
}

export interface ChannelExport {
  ok: boolean;
  /** The CSV file as the desktop writes it. */
  bytes: Uint8Array;
  /** What the format cannot hold, one line each (shown under IDS_CSV_EXPORT_NOTES). */
  notes: string[];
  /** Why nothing was exported (no channel in use). */
  message: Message;
}

export interface ChannelImport {
  ok: boolean;
  /** Why the file was refused (IDS_CSV_REFUSED and the reason); the document is unchanged. */
  message: Message;
  /** "12 rows imported, 3 changes reported." */
  summary: string;
  /** Every value not stored as the file wrote it, one line each. */
  losses: string[];
  /** Whether the import changes the document at all. */
  changes: boolean;
}

export interface TextImport {
  ok: boolean;
  /** IDS_CONFIG_REFUSED when the text was refused; the document is then unchanged. */
  message: Message;
  /** Every error with its place ("radio.yaml:42:17: channels.12.receive: ..."). */
  errors: string[];
  changes: boolean;
  /** IDS_CONFIG_CHANGES above the lines, or IDS_CONFIG_SAME when there are none. */
  summary: string;
  /** What the import changes, one line each, as Compare with Radio words them. */
  lines: string[];
}

export interface HalvexDocument {
  /** File > New without asking: band line 0 and the defaults. */
  newDocument(): void;
  /** File > Open of a file's bytes; name is shown in messages. A refused file leaves the
   *  document as it was. */
  open(bytes: Uint8Array, name: string): OpenResult;
  /** File > Save: PrepareImage (no undo step of its own, as on the desktop), then the file's
   *  bytes. The document is then bound to name and unmodified; the page asks IDS_WARN_SAVE
   *  before saving over the file it is bound to. */
  save(name: string): SaveResult;
  /** The name open or save bound the document to; "" for a new or read document. */
  pathName(): string;
  isModified(): boolean;

  canUndo(): boolean;
  canRedo(): boolean;
  /** The step's name after "Undo " / "Redo ", in the current language. */
  undoName(): string;
  redoName(): string;
  undo(): boolean;
  redo(): boolean;

  channelCount(): number;
  /** Every cell of row 1..channelCount(), column 0 the channel number. */
  rowTexts(row: number): string[];
  rowStates(row: number): CellState[];
  /** The entry of a tone or choice cell's list, as choices(column) numbers it; -1 for none. */
  choiceIndex(row: number, column: number): number;
  /** A typed entry in a frequency or name cell. */
  commitText(row: number, column: number, text: string): CommitResult;
  /** An entry chosen in a tone or choice cell's list. */
  commitChoice(row: number, column: number, index: number): CommitResult;

  /** The band selector: the index shown for this image. */
  bandIndex(): number;
  /** A new band resets the image (the page asks IDS_CONFIRM_FREQ first); one undo step. */
  setBand(index: number): void;

  /** The image the radio would be given (8192 bytes), for comparisons. */
  imageBytes(): Uint8Array;
  delete(): void;
  /** A write would erase the radio's channels: the page asks IDS_WARN_ERASE first. */
  wouldEraseRadio(): boolean;
  /** The .pgm file a read backup keeps of the image (the program's own header), without
   *  binding or marking the document. */
  backupFile(): Uint8Array;

  /** Whether a channel is in use: Export Channels is offered only then. */
  canExportChannels(): boolean;
  /** File > Export Channels: the CSV file and its notes. */
  exportChannels(): ChannelExport;
  /** File > Import Channels of a CSV file's bytes: replace the table, or fill only empty
   *  channels. The report only, unless apply: then the import as one undo step. */
  importChannels(bytes: Uint8Array, name: string, replace: boolean, apply: boolean): ChannelImport;
  /** File > Export Configuration: the whole radio as text (YAML). */
  exportText(): Uint8Array;
  /** File > Import Configuration: checked whole, then with apply stored as one undo step. */
  importText(bytes: Uint8Array, name: string, apply: boolean): TextImport;
  /** The document's file name with another extension ("radio.csv"); "" for no file. */
  nameWithExtension(extension: string): string;
}

/** Web Serial's SerialPort as the link uses it; the virtual radio has the same shape. */
export interface SerialPortLike {
  open(options: {
    baudRate: number;
    dataBits?: number;
    stopBits?: number;
    parity?: "none" | "even" | "odd";
  }): Promise<void>;
  readonly readable: ReadableStream<Uint8Array> | null;
  readonly writable: WritableStream<Uint8Array> | null;
  close(): Promise<void>;
}

export type TransferKind = "read" | "write";

export interface TransferOptions {
  /** Read the radio back after a write and compare (the desktop's check box). */
  verify?: boolean;
  /** Called with the percent and the dialog's line (IDS_PROMPT_READ/WRITE/VERIFY + " 42%"). */
  onProgress?: (percent: number, line: string) => void;
}

export interface TransferOutcome {
  ok: boolean;
  cancelled: boolean;
  /** The transfer dialog's last line or message box text: done, or why it failed; empty for
   *  a read the user cancelled, which ends without a word as on the desktop. */
  message: Message;
  /** Blocks the radio took (write) or gave (read). */
  blocks: number;
}

export interface Transfer {
  /** Resolves once the port is closed again. A read that is not ok leaves the document as
   *  it was; a read that is ok has replaced its image (modified, bound to no file). */
  readonly done: Promise<TransferOutcome>;
  /** Stops at the next block boundary, as the desktop's Cancel. */
  cancel(): void;
  readonly percent: number;
}

export interface VirtualRadioFaults {
  /** Answers nothing at all. */
  silent?: boolean;
  /** Identifies with this many bytes (8 is this model; another count is another model). */
  identificationLength?: number;
  /** Written block neither stored nor acknowledged, at this address (0x0800...). */
  noAckBlock?: number;
  /** Read answer cut short, at this address. */
  shortAnswerBlock?: number;
  /** Written block acknowledged but not kept, at this address: the check after writing finds it. */
  unstoredBlock?: number;
}

export interface VirtualRadioOptions {
  faults?: VirtualRadioFaults;
  /** Bytes leave and arrive at 9600 baud, 10 bits a byte, as on a cable. */
  paced?: boolean;
  /** Echo every byte sent, as an echoing cable does. */
  echo?: boolean;
  /** Refuse to open, as Web Serial refuses a port another program holds. */
  busy?: boolean;
  /** Radios one after another on the line, as at a station (radio-sim's --radios). */
  radios?: number;
  /** A radio is unplugged this long after its read-back (or read), for as long (--swap-after). */
  swapAfterMs?: number;
}

/** The project's virtual radio (the same responder radio-sim uses), starting with the demo
 *  channels, behind a SerialPort. */
export interface VirtualRadio extends SerialPortLike {
  /** The radio's 8192-byte memory as it stands. */
  memory(): Uint8Array;
  /** The memory of radio number (from 1) of a sequence of radios. */
  memoryOf(number: number): Uint8Array;
  /** Bytes the line carried so far, both ways, for line-time measures. */
  readonly lineBytes: number;
  /** Changes the faults from the next byte on: silent mid-read is a radio that stops. */
  setFaults(faults: VirtualRadioFaults): void;
}

export interface HalvexModule extends StationModule, TestModeModule {
  /** The Optional Functions and VFO pages, the FM presets and the settings dialog. */
  readonly pages: HalvexPages;
  /** The shipped setting.ini's text. */
  defaultSettings(): string;
  /** Makes text the settings (kept by the page in the browser's storage). A text that is no
   *  settings file is refused with why, and the settings stay as they were; a wrong value is
   *  named and its default used; "" when all is well. */
  useSettings(text: string): Message;
  /** The settings as they stand, to store again. */
  settingsText(): string;
  /** The rwtype setting: 1 a direct cable, 2 an echoing one. */
  cableType(): number;
  setCableType(type: number): Message;
  /** The verifywrite setting: the check after writing. */
  verifyAfterWrite(): boolean;
  setVerifyAfterWrite(on: boolean): Message;

  /** Keeps a language file's text (UTF-8 as shipped) under its file name ("english.lang"). */
  addLanguage(fileName: string, text: string): Message;
  /** Makes a kept language current; every text after this is in it. */
  useLanguage(fileName: string): Message;
  /** The language file's "Face"/"disp" of a kept file, for the switch. */
  languageName(fileName: string): string;
  LoadLangString(key: string): string;
  /** The text of a dialog control (the language file's "Resource" section); "" if none. */
  LoadResourceText(id: number): string;

  columns(): ChannelColumn[];
  /** The list a tone or choice column offers, in the current language. */
  choices(column: number): string[];
  /** The band selector's entries, from the settings' band lines. */
  bandNames(): string[];

  newDocument(): HalvexDocument;
  /** The channel table's Edit commands and the difference lists. */
  readonly editing: ChannelEditing;

  /** Reads the radio into document, or writes the document to it, over port (opened here
   *  at 9600 8N1 and closed after). */
  startTransfer(
    document: HalvexDocument,
    port: SerialPortLike,
    kind: TransferKind,
    options?: TransferOptions,
  ): Transfer;

  newVirtualRadio(options?: VirtualRadioOptions): VirtualRadio;

  /** The document's printed report, as the desktop prints it. */
  channelReport(document: HalvexDocument, time: ReportTime): ChannelReport;
}
