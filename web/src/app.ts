// SPDX-License-Identifier: GPL-3.0-or-later
// The page: a toolbar of the desktop's document and radio commands over the channel table,
// with the band selector, the backups of reads and a status line. The document, its rules and
// its texts are the core's; this file wires the controls to it.
import { keepBackup } from "./backup_store";
import { BackupList } from "./backup_list";
import { ChannelEditing } from "./channel_editing";
import { ChannelTable } from "./channel_table";
import { runConnectionCheck } from "./connection_check";
import { chooseSaveTarget, pickFile, readDropped, writeFile, type PickedFile } from "./file_access";
import { FileCommands, formatOf } from "./file_commands";
import { runFmPresetsDialog } from "./fm_presets_dialog";
import { showMessageBox } from "./message_box";
import { ReportPrinter } from "./print_report";
import { OptionPage } from "./option_pages";
import { PageTabs } from "./page_tabs";
import { hasWebSerial, RadioPorts, virtualRadioOptionsFrom } from "./radio_ports";
import { keepSettings } from "./settings_store";
import { runStationDialog } from "./station_dialog";
import { fill, keepLanguage, label, type LanguageChoice, type Texts } from "./texts";
import { runSettingsDialog } from "./settings_dialog";
import { runTransferDialog } from "./transfer_dialog";
import type { HalvexDocument, HalvexModule, TransferKind, TransferOutcome } from "./wasm/halvex";

// The <html lang> of the languages shipped, for screen readers' voices.
const languageTags: Record<string, string> = {
  "english.lang": "en",
  "chinese.lang": "zh-Hans",
  "chinese_traditional.lang": "zh-Hant",
  "french.lang": "fr",
  "german.lang": "de",
  "italian.lang": "it",
  "japanese.lang": "ja",
  "polish.lang": "pl",
  "portuguese_brazil.lang": "pt-BR",
  "russian.lang": "ru",
  "spanish.lang": "es",
};

interface Command {
  button: HTMLButtonElement;
  menuKey: string;
  // Ctrl+<key> on the page, when the browser leaves that key to pages.
  key?: string;
  run(): unknown;
  enabled(): boolean;
}

export class HalvexPage {
  private doc: HalvexDocument;
  private fileHandle: FileSystemFileHandle | null = null;
  // A Save whose bytes never reached the file leaves the work unsaved, whatever the
  // document's flag says after it.
  private saveFailed = false;
  private busy = false;
  private readonly ports: RadioPorts;
  private readonly table: ChannelTable;
  private readonly tabs: PageTabs;
  private readonly optionPages: OptionPage[];
  private readonly backups: BackupList;
  private readonly commands: Command[] = [];
  private readonly files: FileCommands;
  private readonly printer: ReportPrinter;
  // The user let the unsaved work go for a new version of the page.
  private leaving = false;
  // Called after every relabel, for what lives beside the page.
  onRelabel: () => void = () => {};
  private readonly editing: ChannelEditing;
  private readonly status = document.createElement("p");
  private readonly serialNote = document.createElement("p");
  private readonly bandSelect = document.createElement("select");
  private readonly virtualToggle = document.createElement("input");
  private readonly cableSelect = document.createElement("select");
  private readonly verifyToggle = document.createElement("input");
  private readonly languageSelect = document.createElement("select");
  private readonly root: HTMLElement;
  private language: string;

