// SPDX-License-Identifier: GPL-3.0-or-later
// The names src/web/bindings.cpp gives the compiled core. Only the loader and the link use
// these; the page calls the shapes of ./halvex.d.ts.
import type { ChannelReport, ReportTime } from "./channel_report";
import type { ChannelEditing } from "./channel_edits";
import type { ChannelColumn, HalvexDocument } from "./halvex";
import type { HalvexPages } from "./pages";
import type { ConnectionFinding, Station, StationClaim, StationRecord } from "./station";
import type { TestModeBox } from "./test_mode";

export interface CoreDeletable {
  delete(): void;
}

// The page's document as the binding gives it, with what only the loader and the link use.
export interface CoreDocument extends CoreDeletable, HalvexDocument {
  /** What a transfer starts from: the image after PrepareImage, the document untouched. */
  preparedCopy(): Uint8Array;
  takeRadioImage(image: Uint8Array): void;
}

/** What one exchange gave back; the document's module words it. */
export interface CoreOutcome {
  status: number;
  read: boolean;
  cancelled: boolean;
  blocks: number;
  skippedBlocks: number[];
  checked: boolean;
  checkUnread: boolean;
  differingBlocks: number[];
  warning: string;
  openError: string;
  image: Uint8Array;
}

export interface CoreLink extends CoreDeletable {
  statusAddress(): number;
  progressAddress(): number;
  cancelAddress(): number;
  phaseAddress(): number;
  /** Suspends the module until the exchange is over. */
  run(read: boolean, image: Uint8Array, check: boolean): Promise<CoreOutcome>;
}

export interface CoreFaults {
  silent?: boolean;
  identificationLength?: number;
  noAckBlock?: number;
  shortAnswerBlock?: number;
  unstoredBlock?: number;
}

export interface CoreRadio extends CoreDeletable {
  feed(bytes: Uint8Array): { bytes: Uint8Array; readyMs: number[] };
  setFaults(faults: CoreFaults): void;
  memory(): Uint8Array;
  memoryOf(number: number): Uint8Array;
}

/** One cable of the station in an exchange's module. */
export interface CoreStationCable extends CoreDeletable {
  statusAddress(): number;
  progressAddress(): number;
  cancelAddress(): number;
  phaseAddress(): number;
  abandonAddress(): number;
  stopAddress(): number;
  /** "" or why the port would not open. */
  open(): Promise<string>;
  probe(): Promise<"answered" | "silent" | "cancelled">;
  run(
    claim: StationClaim,
    cable: string,
    written: (record: StationRecord) => void,
  ): Promise<StationRecord>;
  runAutomatic(
    cable: string,
    claim: () => StationClaim,
    written: (record: StationRecord) => void,
    done: (record: StationRecord) => boolean,
    stillAnswering: (record: StationRecord) => void,
  ): Promise<void>;
  close(): Promise<void>;
}

/** The test dialog's session in an exchange's module; select, scroll (at its end), exchange
 *  and close may suspend the module while they talk to the radio. */
export interface CoreTestMode extends CoreDeletable {
  progressAddress(): number;
  cancelAddress(): number;
  fill(): string[];
  itemLines(): string[];
  selected(): number;
  position(): number;
  inTestMode(): boolean;
  select(item: number): Promise<void> | void;
  scroll(code: string, tracked: number): Promise<CoreTestScroll> | CoreTestScroll;
  exchange(kind: string): Promise<CoreTestEnding>;
  useImage(image: Uint8Array): void;
  image(): Uint8Array;
  close(): Promise<void> | void;
}

export interface CoreTestScroll {
  stored: boolean;
  stepKey: string;
  item: number;
}

export interface CoreTestEnding {
  box: TestModeBox;
  warning: string;
  readStopped: string;
  refill: boolean;
  stepKey: string;
}

/** The facts Check Connection found; the document's module words them. */
export type CoreDiagnosis = object;

export interface CoreDoctorLink extends CoreDeletable {
  cancelAddress(): number;
  run(name: string): Promise<CoreDiagnosis>;
}

/** The line object the module's CableLine calls, by number. */
export interface CoreLine {
  open(baudRate: number): Promise<void>;
  close(): Promise<void>;
  write(bytes: Uint8Array, leadDelayMs: number): Promise<number>;
  read(count: number, timeoutMs: number): Promise<Uint8Array>;
}

export interface CoreModule extends HalvexPages, ChannelEditing {
  HEAP32: Int32Array;
  halvexLines: Map<number, CoreLine>;

  start(): string;
  defaultSettings(): string;
  useSettings(text: string): string;
  settingsText(): string;
  cableType(): number;
  setCableType(type: number): string;
  verifyAfterWrite(): boolean;
  setVerifyAfterWrite(on: boolean): string;
  addLanguage(fileName: string, text: string): string;
  useLanguage(fileName: string): string;
  languageName(fileName: string): string;
  LoadLangString(key: string): string;
  LoadResourceText(id: number): string;
  columns(): ChannelColumn[];
  choices(column: number): string[];
  bandNames(): string[];
  channelReport(document: CoreDocument, time: ReportTime): ChannelReport;
  transferProgressText(phase: number, percent: number): string;
  transferOutcomeText(outcome: CoreOutcome): string;
  transferSucceeded(outcome: CoreOutcome): boolean;
  stationFileText(document: HalvexDocument): string;
  cableStateText(phase: number, percent: number): string;
  cableName(number: number, virtualRadio: boolean, usbVendor: number, usbProduct: number): string;
  portRefusedText(openError: string): string;
  accessibleName(id: number): string;
  connectionFinding(diagnosis: CoreDiagnosis): ConnectionFinding;
  noPortFinding(): ConnectionFinding;
  shownLanguage(): { fileName: string; text: string };
  testModeRefusal(entered: string): TestModeBox;
  takeTestModeImage(
    document: CoreDocument,
    image: Uint8Array,
    stepKey: string,
    item: number,
  ): string;

  Document: new () => CoreDocument;
  Link: new (line: number) => CoreLink;
  Radio: new (
    echo: boolean,
    paced: boolean,
    faults: CoreFaults,
    radios: number,
    swapAfterMs: number,
  ) => CoreRadio;
  Station: new () => Station & CoreDeletable;
  StationCable: new (line: number) => CoreStationCable;
  DoctorLink: new (line: number) => CoreDoctorLink;
  TestMode: new (line: number, name: string, image: Uint8Array) => CoreTestMode;
}

export interface CoreModuleOptions {
  wasmBinary?: ArrayBuffer | Uint8Array;
  locateFile?: (path: string, prefix: string) => string;
  instantiateWasm?: (
    imports: WebAssembly.Imports,
    done: (instance: WebAssembly.Instance) => void,
  ) => object;
}

export type CoreFactory = (options?: CoreModuleOptions) => Promise<CoreModule>;
