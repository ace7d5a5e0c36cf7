// SPDX-License-Identifier: GPL-3.0-or-later
// The page: a toolbar of the desktop's document and radio commands over the channel table,
// with the band selector, the backups of reads and a status line. The document, its rules and
// its texts are the core's; this file wires the controls to it.
import { keepBackup } from "./backup_store";
import { BackupList } from "./backup_list";
import { ChannelEditing } from "./channel_editing";
import { ChannelTable } from "./channel_table";
import { DocumentFile } from "./document_file";
import { CommandBar } from "./command_bar";
import { runConnectionCheck } from "./connection_check";
import { pickFile, readDropped, type PickedFile } from "./file_access";
import { FileCommands, formatOf } from "./file_commands";
import { runFmPresetsDialog } from "./fm_presets_dialog";
import { showMessageBox } from "./message_box";
import { ReportPrinter } from "./print_report";
import { OptionPage } from "./option_pages";
import { PageTabs } from "./page_tabs";
import { hasWebSerial, RadioPorts, virtualRadioOptionsFrom } from "./radio_ports";
import { keepSettings } from "./settings_store";
import { runStationDialog } from "./station_dialog";
import { runTestModeCommand } from "./test_mode_dialog";
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

export class HalvexPage {
  private doc: HalvexDocument;
  private readonly file: DocumentFile;
  private busy = false;
  private readonly ports: RadioPorts;
  private readonly table: ChannelTable;
  private readonly tabs: PageTabs;
  private readonly optionPages: OptionPage[];
  private readonly backups: BackupList;
  private readonly bar: CommandBar;
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
    this.bar = new CommandBar(texts, (run) => this.guarded(run));
    this.file = new DocumentFile({
      texts,
      document: () => this.doc,
      showError: (message) => this.showError(message),
      saved: () => this.table.refreshAll(),
    });
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
      if (!this.leaving && this.file.hasUnsavedWork()) {
        event.preventDefault();
      }
    });
    this.acceptDrops();
  }

  private build(): void {
    const bar = this.bar;
    const toolbar = bar.element;
    bar.group(
      bar.command("Menu_File_New", { run: () => this.newDocument() }),
      bar.command("Menu_File_Open", { run: () => this.open(), key: "o" }),
      bar.command("Menu_File_Save", { run: () => this.file.save(), key: "s" }),
      bar.command("Menu_File_Print", { run: () => this.printer.print(), key: "p" }),
    );
    bar.group(
      bar.command("Menu_File_Import_Channels", { run: () => this.files.pick("csv") }),
      bar.command("Menu_File_Export_Channels", {
        run: () => this.files.exportChannels(),
        enabled: () => this.doc.canExportChannels(),
      }),
      bar.command("Menu_File_Import_Config", { run: () => this.files.pick("yaml") }),
      bar.command("Menu_File_Export_Config", { run: () => this.files.exportText() }),
    );
    bar.group(
      bar.command("Menu_Edit_Undo", {
        run: () => this.undo(),
        enabled: () => this.doc.canUndo(),
        key: "z",
      }),
      bar.command("Menu_Edit_Redo", {
        run: () => this.redo(),
        enabled: () => this.doc.canRedo(),
        key: "y",
      }),
    );
    toolbar.append(this.editing.toolbar);
    const virtualLabel = document.createElement("label");
    this.virtualToggle.type = "checkbox";
    this.virtualToggle.addEventListener("change", () => this.updateCommands());
    virtualLabel.append(this.virtualToggle, document.createElement("span"));
    const transfers = () => this.canTransfer();
    bar.group(
      bar.command("Menu_Program_ReadData", {
        run: () => this.transfer("read"),
        enabled: transfers,
        key: "r",
      }),
      bar.command("Menu_Program_WriteData", {
        run: () => this.transfer("write"),
        enabled: transfers,
      }),
      this.editing.compareButton,
      bar.command("Menu_Program_CheckConnection", {
        run: () => runConnectionCheck(this.linkHost()),
        enabled: transfers,
      }),
      bar.command("Menu_Program_Station", {
        run: () => runStationDialog({ ...this.linkHost(), document: () => this.doc }),
        enabled: transfers,
      }),
      bar.command("Menu_Program_TestMode", {
        run: () =>
          runTestModeCommand({
            ...this.linkHost(),
            document: () => this.doc,
            openFile: () => this.open(),
            saveFile: () => this.file.save(),
            saveModified: () => this.file.saveModified(),
            documentChanged: (stepName) => {
              this.refreshDocument();
              this.showStatus(stepName);
            },
          }),
        enabled: transfers,
      }),
      virtualLabel,
    );
    bar.group(
      bar.command("Menu_Program_Radiogram", { run: () => this.editFmPresets() }),
      bar.command("Menu_Setting", { run: () => this.editSettings() }),
    );
    this.cableSelect.addEventListener("change", () => this.changeCable());
    this.languageSelect.id = "language";
    this.cableSelect.id = "cable-type";
    this.languageSelect.addEventListener("change", () => this.changeLanguage());
    const verifyLabel = document.createElement("label");
    this.verifyToggle.type = "checkbox";
    this.verifyToggle.addEventListener("change", () => this.changeVerify());
    verifyLabel.append(this.verifyToggle, document.createElement("span"));
    bar.group(this.cableSelect, verifyLabel, this.languageSelect);

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
    this.bar.relabel();
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
    this.bar.update(this.busy);
    this.editing.update(this.busy);
    this.bar.button("Menu_Edit_Undo").title = this.doc.canUndo()
      ? label(fill(this.texts("IDS_UNDO_STEP"), this.doc.undoName()))
      : "";
    this.bar.button("Menu_Edit_Redo").title = this.doc.canRedo()
      ? label(fill(this.texts("IDS_REDO_STEP"), this.doc.redoName()))
      : "";
    const name = this.doc.pathName() || this.texts("IDS_UNTITLED");
    const modified = this.file.hasUnsavedWork() ? " *" : "";
    document.title = `${name}${modified} - ${this.texts("IDS_WINDOWNAME")}`;
  }

  private showStatus(text: string): void {
    this.status.textContent = text;
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
    const command = this.bar.shortcut(event);
    if (!command || document.querySelector("dialog[open]")) {
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
    this.leaving = await this.file.saveModified();
    return this.leaving;
  }

  private async newDocument(): Promise<void> {
    if (!(await this.file.saveModified())) {
      return;
    }
    this.doc.newDocument();
    this.editing.forget();
    this.file.bind(null);
    this.showStatus("");
    this.refreshDocument();
  }

  private async open(): Promise<void> {
    if (!(await this.file.saveModified())) {
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
    this.file.bind(picked.handle);
    this.editing.forget();
    this.showStatus("");
    this.refreshDocument();
  }

  private async openBytes(picked: PickedFile): Promise<void> {
    await this.guarded(async () => {
      if (await this.file.saveModified()) {
        await this.openPicked(picked);
      }
    });
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
    this.file.bind(null);
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