  constructor(
    private readonly module: HalvexModule,
    private readonly texts: Texts,
    firstLanguage: LanguageChoice,
    virtualOptions: URLSearchParams,
    root: HTMLElement,
  ) {
    this.root = root;
    this.language = firstLanguage.fileName;
    this.languageSelect.append(new Option(firstLanguage.name, firstLanguage.fileName));
    this.doc = module.newDocument();
    this.ports = new RadioPorts(module, virtualRadioOptionsFrom(virtualOptions));
    this.virtualToggle.checked = virtualOptions.get("radio") === "virtual" || !hasWebSerial();
    const editorHost = {
      module,
      document: () => this.doc,
      committed: (note: string) => {
        this.showStatus(note);
        this.updateCommands();
      },
    };
    this.table = new ChannelTable(editorHost);
    this.tabs = new PageTabs(texts);
    this.optionPages = [new OptionPage(editorHost, "function"), new OptionPage(editorHost, "vfo")];
    this.backups = new BackupList(texts, (backup) => void this.openBytes(backup));
    this.files = new FileCommands({
      texts,
      document: () => this.doc,
      imported: () => {
        this.showStatus("");
        this.refreshDocument();
      },
      showStatus: (text) => this.showStatus(text),
      showError: (text) => this.showError(text),
    });
    this.printer = new ReportPrinter(module, () => this.doc);
    this.editing = new ChannelEditing({
      module,
      texts,
      table: this.table.element,
      transfers: {
        module,
        texts,
        ports: this.ports,
        useVirtualRadio: () => this.virtualToggle.checked,
      },
      document: () => this.doc,
      canTransfer: () => this.canTransfer(),
      guarded: (run) => this.guarded(run),
      edited: (note) => {
        this.table.refreshAll();
        this.showStatus(note);
        this.updateCommands();
      },
    });
    this.build();
    this.relabel();
    window.addEventListener("keydown", (event) => this.onShortcut(event));
    window.addEventListener("beforeunload", (event) => {
      if (!this.leaving && this.hasUnsavedWork()) {
        event.preventDefault();
      }
    });
    this.acceptDrops();
  }

