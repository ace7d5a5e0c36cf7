// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the compiled core and gives the page its module. The .wasm is compiled once and
// instantiated more than once: the document's instance is never suspended, so the page can
// draw and the virtual radio can answer while an exchange waits for the radio in an instance
// of its own. Each exchange takes an idle exchange instance, or a new one.
import type {
  CoreDocument,
  CoreFactory,
  CoreLink,
  CoreModule,
  CoreModuleOptions,
} from "./core_module";
import type { ChannelEditing } from "./channel_edits";
import type {
  HalvexDocument,
  HalvexModule,
  SerialPortLike,
  Transfer,
  TransferKind,
  TransferOptions,
  TransferOutcome,
  VirtualRadioOptions,
} from "./halvex";
import type { ReportTime } from "./channel_report";
import type { HalvexPages } from "./pages";
import { SerialLine } from "../link/serial_line";
import { checkConnection, runAutomaticCable, runStationRadio, type LentLink } from "./station_link";
import type {
  AutomaticCable,
  ConnectionCheck,
  Station,
  StationCableRun,
  StationClaim,
  StationRadioRun,
  StationRecord,
} from "./station";
import type { TestModeChange, TestModeSession } from "./test_mode";
import { runTestMode } from "./test_mode_link";
import { VirtualRadioPort } from "../link/virtual_radio";

export interface LoadOptions {
  /** The module's script; "./halvex.js" beside the page by default. */
  coreUrl?: string;
  /** Its .wasm; beside the script by default. */
  wasmUrl?: string;
  /** The .wasm's bytes, where fetching a file is no way to get them (node). */
  wasmBinary?: Uint8Array;
}

// The desktop's dialog follows its worker on a 20 ms timer.
const FOLLOW_MS = 20;
const STATUS_READ_PROGRESS = 4;
const STATUS_WRITE_PROGRESS = 8;

export async function loadHalvex(options: LoadOptions = {}): Promise<HalvexModule> {
  const coreUrl = options.coreUrl ?? new URL("./halvex.js", document.baseURI).href;
  const factory = ((await import(/* @vite-ignore */ coreUrl)) as { default: CoreFactory }).default;
  const wasmUrl = options.wasmUrl ?? new URL("halvex.wasm", coreUrl).href;
  const compiled = await WebAssembly.compile(
    options.wasmBinary ?? (await (await fetch(wasmUrl)).arrayBuffer()),
  );
  const instantiate = async (): Promise<CoreModule> => {
    const moduleOptions: CoreModuleOptions = {
      instantiateWasm: (imports, done) => {
        WebAssembly.instantiate(compiled, imports).then(done);
        return {};
      },
    };
    const core = await factory(moduleOptions);
    core.halvexLines = new Map();
    const problem = core.start();
    if (problem) {
      throw new Error(problem);
    }
    return core;
  };
  return new LoadedModule(await instantiate(), instantiate);
}

class LoadedModule implements HalvexModule {
  private readonly core: CoreModule;
  private readonly instantiate: () => Promise<CoreModule>;
  private readonly idleLinks: CoreModule[] = [];
  private nextLine = 1;

  constructor(core: CoreModule, instantiate: () => Promise<CoreModule>) {
    this.core = core;
    this.instantiate = instantiate;
  }

  defaultSettings = () => this.core.defaultSettings();
  useSettings = (text: string) => this.core.useSettings(text);
  settingsText = () => this.core.settingsText();
  cableType = () => this.core.cableType();
  setCableType = (type: number) => this.core.setCableType(type);
  verifyAfterWrite = () => this.core.verifyAfterWrite();
  setVerifyAfterWrite = (on: boolean) => this.core.setVerifyAfterWrite(on);
  addLanguage = (fileName: string, text: string) => this.core.addLanguage(fileName, text);
  useLanguage = (fileName: string) => this.core.useLanguage(fileName);
  languageName = (fileName: string) => this.core.languageName(fileName);
  LoadLangString = (key: string) => this.core.LoadLangString(key);
  LoadResourceText = (id: number) => this.core.LoadResourceText(id);
  columns = () => this.core.columns();
  choices = (column: number) => this.core.choices(column);
  bandNames = () => this.core.bandNames();
  newDocument = (): CoreDocument => new this.core.Document();
  channelReport = (document: HalvexDocument, time: ReportTime) =>
    this.core.channelReport(document as CoreDocument, time);

  get pages(): HalvexPages {
    return this.core;
  }

  get editing(): ChannelEditing {
    return this.core;
  }

  newVirtualRadio(options: VirtualRadioOptions = {}): VirtualRadioPort {
    return new VirtualRadioPort(
      new this.core.Radio(
        options.echo ?? false,
        options.paced ?? false,
        options.faults ?? {},
        options.radios ?? 1,
        options.swapAfterMs ?? 1000,
      ),
      options.busy ?? false,
    );
  }

