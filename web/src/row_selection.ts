// SPDX-License-Identifier: GPL-3.0-or-later
// Whole channels chosen by their row headers, as on the desktop's grid: click, Shift-click,
// Ctrl-click, a drag down the headers, or Shift+Space on the focus row. The table's cells keep
// the focus; this remembers the channels and the focus cell, and paints them.

// The channel of the table row an event fell in; 0 outside the channels.
export function channelRowOf(target: EventTarget | null): number {
  const row = (target as HTMLElement | null)?.closest?.("tbody tr");
  return row ? (row as HTMLTableRowElement).sectionRowIndex + 1 : 0;
}

export class RowSelection {
  private chosen = new Set<number>();
  private anchor = 0;
  private dragging = false;
  // The cell that last had the focus: the row a paste or insert goes to without a selection.
  focusRow = 0;
  focusColumn = 1;

  constructor(
    private readonly table: HTMLTableElement,
    private readonly changed: () => void,
  ) {
    table.addEventListener("mousedown", (event) => this.onMouseDown(event));
    table.addEventListener("mouseover", (event) => {
      // As on the desktop only the height matters: the pointer may wander over the cells.
      const row = channelRowOf(event.target);
      if (this.dragging && row > 0 && event.buttons === 1) {
        this.chooseRange(this.anchor, row);
      }
    });
    window.addEventListener("mouseup", () => {
      this.dragging = false;
    });
    table.addEventListener("focusin", (event) => {
      const control = event.target as HTMLElement;
      if (control.dataset.row) {
        this.focusRow = Number(control.dataset.row);
        this.focusColumn = Number(control.dataset.column);
        this.changed();
      }
    });
    table.addEventListener("keydown", (event) => {
      if (event.key === " " && event.shiftKey && !event.ctrlKey && this.focusRow > 0) {
        event.preventDefault();
        this.choose([this.focusRow]);
      }
    });
  }

  channels(): number[] {
    return [...this.chosen].sort((a, b) => a - b);
  }

  // The first chosen channel, else the focus row; 0 for none.
  target(): number {
    return this.channels()[0] ?? this.focusRow;
  }

  choose(channels: number[]): void {
    this.chosen = new Set(channels);
    this.anchor = channels[0] ?? 0;
    this.paint();
    this.changed();
  }

  // Chooses the channels and gives the first of them the focus, in the focus column.
  chooseAndFocus(channels: number[]): void {
    this.choose(channels);
    const first = Math.min(...channels);
    if (Number.isFinite(first)) {
      this.table
        .querySelector<HTMLElement>(
          `[data-row="${first}"][data-column="${Math.max(this.focusColumn, 1)}"]`,
        )
        ?.focus();
    }
  }

  // After the table was built anew or redrawn.
  paint(): void {
    for (const row of this.table.tBodies[0]?.rows ?? []) {
      const chosen = this.chosen.has(row.sectionRowIndex + 1);
      row.classList.toggle("chosen", chosen);
      row.setAttribute("aria-selected", String(chosen));
    }
  }

  private headerRow(target: EventTarget | null): number {
    const header = (target as HTMLElement | null)?.closest?.("tbody th");
    return header ? (header.parentElement as HTMLTableRowElement).sectionRowIndex + 1 : 0;
  }

  private chooseRange(from: number, to: number): void {
    const channels: number[] = [];
    for (let n = Math.min(from, to); n <= Math.max(from, to); n++) {
      channels.push(n);
    }
    this.chosen = new Set(channels);
    this.paint();
    this.changed();
  }

  private onMouseDown(event: MouseEvent): void {
    if (event.button !== 0) {
      return;
    }
    const row = this.headerRow(event.target);
    if (row === 0) {
      // A click into a cell works on that cell, not on channels chosen before.
      if ((event.target as HTMLElement).closest("tbody td") && this.chosen.size > 0) {
        this.choose([]);
      }
      return;
    }
    // The header chooses; it never starts a text selection.
    event.preventDefault();
    this.focusRow = row;
    if (event.shiftKey && this.anchor > 0) {
      this.chooseRange(this.anchor, row);
      return;
    }
    if (event.ctrlKey || event.metaKey) {
      const next = new Set(this.chosen);
      if (!next.delete(row)) {
        next.add(row);
      }
      this.chosen = next;
      this.anchor = row;
      this.paint();
      this.changed();
      return;
    }
    this.choose([row]);
    this.dragging = true;
  }
}