  private build(): void {
    const toolbar = document.createElement("div");
    toolbar.className = "toolbar";
    toolbar.setAttribute("role", "toolbar");
    const group = (...elements: HTMLElement[]) => {
      const part = document.createElement("div");
      part.className = "group";
      part.append(...elements);
      toolbar.append(part);
    };
    const command = (menuKey: string, run: () => unknown, enabled: () => boolean, key?: string) => {
      const button = document.createElement("button");
      button.type = "button";
      button.addEventListener("click", () => void this.guarded(run));
      if (key) {
        button.setAttribute("aria-keyshortcuts", `Control+${key.toUpperCase()}`);
      }
      this.commands.push({ button, menuKey, key, run, enabled });
      return button;
    };
    group(
      command(
        "Menu_File_New",
        () => this.newDocument(),
        () => true,
      ),
      command(
        "Menu_File_Open",
        () => this.open(),
        () => true,
        "o",
      ),
      command(
        "Menu_File_Save",
        () => this.save(),
        () => true,
        "s",
      ),
      command(
        "Menu_File_Print",
        () => this.printer.print(),
        () => true,
        "p",
      ),
    );
    group(
      command(
        "Menu_File_Import_Channels",
        () => this.files.pick("csv"),
        () => true,
      ),
      command(
        "Menu_File_Export_Channels",
        () => this.files.exportChannels(),
        () => this.doc.canExportChannels(),
      ),
      command(
        "Menu_File_Import_Config",
        () => this.files.pick("yaml"),
        () => true,
      ),
      command(
        "Menu_File_Export_Config",
        () => this.files.exportText(),
        () => true,
      ),
    );
    group(
      command(
        "Menu_Edit_Undo",
        () => this.undo(),
        () => this.doc.canUndo(),
        "z",
      ),
      command(
        "Menu_Edit_Redo",
        () => this.redo(),
        () => this.doc.canRedo(),
        "y",
      ),
    );
    toolbar.append(this.editing.toolbar);
    const virtualLabel = document.createElement("label");
    this.virtualToggle.type = "checkbox";
    this.virtualToggle.addEventListener("change", () => this.updateCommands());
    virtualLabel.append(this.virtualToggle, document.createElement("span"));
    group(
      command(
        "Menu_Program_ReadData",
        () => this.transfer("read"),
        () => this.canTransfer(),
        "r",
      ),
      command(
        "Menu_Program_WriteData",
        () => this.transfer("write"),
        () => this.canTransfer(),
      ),
      this.editing.compareButton,
      command(
        "Menu_Program_CheckConnection",
        () => runConnectionCheck(this.linkHost()),
        () => this.canTransfer(),
      ),
      command(
        "Menu_Program_Station",
        () => runStationDialog({ ...this.linkHost(), document: () => this.doc }),
        () => this.canTransfer(),
      ),
      virtualLabel,
    );
    group(
      command(
        "Menu_Program_Radiogram",
        () => this.editFmPresets(),
        () => true,
      ),
      command(
        "Menu_Setting",
        () => this.editSettings(),
        () => true,
      ),
    );
    this.cableSelect.addEventListener("change", () => this.changeCable());
    this.languageSelect.id = "language";
    this.cableSelect.id = "cable-type";
    this.languageSelect.addEventListener("change", () => this.changeLanguage());
    const verifyLabel = document.createElement("label");
    this.verifyToggle.type = "checkbox";
    this.verifyToggle.addEventListener("change", () => this.changeVerify());
    verifyLabel.append(this.verifyToggle, document.createElement("span"));
    group(this.cableSelect, verifyLabel, this.languageSelect);

    const heading = document.createElement("h1");
    this.serialNote.className = "note";
    this.serialNote.hidden = hasWebSerial();

    const band = document.createElement("div");
    band.className = "band";
    const modelCaption = document.createElement("span");
    const model = document.createElement("strong");
    const bandLabel = document.createElement("label");
    bandLabel.htmlFor = "band";
    this.bandSelect.id = "band";
    this.bandSelect.addEventListener("change", () => {
      if (this.busy) {
        this.bandSelect.selectedIndex = this.doc.bandIndex();
        return;
      }
      void this.guarded(() => this.changeBand());
    });
    band.append(modelCaption, model, bandLabel, this.bandSelect);

    const tableBox = document.createElement("div");
    tableBox.className = "table-box";
    tableBox.append(this.table.element);

    this.status.className = "status";
    this.status.setAttribute("role", "status");

    const header = document.createElement("header");
    header.append(heading, toolbar, this.serialNote);
    const channelPage = document.createElement("div");
    channelPage.className = "channel-page";
    channelPage.append(band, tableBox);
    this.tabs.add("IDS_CHANNEL", channelPage);
    this.tabs.add("IDS_FUNCTION", this.optionPages[0].element);
    this.tabs.add("IDS_VFOFREQ", this.optionPages[1].element);
    const main = document.createElement("main");
    main.append(this.tabs.element);
    this.root.replaceChildren(header, main, this.backups.element, this.status);
    this.editing.attach();
  }

  // Every text of the page in the current language.
  private relabel(): void {
    const { texts } = this;
    document.documentElement.lang = languageTags[this.language] ?? "en";
    this.root.querySelector("h1")!.textContent = texts("IDS_WINDOWNAME");
    for (const command of this.commands) {
      command.button.textContent = label(texts(command.menuKey));
    }
    this.virtualToggle.nextElementSibling!.textContent = texts("IDS_WEB_VIRTUAL_RADIO");
    this.serialNote.textContent = texts("IDS_WEB_NO_SERIAL");
    this.cableSelect.setAttribute("aria-label", texts("IDS_WEB_CABLE"));
    this.cableSelect.replaceChildren(
      new Option(label(texts("Menu_Setting_Cable_Direct")), "1"),
      new Option(label(texts("Menu_Setting_Cable_Echo")), "2"),
    );
    this.cableSelect.value = String(this.module.cableType());
    this.verifyToggle.nextElementSibling!.textContent = texts.resource(1160);
    this.verifyToggle.checked = this.module.verifyAfterWrite();
    this.languageSelect.setAttribute("aria-label", texts("IDS_WEB_LANGUAGE"));
    this.languageSelect.value = this.language;
    const band = this.root.querySelector(".band")!;
    band.children[0].textContent = texts.resource(1018);
    band.children[1].textContent = texts.resource(1019);
    band.children[2].textContent = texts.resource(1020);
    this.table.element.setAttribute("aria-label", texts("IDS_CHANNEL"));
    this.editing.relabel();
    this.backups.relabel();
    this.tabs.relabel();
    for (const page of this.optionPages) {
      page.rebuild();
    }
    this.refreshDocument();
    this.onRelabel();
  }

