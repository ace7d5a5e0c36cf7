// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's Edit commands on the channel table: whole channels cut, copied, pasted,
// inserted, deleted, moved and cleared, Set for Selected Channels, Sort, Fill Frequencies and
// Find, with the desktop's keys; and Compare with Radio. The core does and words each one as
// one undo step; this file chooses the rows, asks the questions and shows the answers.
import { ChannelMenu } from "./channel_menu";
import { FindBar } from "./find_bar";
import { runFillDialog, runSetColumnDialog, runSortDialog, showDifferences } from "./edit_dialogs";
import { showMessageBox } from "./message_box";
import { readChannels, writeChannels } from "./row_clipboard";
import { RowSelection } from "./row_selection";
import { label, type Texts } from "./texts";
import { runTransferDialog, type TransferHost } from "./transfer_dialog";
import type { RowEdit } from "./wasm/channel_edits";
import type { HalvexDocument, HalvexModule, TransferOutcome } from "./wasm/halvex";

export interface EditingHost {
  module: HalvexModule;
  texts: Texts;
  table: HTMLTableElement;
  transfers: Omit<TransferHost, "document" | "finished">;
  document(): HalvexDocument;
  // Whether a radio can be reached: Web Serial, or the virtual radio ticked.
  canTransfer(): boolean;
  // Runs a command unless another one is running.
  guarded(run: () => unknown): Promise<void>;
  // After a change of the document: the table, the commands and the status line again.
  edited(note: string): void;
}

interface EditCommand {
  button: HTMLButtonElement;
  menuKey: string;
  // The desktop's keys, as aria-keyshortcuts names them.
  keys: string[];
  // A clipboard key that a text box takes while no channel is chosen.
  clipboardKey: boolean;
  run(): unknown;
  enabled(): boolean;
}

// Compare with Radio's list (template 136).
const compareCaption = 136;
const compareList = 1161;

function keyName(event: KeyboardEvent): string {
  const parts: string[] = [];
  if (event.ctrlKey) parts.push("Control");
  if (event.altKey) parts.push("Alt");
  if (event.shiftKey) parts.push("Shift");
  parts.push(event.key.length === 1 ? event.key.toUpperCase() : event.key);
  return parts.join("+");
}

export class ChannelEditing {
  readonly toolbar = document.createElement("div");
  readonly compareButton: HTMLButtonElement;
  readonly selection: RowSelection;
  private readonly commands: EditCommand[] = [];
  private readonly findBar: FindBar;