  // An idle exchange instance, or a new one, with port as its line number; lent again after
  // use unless use failed, as an instance an exchange crashed in is never lent again.
  private async lend<T>(
    port: SerialPortLike,
    use: (linkCore: CoreModule, line: number) => Promise<T>,
  ): Promise<T> {
    const linkCore = this.idleLinks.pop() ?? (await this.instantiate());
    const line = this.nextLine++;
    linkCore.halvexLines.set(line, new SerialLine(port));
    let healthy = false;
    try {
      const result = await use(linkCore, line);
      healthy = true;
      return result;
    } finally {
      linkCore.halvexLines.delete(line);
      if (healthy) {
        this.idleLinks.push(linkCore);
      }
    }
  }

  newStation = (): Station => new this.core.Station();
  stationFileText = (document: HalvexDocument) => this.core.stationFileText(document);
  cableName = (number: number, virtualRadio: boolean, usbVendor: number, usbProduct: number) =>
    this.core.cableName(number, virtualRadio, usbVendor, usbProduct);
  noPortFinding = () => this.core.noPortFinding();
  accessibleName = (id: number) => this.core.accessibleName(id);

  runStationRadio(
    port: SerialPortLike,
    cable: string,
    claim: () => StationClaim,
    written: (record: StationRecord) => void,
    onState: (line: string) => void,
  ): StationRadioRun {
    return runStationRadio(this.core, this.lendWithSettings(port), cable, claim, written, onState);
  }

  runAutomaticCable(port: SerialPortLike, cable: string, steps: AutomaticCable): StationCableRun {
    return runAutomaticCable(this.core, this.lendWithSettings(port), cable, steps);
  }

  checkConnection(port: SerialPortLike, name: string): ConnectionCheck {
    return checkConnection(this.core, this.lendWithSettings(port), name);
  }

  testModeRefusal = (entered: string) => this.core.testModeRefusal(entered);
  takeTestModeImage = (document: HalvexDocument, image: Uint8Array, change: TestModeChange) =>
    this.core.takeTestModeImage(document as CoreDocument, image, change.stepKey, change.item);

  runTestMode(
    port: SerialPortLike,
    name: string,
    document: HalvexDocument,
    use: (session: TestModeSession) => Promise<void>,
  ): Promise<void> {
    return runTestMode(this.core, this.lendWithSettings(port), name, document, use);
  }

  // The settings as the document's instance holds them now, in the instance lent.
  private lendWithSettings(port: SerialPortLike): LentLink {
    const settings = this.core.settingsText();
    return (use) =>
      this.lend(port, (linkCore, line) => {
        linkCore.useSettings(settings);
        return use(linkCore, line);
      });
  }

  startTransfer(
    document: HalvexDocument,
    port: SerialPortLike,
    kind: TransferKind,
    options: TransferOptions = {},
  ): Transfer {
    const read = kind === "read";
    // A copy: a transfer changes the document only by a whole read.
    const taker = document as CoreDocument;
    const image = taker.preparedCopy();
    const check = !read && (options.verify ?? this.core.verifyAfterWrite());
    const settings = this.core.settingsText();
    let percent = 0;
    let lastPhase = -1;
    let cancelled = false;
    let cancelLink: (() => void) | null = null;
    const done = this.lend(port, async (linkCore, line): Promise<TransferOutcome> => {
      // The document's instance took this text already and named any wrong value then.
      linkCore.useSettings(settings);
      const link: CoreLink = new linkCore.Link(line);
      // Taken before the run: while it runs, the instance takes no call.
      const cancelAt = link.cancelAddress() >> 2;
      const statusAt = link.statusAddress() >> 2;
      const progressAt = link.progressAddress() >> 2;
      const phaseAt = link.phaseAddress() >> 2;
      cancelLink = () => {
        linkCore.HEAP32[cancelAt] = 1;
      };
      if (cancelled) {
        cancelLink();
      }
      const follow = setInterval(() => {
        const status = linkCore.HEAP32[statusAt];
        if (status !== STATUS_READ_PROGRESS && status !== STATUS_WRITE_PROGRESS) {
          return;
        }
        const now = linkCore.HEAP32[progressAt];
        const phase = linkCore.HEAP32[phaseAt];
        if (now !== percent || phase !== lastPhase) {
          percent = now;
          lastPhase = phase;
          options.onProgress?.(percent, this.core.transferProgressText(phase, percent));
        }
      }, FOLLOW_MS);
      try {
        const outcome = await link.run(read, image, check);
        link.delete();
        const ok = this.core.transferSucceeded(outcome);
        if (ok && read) {
          taker.takeRadioImage(outcome.image);
        }
        return {
          ok,
          cancelled: outcome.cancelled,
          message: this.core.transferOutcomeText(outcome),
          blocks: outcome.blocks,
        };
      } finally {
        clearInterval(follow);
        cancelLink = null;
      }
    }).catch((error: unknown) => ({
      // A module that failed to start or stopped mid-exchange is a failed transfer the user
      // hears of, never a promise the page is left holding.
      ok: false,
      cancelled: false,
      message: `${this.core.LoadLangString(read ? "IDS_PROMPT_READFAIL" : "IDS_PROMPT_WRITEFAIL")}\n${String(error)}`,
      blocks: 0,
    }));
    return {
      done,
      cancel: () => {
        cancelled = true;
        cancelLink?.();
      },
      get percent() {
        return percent;
      },
    };
  }
}