  // After anything that replaced the document's contents or its words.
  private refreshDocument(): void {
    this.bandSelect.replaceChildren(...this.module.bandNames().map((name) => new Option(name)));
    this.bandSelect.selectedIndex = this.doc.bandIndex();
    this.table.rebuild();
    this.refreshPages();
    this.updateCommands();
  }

  private refreshPages(): void {
    for (const page of this.optionPages) {
      page.refresh();
    }
  }

  private updateCommands(): void {
    for (const command of this.commands) {
      command.button.disabled = this.busy || !command.enabled();
    }
    this.editing.update(this.busy);
    const undo = this.commands.find((command) => command.menuKey === "Menu_Edit_Undo")!;
    const redo = this.commands.find((command) => command.menuKey === "Menu_Edit_Redo")!;
    undo.button.title = this.doc.canUndo()
      ? label(fill(this.texts("IDS_UNDO_STEP"), this.doc.undoName()))
      : "";
    redo.button.title = this.doc.canRedo()
      ? label(fill(this.texts("IDS_REDO_STEP"), this.doc.redoName()))
      : "";
    const name = this.doc.pathName() || this.texts("IDS_UNTITLED");
    const modified = this.hasUnsavedWork() ? " *" : "";
    document.title = `${name}${modified} - ${this.texts("IDS_WINDOWNAME")}`;
  }

  private showStatus(text: string): void {
    this.status.textContent = text;
  }

  private hasUnsavedWork(): boolean {
    return this.doc.isModified() || this.saveFailed;
  }

  private canTransfer(): boolean {
    return this.virtualToggle.checked || hasWebSerial();
  }

  // One command at a time: a second click while a dialog is up does nothing.
  private async guarded(run: () => unknown): Promise<void> {
    if (this.busy) {
      return;
    }
    this.busy = true;
    this.updateCommands();
    try {
      await run();
    } catch (error) {
      await this.showError(String(error));
    } finally {
      this.busy = false;
      this.updateCommands();
    }
  }

  private onShortcut(event: KeyboardEvent): void {
    if (!event.ctrlKey || event.altKey || event.metaKey || document.querySelector("dialog[open]")) {
      return;
    }
    const command = this.commands.find((entry) => entry.key === event.key.toLowerCase());
    if (!command || !command.enabled()) {
      return;
    }
    // Ctrl+Z and Ctrl+Y while a cell is being typed in undo the typing, as in any text box.
    const typing = this.table.isTyping() || this.optionPages.some((page) => page.isTyping());
    if ((command.key === "z" || command.key === "y") && typing) {
      return;
    }
    event.preventDefault();
    (document.activeElement as HTMLElement | null)?.blur?.();
    void this.guarded(command.run);
  }

  private showError(message: string): Promise<number> {
    return showMessageBox(
      this.texts("IDS_ERROR"),
      message,
      [{ text: this.texts.resource(1), value: 0 }],
      0,
    );
  }

  // Before the page makes way for a new version: the desktop's question for unsaved work.
  async releaseDocument(): Promise<boolean> {
    if (this.busy) {
      return false;
    }
    this.leaving = await this.saveModified();
    return this.leaving;
  }

