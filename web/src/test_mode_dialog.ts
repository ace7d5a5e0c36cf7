// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Test Mode: the access dialog, the port (the browser asks only on a click), then the
// desktop's test dialog over the core's session: the item list, the value and its bar, start
// test mode, write all, read all, open and save data, the progress and Cancel. While an exchange
// runs only Cancel works; every change the session reports becomes one undo step.
import { showMessageBox } from "./message_box";
import "./test_mode.css";
import type { NamedPort, RadioPorts } from "./radio_ports";
import { label, type Texts } from "./texts";
import type { HalvexDocument, HalvexModule } from "./wasm/halvex";
import type {
  TestExchange,
  TestModeBox,
  TestModeChange,
  TestModeSession,
  TestModeView,
  TestScroll,
} from "./wasm/test_mode";

export interface TestModeHost {
  module: HalvexModule;
  texts: Texts;
  ports: RadioPorts;
  useVirtualRadio(): boolean;
  document(): HalvexDocument;
  // The page's Open and Save; Open data refills from the document the first left open.
  openFile(): Promise<void>;
  saveFile(): Promise<unknown>;
  // The desktop's question for unsaved work; false keeps everything as it is.
  saveModified(): Promise<boolean>;
  // The document changed outside the table: views follow, the status names the step.
  documentChanged(stepName: string): void;
}

// The desktop template's controls, by their resource ids.
const ACCESS_TITLE = 134;
const ACCESS_PROMPT = 1062;
const TEST_TITLE = 156;
const START_TEST_MODE = 1138;
const WRITE_ALL = 1139;
const ITEM_LIST = 1150;
const VALUE_EDIT = 1151;
const VALUE_BAR = 1152;
const READ_ALL = 1153;
const OPEN_DATA = 1154;
const SAVE_DATA = 1155;
const PROGRESS = 1156;
const OK = 1;
const CANCEL = 2;
const VISIBLE_ITEMS = 16;

function okBox(texts: Texts, box: TestModeBox): Promise<boolean> {
  return showMessageBox(box.caption, box.text, [{ text: texts.resource(OK), value: true }], true);
}

function button(text: string): HTMLButtonElement {
  const element = document.createElement("button");
  element.type = "button";
  element.textContent = label(text);
  return element;
}

// Resolves true once the access code was entered, false on Cancel.
function askAccessCode(host: TestModeHost): Promise<boolean> {
  const { module, texts } = host;
  const dialog = document.createElement("dialog");
  dialog.className = "access-code";
  const title = document.createElement("h2");
  title.id = "access-code-title";
  title.textContent = texts.resource(ACCESS_TITLE);
  dialog.setAttribute("aria-labelledby", title.id);
  const form = document.createElement("form");
  form.method = "dialog";
  const prompt = document.createElement("label");
  prompt.htmlFor = "access-code";
  prompt.textContent = texts.resource(ACCESS_PROMPT);
  const code = document.createElement("input");
  code.type = "password";
  code.id = "access-code";
  code.autocomplete = "off";
  const ok = button(texts.resource(OK));
  ok.type = "submit";
  const cancel = button(texts.resource(CANCEL));
  const buttons = document.createElement("div");
  buttons.className = "buttons";
  buttons.append(ok, cancel);
  form.append(prompt, code, buttons);
  dialog.append(title, form);
  document.body.append(dialog);
  return new Promise<boolean>((resolve) => {
    const finish = (entered: boolean) => {
      dialog.close();
      dialog.remove();
      resolve(entered);
    };
    form.addEventListener("submit", (event) => {
      event.preventDefault();
      const refusal = module.testModeRefusal(code.value);
      if (!refusal.text) {
        finish(true);
        return;
      }
      // A wrong code keeps the dialog open for another try.
      void okBox(texts, refusal).then(() => {
        code.select();
        code.focus();
      });
    });
    cancel.addEventListener("click", () => finish(false));
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish(false);
    });
    dialog.showModal();
    code.focus();
  });
}

// The keys that move a scroll bar; letting go of one ends the scroll, as on the desktop.
const SCROLL_KEYS: Record<string, TestScroll | null> = {
  ArrowLeft: "left",
  ArrowUp: "left",
  ArrowRight: "right",
  ArrowDown: "right",
  PageUp: null,
  PageDown: null,
  Home: null,
  End: null,
};

