// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Programming Station as a modal <dialog>: cables added one by one (a port picked
// in the browser's list each, or a virtual radio each), then the open document written to the
// radio on each cable whenever its Next radio is pressed, or in the automatic mode whenever
// the next radio answers, several cables at once; or each radio only checked against it. The
// run, every radio's number, line and result and the log file are the core's; this shows them.
import { writeFile } from "./file_access";
import "./station.css";
import { showMessageBox } from "./message_box";
import type { NamedPort, RadioPorts } from "./radio_ports";
import { fill, label, type Texts } from "./texts";
import type { HalvexDocument, HalvexModule } from "./wasm/halvex";
import type {
  Station,
  StationCableRun,
  StationLogged,
  StationRadioEnd,
  StationRadioRun,
  StationRecord,
} from "./wasm/station";

export interface StationHost {
  module: HalvexModule;
  texts: Texts;
  ports: RadioPorts;
  document(): HalvexDocument;
  useVirtualRadio(): boolean;
}

interface CableRow {
  name: string;
  port: NamedPort;
  radios: number;
  ok: number;
  run: StationRadioRun | null;
  automatic: StationCableRun | null;
  // The automatic mode's radio is being written or checked.
  writing: boolean;
  count: HTMLElement;
  state: HTMLElement;
  result: HTMLElement;
  next: HTMLButtonElement;
}

const logFileName = "station-log.csv";
// The radios written whole but not logged yet, kept past the visit as the log's marker file
// is kept beside it natively.
const unloggedKey = "halvex.station-unlogged";

function element<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  className = "",
  text = "",
): HTMLElementTagNameMap[K] {
  const made = document.createElement(tag);
  made.className = className;
  made.textContent = text;
  return made;
}

function button(text: string): HTMLButtonElement {
  const made = element("button", "", text);
  made.type = "button";
  return made;
}

function checkBox(text: string, checked: boolean): [HTMLLabelElement, HTMLInputElement] {
  const box = element("input");
  box.type = "checkbox";
  box.checked = checked;
  const labelled = element("label", "option");
  labelled.append(box, element("span", "", label(text)));
  return [labelled, box];
}

