// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table as a real <table> of inputs and lists. Every value, lock and note comes
// from the core after each commit; the table keeps no channel data of its own.
import type { ChannelColumn, HalvexDocument, HalvexModule } from "./wasm/halvex";

export interface ChannelTableHost {
  module: HalvexModule;
  document(): HalvexDocument;
  // After a commit that changed the image, with the core's clamping note ("" when none).
  committed(note: string): void;
}

type CellControl = HTMLInputElement | HTMLSelectElement;

export class ChannelTable {
  readonly element: HTMLTableElement;
  private columns: ChannelColumn[] = [];
  private rows: CellControl[][] = [];
  // The text or entry a control held when it took the focus, for Escape.
  private remembered = new WeakMap<CellControl, string | number>();

  constructor(private readonly host: ChannelTableHost) {
    this.element = document.createElement("table");
    this.element.className = "channels";
  }

  // Builds the table anew: after a language change, or a document of another channel count.
  rebuild(): void {
    this.columns = this.host.module.columns();
    const head = document.createElement("thead");
    const headRow = document.createElement("tr");
    for (const column of this.columns) {
      const header = document.createElement("th");
      header.scope = "col";
      header.id = `column-${column.id}`;
      header.textContent = column.header;
      // The desktop grid's width, and room for a list's arrow.
      const listArrow = column.kind === "tone" || column.kind === "choice" ? 16 : 0;
      header.style.minWidth = `${column.width + listArrow}px`;
      headRow.append(header);
    }
    head.append(headRow);

    const body = document.createElement("tbody");
    this.rows = [];
    const count = this.host.document().channelCount();
    for (let row = 1; row <= count; row++) {
      body.append(this.buildRow(row));
    }
    this.element.replaceChildren(head, body);
    this.refreshAll();
  }

  refreshAll(): void {
    const count = this.host.document().channelCount();
    if (count !== this.rows.length) {
      this.rebuild();
      return;
    }
    for (let row = 1; row <= count; row++) {
      this.refreshRow(row);
    }
  }

  // True while the focused cell holds typing not yet committed.
  isTyping(): boolean {
    const active = document.activeElement;
    return (
      active instanceof HTMLInputElement &&
      this.element.contains(active) &&
      this.remembered.get(active) !== active.value
    );
  }

  focusCell(row: number, column: number): void {
    this.rows[row - 1]?.[column - 1]?.focus();
  }

  private buildRow(row: number): HTMLTableRowElement {
    const tableRow = document.createElement("tr");
    const controls: CellControl[] = [];
    for (const column of this.columns) {
      if (column.kind === "number") {
        const header = document.createElement("th");
        header.scope = "row";
        header.id = `channel-${row}`;
        tableRow.append(header);
        continue;
      }
      const cell = document.createElement("td");
      const control = this.buildControl(row, column);
      control.setAttribute("aria-labelledby", `channel-${row} column-${column.id}`);
      control.dataset.row = String(row);
      control.dataset.column = String(column.id);
      cell.append(control);
      tableRow.append(cell);
      controls.push(control);
    }
    this.rows.push(controls);
    return tableRow;
  }

  private buildControl(row: number, column: ChannelColumn): CellControl {
    if (column.kind === "tone" || column.kind === "choice") {
      const select = document.createElement("select");
      // The tone lists hold 259 entries: filled when first used, so the page opens at once.
      const fill = () => this.fillChoices(select, row, column.id);
      select.addEventListener("pointerdown", fill);
      select.addEventListener("focus", () => {
        fill();
        this.remembered.set(select, select.selectedIndex);
      });
      select.addEventListener("change", () => this.commitChoice(select, row, column.id));
      select.addEventListener("keydown", (event) => {
        if (event.key === "Escape") {
          this.restore(select, row, column.id);
        }
      });
      return select;
    }
    const input = document.createElement("input");
    input.type = "text";
    input.autocomplete = "off";
    input.spellcheck = false;
    if (column.textLimit > 0) {
      input.maxLength = column.textLimit;
    }
    if (column.kind === "frequency") {
      input.inputMode = "decimal";
    }
    // The whole entry is selected when the cell takes the focus, also by a click, whose
    // mouseup would otherwise put the caret where it landed.
    let selectedOnFocus = false;
    input.addEventListener("focus", () => {
      this.remembered.set(input, input.value);
      input.select();
      selectedOnFocus = true;
    });
    input.addEventListener("mouseup", (event) => {
      if (selectedOnFocus) {
        event.preventDefault();
        selectedOnFocus = false;
      }
    });
    const forgetFocusSelection = () => {
      selectedOnFocus = false;
    };
    input.addEventListener("blur", forgetFocusSelection);
    input.addEventListener("keydown", forgetFocusSelection);
    input.addEventListener("change", () => this.commitText(input, row, column.id));
    input.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        this.commitText(input, row, column.id);
        input.select();
      } else if (event.key === "Escape") {
        this.restore(input, row, column.id);
      } else if ((event.key === "ArrowUp" || event.key === "ArrowDown") && !event.altKey) {
        event.preventDefault();
        this.focusCell(row + (event.key === "ArrowUp" ? -1 : 1), column.id);
      }
    });
    return input;
  }

  private fillChoices(select: HTMLSelectElement, row: number, column: number): void {
    if (select.dataset.filled === "1") {
      return;
    }
    const options = this.host.module.choices(column).map((text) => new Option(text));
    select.replaceChildren(...options);
    select.dataset.filled = "1";
    select.selectedIndex = this.host.document().choiceIndex(row, column);
  }

  private commitText(input: HTMLInputElement, row: number, column: number): void {
    if (input.readOnly) {
      return;
    }
    const result = this.host.document().commitText(row, column, input.value);
    this.remembered.set(input, input.value);
    this.refreshRow(row);
    this.remembered.set(input, input.value);
    if (result.changed || result.note) {
      this.host.committed(result.note);
    }
  }

  private commitChoice(select: HTMLSelectElement, row: number, column: number): void {
    const result = this.host.document().commitChoice(row, column, select.selectedIndex);
    this.refreshRow(row);
    this.remembered.set(select, select.selectedIndex);
    if (result.changed || result.note) {
      this.host.committed(result.note);
    }
  }

  // Escape puts back what the cell held when it took the focus; nothing is committed.
  private restore(control: CellControl, row: number, column: number): void {
    const before = this.remembered.get(control);
    if (before === undefined) {
      return;
    }
    if (control instanceof HTMLInputElement) {
      control.value = String(before);
      control.select();
    } else if (control.selectedIndex !== before) {
      control.selectedIndex = Number(before);
      this.commitChoice(control, row, column);
    }
  }

  private refreshRow(row: number): void {
    const doc = this.host.document();
    const texts = doc.rowTexts(row);
    const states = doc.rowStates(row);
    const header = this.element.querySelector<HTMLTableCellElement>(`#channel-${row}`);
    if (header) {
      header.textContent = texts[0];
    }
    this.rows[row - 1].forEach((control, index) => {
      const column = index + 1;
      const state = states[column];
      control.classList.toggle("locked", state.locked);
      control.classList.toggle("shaded", state.shaded);
      if (control instanceof HTMLInputElement) {
        control.readOnly = state.locked;
        control.setAttribute("aria-readonly", String(state.locked));
        control.value = texts[column];
        return;
      }
      control.disabled = state.locked;
      if (control.dataset.filled === "1") {
        control.selectedIndex = doc.choiceIndex(row, column);
      } else {
        control.replaceChildren(new Option(texts[column]));
      }
    });
  }
}