class TestDialog {
  private readonly dialog = document.createElement("dialog");
  private readonly items = document.createElement("select");
  private readonly value = document.createElement("input");
  private readonly bar = document.createElement("input");
  private readonly progress = document.createElement("progress");
  private readonly cancelButton: HTMLButtonElement;
  private readonly blocked: (HTMLInputElement | HTMLSelectElement | HTMLButtonElement)[];
  private running = false;
  private finish: () => void = () => undefined;

  constructor(
    private readonly host: TestModeHost,
    private readonly session: TestModeSession,
  ) {
    const { module, texts } = host;
    this.dialog.className = "test-mode";
    const title = document.createElement("h2");
    title.id = "test-mode-title";
    title.textContent = texts.resource(TEST_TITLE);
    this.dialog.setAttribute("aria-labelledby", title.id);
    this.items.size = VISIBLE_ITEMS;
    this.items.id = "test-items";
    this.items.setAttribute("aria-label", module.accessibleName(ITEM_LIST));
    this.value.readOnly = true;
    this.value.id = "test-value";
    this.value.setAttribute("aria-label", module.accessibleName(VALUE_EDIT));
    this.bar.type = "range";
    this.bar.min = "0";
    this.bar.max = "255";
    this.bar.id = "test-bar";
    this.bar.setAttribute("aria-label", module.accessibleName(VALUE_BAR));
    this.progress.max = 100;
    this.progress.value = 0;
    this.progress.setAttribute("aria-label", module.accessibleName(PROGRESS));
    const start = button(texts.resource(START_TEST_MODE));
    const writeAll = button(texts.resource(WRITE_ALL));
    const readAll = button(texts.resource(READ_ALL));
    const openData = button(texts.resource(OPEN_DATA));
    const saveData = button(texts.resource(SAVE_DATA));
    this.cancelButton = button(texts.resource(CANCEL));
    this.blocked = [this.items, this.bar, start, writeAll, readAll, openData, saveData];

    const side = document.createElement("div");
    side.className = "test-controls";
    side.append(this.value, this.bar, start, writeAll, readAll, openData, saveData);
    side.append(this.progress, this.cancelButton);
    const body = document.createElement("div");
    body.className = "test-body";
    body.append(this.items, side);
    this.dialog.append(title, body);

    this.items.addEventListener("change", () => this.reported(() => this.selected()));
    this.bar.addEventListener("keydown", (event) => this.barKey(event));
    this.bar.addEventListener("keyup", (event) => {
      if (event.key in SCROLL_KEYS) {
        this.reported(() => this.scroll("end"));
      }
    });
    this.bar.addEventListener("input", () => this.reported(() => this.scroll("track")));
    this.bar.addEventListener("change", () => this.reported(() => this.scroll("end")));
    // The wheel has no end: a value it set would never be stored or sent.
    this.bar.addEventListener("wheel", (event) => event.preventDefault(), { passive: false });
    start.addEventListener("click", () => this.reported(() => this.exchange("start")));
    writeAll.addEventListener("click", () => this.reported(() => this.exchange("write")));
    readAll.addEventListener("click", () => this.reported(() => this.readAll()));
    openData.addEventListener("click", () => this.reported(() => this.openData()));
    saveData.addEventListener("click", () =>
      this.reported(() => this.blockedWhile(() => host.saveFile())),
    );
    this.cancelButton.addEventListener("click", () => this.cancel());
    this.dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      this.cancel();
    });
    this.dialog.addEventListener("keydown", (event) => {
      // A stray Enter must not stop a transfer halfway: only Cancel does.
      if (event.key === "Enter" && !(event.target instanceof HTMLButtonElement)) {
        event.preventDefault();
        if (!this.running) {
          this.finish();
        }
      }
    });
  }

  async run(): Promise<void> {
    document.body.append(this.dialog);
    this.dialog.showModal();
    this.show(await this.session.view());
    this.items.focus();
    await new Promise<void>((resolve) => {
      this.finish = resolve;
    });
    this.dialog.close();
    this.dialog.remove();
  }

  private show(view: TestModeView): void {
    const lines = view.lines.map((line) => new Option(line));
    this.items.replaceChildren(...lines);
    this.items.selectedIndex = view.selected;
    this.showPosition(view);
  }

  private showPosition(view: TestModeView): void {
    this.bar.value = String(view.position);
    this.value.value = String(view.position);
  }

  private async selected(): Promise<void> {
    if (this.items.selectedIndex >= 0 && !this.running) {
      this.showPosition(await this.session.select(this.items.selectedIndex));
    }
  }

  private barKey(event: KeyboardEvent): void {
    if (!(event.key in SCROLL_KEYS)) {
      return;
    }
    // The core wraps at both ends; the other keys of a bar do not move this one.
    event.preventDefault();
    const code = SCROLL_KEYS[event.key];
    if (code) {
      this.reported(() => this.scroll(code));
    }
  }

  private async scroll(code: TestScroll): Promise<void> {
    if (this.running) {
      return;
    }
    const scrolled = await this.session.scroll(code, Number(this.bar.value));
    if (code === "end") {
      this.show(scrolled.view);
    } else {
      this.showPosition(scrolled.view);
    }
    await this.take(scrolled.change);
  }

  private async take(change: TestModeChange | null): Promise<void> {
    if (!change) {
      return;
    }
    const { module, host } = this;
    const image = await this.session.image();
    host.documentChanged(module.takeTestModeImage(host.document(), image, change));
  }

  private async readAll(): Promise<void> {
    // Read all replaces the whole document, channels included, as Read from Radio does.
    if (await this.host.saveModified()) {
      await this.exchange("read");
    }
  }

  private get module(): HalvexModule {
    return this.host.module;
  }

  // A step that failed (the exchange's instance stopped, say) is told, and leaves the dialog
  // usable rather than blocked.
  private reported(step: () => Promise<void>): void {
    step().catch((error: unknown) => {
      this.block(false);
      const { texts } = this.host;
      void okBox(texts, { caption: texts("IDS_ERROR"), text: String(error), stopIcon: true });
    });
  }

  private async exchange(kind: TestExchange): Promise<void> {
    if (this.running) {
      return;
    }
    const { texts } = this.host;
    this.progress.value = 0;
    this.block(true);
    const ending = await this.session.exchange(kind, (percent) => {
      this.progress.value = percent;
    });
    await this.take(ending.change);
    this.block(false);
    if (ending.readStopped) {
      // A stopped Read all keeps nothing it read; the bar must not stay as if it were paused.
      this.progress.value = 0;
      await okBox(texts, {
        caption: texts("IDS_PROMPT"),
        text: ending.readStopped,
        stopIcon: false,
      });
    }
    if (ending.warning) {
      await okBox(texts, { caption: texts("IDS_ERROR"), text: ending.warning, stopIcon: false });
    }
    if (ending.box.text) {
      await okBox(texts, ending.box);
    }
    this.show(ending.view);
  }

  private async openData(): Promise<void> {
    await this.blockedWhile(() => this.host.openFile());
    this.show(await this.session.useImage(this.host.document().imageBytes()));
  }

  private async blockedWhile(run: () => Promise<unknown>): Promise<void> {
    this.block(true);
    try {
      await run();
    } finally {
      this.block(false);
    }
  }

  private block(running: boolean): void {
    this.running = running;
    for (const control of this.blocked) {
      control.disabled = running;
    }
    this.cancelButton.disabled = false;
  }

  private cancel(): void {
    if (!this.running) {
      this.finish();
      return;
    }
    this.session.cancel();
    this.cancelButton.disabled = true;
  }
}

export async function runTestModeCommand(host: TestModeHost): Promise<void> {
  const { module, texts } = host;
  if (!(await askAccessCode(host))) {
    return;
  }
  let port: NamedPort | null;
  try {
    port = await host.ports.chooseNamed(host.useVirtualRadio());
  } catch (error) {
    await okBox(texts, { caption: texts("IDS_ERROR"), text: String(error), stopIcon: true });
    return;
  }
  if (!port) {
    const finding = module.noPortFinding();
    await okBox(texts, { caption: texts("IDS_ERROR"), text: finding.text, stopIcon: true });
    return;
  }
  const name = module.cableName(1, port.virtualRadio, port.usbVendor, port.usbProduct);
  await module.runTestMode(port.port, name, host.document(), (session) =>
    new TestDialog(host, session).run(),
  );
}