  // The desktop's question before unsaved work is replaced; false when the user keeps it.
  private async saveModified(): Promise<boolean> {
    if (!this.hasUnsavedWork()) {
      return true;
    }
    const name = this.doc.pathName() || this.texts("IDS_UNTITLED");
    const answer = await showMessageBox(
      this.texts("IDS_CONFIRM"),
      fill(this.texts("IDS_ASK_SAVE"), name),
      [
        { text: this.texts("IDS_YES"), value: "yes" },
        { text: this.texts("IDS_NO"), value: "no" },
        { text: this.texts.resource(2), value: "cancel" },
      ],
      "cancel",
    );
    if (answer === "cancel") {
      return false;
    }
    return answer === "no" || (await this.save());
  }

  private async newDocument(): Promise<void> {
    if (!(await this.saveModified())) {
      return;
    }
    this.doc.newDocument();
    this.editing.forget();
    this.fileHandle = null;
    this.saveFailed = false;
    this.showStatus("");
    this.refreshDocument();
  }

  private async open(): Promise<void> {
    if (!(await this.saveModified())) {
      return;
    }
    const picked = await pickFile();
    if (picked) {
      await this.openPicked(picked);
    }
  }

  private async openPicked(picked: PickedFile): Promise<void> {
    const result = this.doc.open(picked.bytes, picked.name);
    if (!result.ok) {
      await this.showError(result.message);
      return;
    }
    this.fileHandle = picked.handle;
    this.editing.forget();
    this.saveFailed = false;
    this.showStatus("");
    this.refreshDocument();
  }

  private async openBytes(picked: PickedFile): Promise<void> {
    await this.guarded(async () => {
      if (await this.saveModified()) {
        await this.openPicked(picked);
      }
    });
  }

  // File > Save: into the opened file where the browser allows it, else a place the user
  // picks, else a download. True when the bytes reached the file.
  private async save(): Promise<boolean> {
    const suggested = this.doc.pathName() || `${this.texts("IDS_UNTITLED")}.pgm`;
    const target = this.fileHandle
      ? { name: this.fileHandle.name, handle: this.fileHandle }
      : await chooseSaveTarget(suggested);
    if (!target) {
      return false;
    }
    if (this.fileHandle) {
      const overwrite = await showMessageBox(
        this.texts("IDS_CONFIRM"),
        `${this.texts("IDS_WARN_SAVE")}${target.name}`,
        [
          { text: this.texts.resource(1), value: true },
          { text: this.texts.resource(2), value: false },
        ],
        false,
        true,
      );
      if (!overwrite) {
        return false;
      }
    }
    const result = this.doc.save(target.name);
    if (!result.ok) {
      await this.showError(result.message);
      return false;
    }
    try {
      await writeFile(target, result.bytes);
    } catch (error) {
      this.saveFailed = true;
      await this.showError(`${target.name}: ${String(error)}`);
      return false;
    }
    this.fileHandle = target.handle;
    this.saveFailed = false;
    this.table.refreshAll();
    return true;
  }

  private undo(): void {
    this.doc.undo();
    this.table.refreshAll();
    this.refreshPages();
    this.bandSelect.selectedIndex = this.doc.bandIndex();
  }

  private redo(): void {
    this.doc.redo();
    this.table.refreshAll();
    this.refreshPages();
    this.bandSelect.selectedIndex = this.doc.bandIndex();
  }

  private async changeBand(): Promise<void> {
    const chosen = this.bandSelect.selectedIndex;
    if (chosen === this.doc.bandIndex()) {
      return;
    }
    const answer = await showMessageBox(
      this.texts("IDS_CONFIRM"),
      this.texts("IDS_CONFIRM_FREQ"),
      [
        { text: this.texts.resource(1), value: true },
        { text: this.texts.resource(2), value: false },
      ],
      false,
    );
    if (answer) {
      this.doc.setBand(chosen);
      this.table.refreshAll();
    }
    this.bandSelect.selectedIndex = this.doc.bandIndex();
    this.bandSelect.focus();
  }