  constructor(private readonly host: EditingHost) {
    this.selection = new RowSelection(host.table, () => this.update());
    this.toolbar.className = "group";
    this.toolbar.setAttribute("role", "group");
    const states = () =>
      host.module.editing.rowCommandStates(
        host.document(),
        this.selection.channels(),
        this.selection.target(),
      );
    const add = (
      menuKey: string,
      run: () => unknown,
      enabled: () => boolean,
      keys: string[] = [],
      clipboardKey = false,
    ) => {
      const button = document.createElement("button");
      button.type = "button";
      if (keys.length > 0) {
        button.setAttribute("aria-keyshortcuts", keys.join(" "));
      }
      button.addEventListener("click", () => void host.guarded(run));
      const command = { button, menuKey, keys, clipboardKey, run, enabled };
      this.commands.push(command);
      return button;
    };
    this.toolbar.append(
      add(
        "Menu_Edit_Cut",
        () => this.cut(),
        () => states().onSelection,
        ["Control+X", "Shift+Delete"],
        true,
      ),
      add(
        "Menu_Edit_Copy",
        () => this.copy(),
        () => states().onSelection,
        ["Control+Insert", "Control+C"],
        true,
      ),
      add(
        "Menu_Edit_Paste",
        () => this.paste(),
        () => states().onTarget,
        ["Control+V", "Shift+Insert"],
        true,
      ),
      add(
        "Menu_Edit_Insert_Channel",
        () => this.insert(),
        () => states().onTarget,
      ),
      add(
        "Menu_Edit_Delete_Channel",
        () => this.rows((doc, rows) => host.module.editing.deleteRows(doc, rows)),
        () => states().onSelection,
      ),
      add(
        "Menu_Edit_Move_Up",
        () => this.rows((doc, rows) => host.module.editing.moveRows(doc, rows, true)),
        () => states().moveUp,
        ["Alt+ArrowUp"],
      ),
      add(
        "Menu_Edit_Move_Down",
        () => this.rows((doc, rows) => host.module.editing.moveRows(doc, rows, false)),
        () => states().moveDown,
        ["Alt+ArrowDown"],
      ),
      add(
        "Menu_Edit_Clear",
        () => this.rows((doc, rows) => host.module.editing.clearRows(doc, rows)),
        () => states().onSelection,
      ),
      add(
        "Menu_Edit_Set_For_Selected",
        () => this.setForSelected(),
        () => states().onSelection,
      ),
      add(
        "Menu_Edit_Sort",
        () => this.sort(),
        () => true,
      ),
      add(
        "Menu_Edit_Fill",
        () => this.fill(),
        () => states().onSelection,
      ),
      add(
        "Menu_Edit_Find",
        () => this.findBar.open(),
        () => true,
        ["Control+F"],
      ),
    );
    this.compareButton = add(
      "Menu_Program_Compare",
      () => this.compare(),
      () => host.canTransfer(),
    );
    this.findBar = new FindBar({
      texts: host.texts,
      find: (text, direction, includeCurrent) =>
        host.module.editing.findRow(
          host.document(),
          text,
          this.selection.focusRow,
          direction,
          includeCurrent,
        ),
      found: (channel) => {
        this.selection.choose([channel]);
        this.selection.focusRow = channel;
        host.table.querySelector(`[data-row="${channel}"]`)?.scrollIntoView({ block: "nearest" });
      },
      closed: () => this.focusTable(),
    });
    new ChannelMenu({
      table: host.table,
      texts: host.texts,
      command: (menuKey) => {
        const command = this.commands.find((entry) => entry.menuKey === menuKey)!;
        return {
          keys: command.keys,
          enabled: () => !command.button.disabled,
          run: () => void host.guarded(command.run),
        };
      },
      chooseRow: (row) => {
        if (!this.selection.channels().includes(row)) {
          this.selection.chooseAndFocus([row]);
        }
      },
    });
    window.addEventListener("keydown", (event) => this.onKey(event));
    this.relabel();
  }

  // Once the table is on the page: the find bar goes over it.
  attach(): void {
    this.host.table.parentElement!.before(this.findBar.element);
  }

  relabel(): void {
    for (const command of this.commands) {
      command.button.textContent = label(this.host.texts(command.menuKey));
    }
    this.toolbar.setAttribute("aria-label", label(this.host.texts("Menu_Edit")));
    this.findBar.relabel();
  }

  // After the table was built or redrawn, or another command changed the document.
  update(busy = false): void {
    this.selection.paint();
    for (const command of this.commands) {
      command.button.disabled = busy || !command.enabled();
    }
  }

  // A new, opened or read document: nothing of it is chosen.
  forget(): void {
    this.selection.choose([]);
  }

  private onKey(event: KeyboardEvent): void {
    if (document.querySelector("dialog[open]")) {
      return;
    }
    const name = keyName(event);
    if (name === "F3" || name === "Shift+F3") {
      event.preventDefault();
      this.findBar.findNext(event.shiftKey ? -1 : 1);
      return;
    }
    const command = this.commands.find((entry) => entry.keys.includes(name));
    if (!command || !command.enabled()) {
      return;
    }
    const inText =
      document.activeElement instanceof HTMLInputElement &&
      !this.host.table.contains(document.activeElement);
    // While no channel is chosen, or the find bar has the keyboard, a text box keeps its keys.
    if (command.clipboardKey && (inText || this.selection.channels().length === 0)) {
      return;
    }
    event.preventDefault();
    void this.host.guarded(command.run);
  }

  private focusTable(): void {
    this.host.table
      .querySelector<HTMLElement>(
        `[data-row="${Math.max(this.selection.focusRow, 1)}"][data-column="${this.selection.focusColumn}"]`,
      )
      ?.focus();
  }

  private async finish(edit: RowEdit): Promise<void> {
    if (edit.changed) {
      // The cell refocused afterwards takes its new value as the one Escape goes back to.
      (document.activeElement as HTMLElement | null)?.blur();
      this.host.edited(edit.note);
      this.selection.chooseAndFocus(edit.selected);
    }
    if (edit.message) {
      const { texts } = this.host;
      await showMessageBox(
        texts(edit.refused ? "IDS_ERROR" : "IDS_PROMPT"),
        edit.message,
        [{ text: texts.resource(1), value: 0 }],
        0,
      );
    }
  }

