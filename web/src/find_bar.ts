// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table's find bar: a line over the table that finds channels by name or
// frequency as the user types. The core finds and words the match; the bar chooses its row
// and says which channel it is, for the eye and for a screen reader.
import type { Texts } from "./texts";
import type { FoundRow } from "./wasm/channel_edits";

export interface FindHost {
  texts: Texts;
  find(text: string, direction: number, includeCurrent: boolean): FoundRow;
  // The channel found becomes the one the next channel command acts on.
  found(channel: number): void;
  // The keyboard goes back to the table.
  closed(): void;
}

export class FindBar {
  readonly element = document.createElement("div");
  private readonly label = document.createElement("label");
  private readonly input = document.createElement("input");
  private readonly previous = document.createElement("button");
  private readonly next = document.createElement("button");
  private readonly close = document.createElement("button");
  private readonly status = document.createElement("span");

  constructor(private readonly host: FindHost) {
    this.element.className = "find-bar";
    this.element.hidden = true;
    this.input.id = "find-text";
    this.input.type = "search";
    this.input.autocomplete = "off";
    this.input.spellcheck = false;
    this.label.htmlFor = this.input.id;
    this.status.id = "find-status";
    this.status.setAttribute("role", "status");
    this.input.setAttribute("aria-describedby", this.status.id);
    this.previous.textContent = "\u25B2";
    this.next.textContent = "\u25BC";
    this.close.textContent = "\u00D7";
    for (const button of [this.previous, this.next, this.close]) {
      button.type = "button";
      button.className = "icon";
    }
    this.input.addEventListener("input", () => this.step(1, true));
    this.input.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        event.preventDefault();
        this.findNext(event.shiftKey ? -1 : 1);
      } else if (event.key === "Escape") {
        event.preventDefault();
        this.hide();
      }
    });
    this.previous.addEventListener("click", () => this.findNext(-1));
    this.next.addEventListener("click", () => this.findNext(1));
    this.close.addEventListener("click", () => this.hide());
    this.element.append(this.label, this.input, this.previous, this.next, this.status, this.close);
    this.relabel();
  }

  relabel(): void {
    const { texts } = this.host;
    this.label.textContent = texts("IDS_FIND_LABEL");
    for (const [button, key] of [
      [this.previous, "IDS_FIND_PREVIOUS"],
      [this.next, "IDS_FIND_NEXT"],
      [this.close, "IDS_FIND_CLOSE"],
    ] as const) {
      button.title = texts(key);
      button.setAttribute("aria-label", texts(key));
    }
    if (!this.element.hidden && this.input.value) {
      this.step(1, true);
    }
  }

  // Shows the bar with its text chosen and the keyboard in it.
  open(): void {
    this.element.hidden = false;
    this.input.focus();
    this.input.select();
  }

  hide(): void {
    this.element.hidden = true;
    this.host.closed();
  }

  // F3 and Shift+F3: the next or previous match; opens the bar while it has nothing to find.
  findNext(direction: number): void {
    if (!this.input.value) {
      this.open();
      return;
    }
    this.step(direction, false);
  }

  private step(direction: number, includeCurrent: boolean): void {
    const found = this.host.find(this.input.value, direction, includeCurrent);
    this.status.textContent = found.status;
    if (found.channel > 0) {
      this.host.found(found.channel);
    }
  }
}