  private async transfer(kind: TransferKind): Promise<void> {
    if (kind === "write" && this.doc.wouldEraseRadio()) {
      const writeAnyway = await showMessageBox(
        this.texts("IDS_CONFIRM"),
        this.texts("IDS_WARN_ERASE"),
        [
          { text: this.texts("IDS_YES"), value: true },
          { text: this.texts("IDS_NO"), value: false },
        ],
        false,
      );
      if (!writeAnyway) {
        return;
      }
    }
    await runTransferDialog(
      {
        module: this.module,
        texts: this.texts,
        ports: this.ports,
        document: () => this.doc,
        useVirtualRadio: () => this.virtualToggle.checked,
        finished: (done, outcome) => void this.transferFinished(done, outcome),
      },
      kind,
    );
  }

  // What Check Connection and the station take of the page.
  private linkHost() {
    return {
      module: this.module,
      texts: this.texts,
      ports: this.ports,
      useVirtualRadio: () => this.virtualToggle.checked,
      cableSwitched: () => {
        this.cableSelect.value = String(this.module.cableType());
        keepSettings(this.module.settingsText());
      },
    };
  }

  private async transferFinished(kind: TransferKind, outcome: TransferOutcome): Promise<void> {
    this.showStatus(outcome.message);
    if (kind === "write") {
      return;
    }
    this.fileHandle = null;
    this.editing.forget();
    this.refreshDocument();
    try {
      await keepBackup(this.doc.backupFile(), Date.now());
      await this.backups.refresh();
    } catch (error) {
      await this.showError(`${this.texts("IDS_WARN_BACKUP")}${String(error)}`);
    }
  }

  private async editFmPresets(): Promise<void> {
    await runFmPresetsDialog(this.module, this.texts, this.doc);
    this.updateCommands();
  }

  // The toolbar's switches and the band names follow what the dialog kept.
  private async editSettings(): Promise<void> {
    if (await runSettingsDialog(this.module, this.texts)) {
      this.relabel();
    }
  }

  private changeCable(): void {
    const message = this.module.setCableType(Number(this.cableSelect.value));
    if (message) {
      this.cableSelect.value = String(this.module.cableType());
      void this.showError(message);
      return;
    }
    keepSettings(this.module.settingsText());
  }

  // A language file loaded after the page opened, in the order the site lists them.
  addLanguage(language: LanguageChoice): void {
    this.languageSelect.append(new Option(language.name, language.fileName));
  }

  // A problem found after the page opened (a language file, the kept settings).
  report(message: string): void {
    this.showStatus(message);
  }

  private changeVerify(): void {
    const message = this.module.setVerifyAfterWrite(this.verifyToggle.checked);
    if (message) {
      this.verifyToggle.checked = this.module.verifyAfterWrite();
      void this.showError(message);
      return;
    }
    keepSettings(this.module.settingsText());
  }

  private changeLanguage(): void {
    const chosen = this.languageSelect.value;
    const message = this.module.useLanguage(chosen);
    if (message) {
      this.languageSelect.value = this.language;
      void this.showError(message);
      return;
    }
    this.language = chosen;
    keepLanguage(chosen);
    this.showStatus("");
    this.relabel();
    this.languageSelect.focus();
  }

  private acceptDrops(): void {
    document.addEventListener("dragover", (event) => {
      if (event.dataTransfer?.types.includes("Files")) {
        event.preventDefault();
        event.dataTransfer.dropEffect = "copy";
      }
    });
    document.addEventListener("drop", (event) => {
      const file = event.dataTransfer?.files[0];
      if (!file) {
        return;
      }
      event.preventDefault();
      void readDropped(file).then((picked) =>
        formatOf(picked.name) === "pgm"
          ? this.openBytes(picked)
          : this.guarded(() => this.files.importFile(picked)),
      );
    });
  }
}