  private rows(run: (doc: HalvexDocument, rows: number[]) => RowEdit): Promise<void> {
    return this.finish(run(this.host.document(), this.selection.channels()));
  }

  private async copy(): Promise<boolean> {
    const copied = this.host.module.editing.copyRows(
      this.host.document(),
      this.selection.channels(),
    );
    try {
      await writeChannels(copied);
    } catch (error) {
      await this.finish({ ...this.noEdit(), message: String(error), refused: true });
      return false;
    }
    this.host.edited(copied.note);
    return true;
  }

  private async cut(): Promise<void> {
    if (await this.copy()) {
      await this.rows((doc, rows) => this.host.module.editing.cutRows(doc, rows));
    }
  }

  private async paste(): Promise<void> {
    let found;
    try {
      found = await readChannels();
    } catch (error) {
      await this.finish({ ...this.noEdit(), message: String(error), refused: true });
      return;
    }
    await this.finish(
      this.host.module.editing.pasteRows(
        this.host.document(),
        this.selection.target(),
        found.exact,
        found.text,
      ),
    );
  }

  private async insert(): Promise<void> {
    const { module, texts } = this.host;
    const target = this.selection.target();
    const count = Math.max(1, this.selection.channels().length);
    let edit = module.editing.insertRows(this.host.document(), target, count, false);
    if (edit.question) {
      const insertAnyway = await showMessageBox(
        texts("IDS_CONFIRM"),
        edit.question,
        [
          { text: texts.resource(1), value: true },
          { text: texts.resource(2), value: false },
        ],
        false,
      );
      if (!insertAnyway) {
        return;
      }
      edit = module.editing.insertRows(this.host.document(), target, count, true);
    }
    await this.finish(edit);
  }

  private async setForSelected(): Promise<void> {
    const { module, texts } = this.host;
    const rows = this.selection.channels();
    const edit = await runSetColumnDialog(
      texts,
      module.columns(),
      module.editing.settableColumns(),
      (column) => module.choices(column),
      this.selection.focusColumn,
      (choice) =>
        module.editing.setColumnOfRows(
          this.host.document(),
          rows,
          choice.column,
          choice.index,
          choice.offset,
        ),
    );
    if (edit) {
      await this.finishBulk(edit);
    }
  }

  private async sort(): Promise<void> {
    const rows = this.selection.channels();
    const edit = await runSortDialog(this.host.texts, rows.length > 1, (choice) =>
      this.host.module.editing.sortRows(
        this.host.document(),
        rows,
        choice.key,
        choice.descending,
        choice.selectionOnly,
      ),
    );
    if (edit) {
      await this.finishBulk(edit);
    }
  }

  private async fill(): Promise<void> {
    const { module } = this.host;
    const rows = this.selection.channels();
    const edit = await runFillDialog(
      this.host.texts,
      module.editing.fillStart(this.host.document(), rows),
      (choice) =>
        module.editing.fillRows(
          this.host.document(),
          rows,
          choice.first,
          choice.step,
          choice.shift,
        ),
    );
    if (edit) {
      await this.finishBulk(edit);
    }
  }

  // A bulk edit says so also when nothing changed.
  private async finishBulk(edit: RowEdit): Promise<void> {
    if (!edit.changed) {
      this.host.edited(edit.note);
    }
    await this.finish(edit);
  }

  // Reads the radio into a copy of the document and lists what differs; the document stays.
  private async compare(): Promise<void> {
    const { module, texts } = this.host;
    const radio = module.newDocument();
    const ended: { read?: TransferOutcome } = {};
    try {
      await runTransferDialog(
        {
          ...this.host.transfers,
          document: () => radio,
          finished: (_kind, outcome) => {
            ended.read = outcome;
          },
        },
        "read",
        "IDS_COMPAREDATA",
      );
      if (!ended.read) {
        return;
      }
      const list = module.editing.radioDifferences(this.host.document(), radio.imageBytes());
      await showDifferences(
        texts,
        "compare",
        texts.resource(compareCaption),
        texts.resource(compareList),
        list.summary,
        list.lines,
        false,
      );
    } finally {
      radio.delete();
    }
  }

  private noEdit(): RowEdit {
    return {
      changed: false,
      note: "",
      selected: [],
      message: "",
      refused: false,
      refusedField: -1,
      question: "",
    };
  }
}