export function runStationDialog(host: StationHost): Promise<void> {
  const { module, texts } = host;
  const station: Station = module.newStation();
  const cables: CableRow[] = [];
  // Each Next radio until its line is shown, so that closing waits for the last one.
  const radios = new Set<Promise<void>>();
  let running = false;

  const dialog = element("dialog", "station");
  const title = element("h2", "", texts.resource(138));
  title.id = "station-title";
  dialog.setAttribute("aria-labelledby", title.id);
  const file = element("p", "station-file", module.stationFileText(host.document()));
  const cablesLabel = element("span", "", label(texts.resource(1402)));
  cablesLabel.id = "station-cables-label";
  const cableList = element("ul", "station-cables");
  cableList.setAttribute("aria-labelledby", cablesLabel.id);
  const add = button(label(texts("IDS_WEB_ADD_CABLE")));
  const [automaticLabel, automatic] = checkBox(texts.resource(1406), false);
  const [verifyLabel, verify] = checkBox(texts.resource(1407), true);
  const [checkOnlyLabel, checkOnly] = checkBox(texts.resource(1416), false);
  const code = element("input");
  code.id = "station-code";
  code.maxLength = 6;
  code.inputMode = "numeric";
  const codeLabel = element("label", "", label(texts.resource(1414)));
  codeLabel.htmlFor = code.id;
  const start = button(label(texts.resource(1412)));
  const stop = button(label(texts.resource(1413)));
  const rowsHeading = element("h3", "", texts.resource(1410));
  rowsHeading.id = "station-rows-title";
  const rows = element("div", "station-rows");
  rows.setAttribute("role", "group");
  rows.setAttribute("aria-labelledby", rowsHeading.id);
  const logBox = element("div", "station-log");
  logBox.setAttribute("role", "log");
  logBox.setAttribute("aria-label", module.accessibleName(1411));
  const log = element("ol");
  logBox.append(log);
  logBox.hidden = true;
  const download = button(texts("IDS_WEB_STATION_DOWNLOAD"));
  const close = button(texts("IDS_STATION_CLOSE"));
  const setup = element("div", "station-setup");
  setup.append(
    cablesLabel,
    cableList,
    add,
    automaticLabel,
    verifyLabel,
    checkOnlyLabel,
    codeLabel,
    code,
  );
  const buttons = element("div", "buttons");
  buttons.append(start, stop, download, close);
  dialog.append(title, file, setup, rowsHeading, rows, logBox, buttons);
  document.body.append(dialog);

  const note = (line: string) => {
    log.append(element("li", "", line));
    logBox.hidden = false;
    logBox.scrollTop = logBox.scrollHeight;
  };
  const problem = (message: string) =>
    showMessageBox(texts("IDS_ERROR"), message, [{ text: texts.resource(1), value: 0 }], 0);
  const keepUnlogged = () => {
    const text = station.unloggedText();
    if (text) {
      localStorage.setItem(unloggedKey, text);
    } else {
      localStorage.removeItem(unloggedKey);
    }
  };
  const markWritten = (record: StationRecord) => {
    const message = station.markWritten(record);
    keepUnlogged();
    if (message) {
      void problem(message);
      stopWatching();
    }
  };

  const busy = () => cables.some((cable) => cable.run !== null || cable.automatic !== null);

  const showControls = () => {
    for (const control of [add, automatic, checkOnly, code, start]) {
      control.disabled = running;
    }
    // A check writes nothing, so there is nothing to read back.
    verify.disabled = running || checkOnly.checked;
    stop.disabled = !running;
    download.disabled = station.logFile().length === 0;
    for (const cable of cables) {
      cable.next.disabled =
        !running || automatic.checked || cable.run !== null || !station.running();
    }
  };

  const addCable = async () => {
    let port: NamedPort | null;
    try {
      port = await host.ports.another(host.useVirtualRadio());
    } catch (error) {
      await problem(`${texts("IDS_ERROR_PORTCONN")}\n${String(error)}`);
      return;
    }
    if (!port) {
      return;
    }
    const name = module.cableName(
      cables.length + 1,
      port.virtualRadio,
      port.usbVendor,
      port.usbProduct,
    );
    const row = makeRow(name, port);
    cables.push(row);
    cableList.append(element("li", "", name));
    showControls();
  };

  const makeRow = (name: string, port: NamedPort): CableRow => {
    const line = element("div", "station-row");
    const device = element("strong", "", name);
    const count = element("span", "count");
    const state = element("span", "state", texts("IDS_STATION_WAITING"));
    const result = element("span", "result");
    result.setAttribute("role", "status");
    result.setAttribute("aria-label", name);
    const next = button(texts("IDS_STATION_NEXT"));
    next.setAttribute("aria-label", `${texts("IDS_STATION_NEXT")} ${name}`);
    const what = element("div", "what");
    what.append(device, count, state);
    line.append(what, result, next);
    rows.append(line);
    const row: CableRow = {
      name,
      port,
      radios: 0,
      ok: 0,
      run: null,
      automatic: null,
      writing: false,
      count,
      state,
      result,
      next,
    };
    showCount(row);
    next.addEventListener("click", () => {
      const radio = nextRadio(row);
      radios.add(radio);
      void radio.finally(() => radios.delete(radio));
    });
    return row;
  };

  const showCount = (row: CableRow) => {
    row.count.textContent = fill(texts("IDS_STATION_COUNT"), row.radios, row.ok);
  };

  // While the next radio is written the last result would mislead.
  const clearResult = (row: CableRow) => {
    row.result.textContent = "";
    row.result.className = "result";
  };

  const nextRadio = async (row: CableRow) => {
    if (row.run || !station.running()) {
      return;
    }
    clearResult(row);
    row.run = module.runStationRadio(
      row.port.port,
      row.name,
      () => station.claim(row.name),
      markWritten,
      (line) => {
        row.state.textContent = line;
      },
    );
    showControls();
    let end: StationRadioEnd;
    try {
      end = await row.run.done;
    } catch (error) {
      end = { kind: "refused", message: String(error) };
    }
    row.run = null;
    await ended(row, end);
    row.state.textContent = texts(
      station.running() ? "IDS_STATION_WAITING" : "IDS_STATION_STOPPED",
    );
    showControls();
    if (!station.running()) {
      finishRun();
    }
  };

  const logRadio = (row: CableRow, record: StationRecord): StationLogged => {
    const logged = station.finish(record);
    keepUnlogged();
    row.radios += 1;
    row.ok += logged.ok ? 1 : 0;
    showCount(row);
    note(logged.words);
    row.result.textContent = logged.advice;
    row.result.className = `result ${logged.passed ? "ok" : "failed"}`;
    return logged;
  };

  const ended = async (row: CableRow, end: StationRadioEnd) => {
    switch (end.kind) {
      case "radio": {
        const logged = logRadio(row, end.record);
        if (logged.message) {
          await problem(logged.message);
        }
        return;
      }
      case "no-radio":
        note(fill(texts("IDS_STATION_NO_RADIO"), row.name));
        return;
      case "refused":
        if (end.message) {
          await problem(end.message);
        }
        return;
      case "cancelled":
        return;
    }
  };

  // Every cable stops watching once the station takes no more radios.
  const stopWatching = () => {
    if (!station.running()) {
      cables.forEach((cable) => cable.automatic?.stop());
    }
  };

  const runAutomatic = (row: CableRow) => {
    row.automatic = module.runAutomaticCable(row.port.port, row.name, {
      claim: () => {
        clearResult(row);
        const claimed = station.claim(row.name);
        row.writing = claimed.number !== 0;
        return claimed;
      },
      written: markWritten,
      done: (record) => {
        row.writing = false;
        const logged = logRadio(row, record);
        if (logged.message) {
          void problem(logged.message);
        }
        stopWatching();
        return station.running();
      },
      stillAnswering: (record) =>
        note(fill(texts("IDS_STATION_STILL_ANSWERING"), row.name, record.number)),
      onState: (line) => {
        row.state.textContent = line;
      },
    });
    const watched = row.automatic.done
      .catch((error: unknown) => ({ kind: "refused" as const, message: String(error) }))
      .then(async (end) => {
        row.automatic = null;
        station.stop();
        stopWatching();
        row.state.textContent = texts("IDS_STATION_STOPPED");
        if (end.kind === "refused" && end.message) {
          await problem(end.message);
        }
        showControls();
        finishRun();
      });
    radios.add(watched);
    void watched.finally(() => radios.delete(watched));
  };

  // Once every cable has ended its radio after Stop: the run's summary, as the desktop's.
  const finishRun = () => {
    if (!running || busy()) {
      return;
    }
    running = false;
    if (cables.length > 1) {
      cables.forEach((cable) => note(station.summary(cable.name)));
    }
    note(station.summary(""));
    for (const cable of cables) {
      cable.state.textContent = texts("IDS_STATION_STOPPED");
    }
    showControls();
  };

  const startRun = async () => {
    if (cables.length === 0) {
      await problem(texts("IDS_STATION_NO_CABLE"));
      return;
    }
    station.keepUnlogged(localStorage.getItem(unloggedKey) ?? "");
    const message = station.start(
      host.document(),
      verify.checked,
      checkOnly.checked,
      code.value.trim(),
    );
    if (message) {
      await problem(message);
      return;
    }
    keepUnlogged();
    station.unloggedWords().forEach(note);
    running = true;
    const document = host.document();
    if (!document.pathName() || document.isModified()) {
      note(module.stationFileText(document));
    }
    for (const cable of cables) {
      cable.state.textContent = texts("IDS_STATION_WAITING");
      if (automatic.checked) {
        runAutomatic(cable);
      }
    }
    showControls();
  };

  const stopRun = () => {
    station.stop();
    stopWatching();
    showControls();
    finishRun();
  };

  return new Promise<void>((resolve) => {
    const leave = async () => {
      const writing = cables.find((cable) => cable.run !== null || cable.writing);
      if (writing) {
        const stopNow = await showMessageBox(
          texts("IDS_CONFIRM"),
          fill(texts("IDS_STATION_CLOSE_WRITING"), writing.name),
          [
            { text: texts("IDS_YES"), value: true },
            { text: texts("IDS_NO"), value: false },
          ],
          false,
        );
        if (!stopNow) {
          return;
        }
        cables.forEach((cable) => {
          cable.run?.abandon();
          cable.automatic?.abandon();
        });
      }
      station.stop();
      stopWatching();
      await Promise.allSettled([...radios]);
      dialog.close();
      dialog.remove();
      station.delete();
      resolve();
    };
    add.addEventListener("click", () => void addCable());
    start.addEventListener("click", () => void startRun());
    stop.addEventListener("click", stopRun);
    download.addEventListener(
      "click",
      () => void writeFile({ name: logFileName, handle: null }, station.logFile()),
    );
    close.addEventListener("click", () => void leave());
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      void leave();
    });
    checkOnly.addEventListener("change", showControls);
    showControls();
    dialog.showModal();
    add.focus();
  });
}
