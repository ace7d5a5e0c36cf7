// SPDX-License-Identifier: GPL-3.0-or-later
// The Optional Functions and VFO pages: native lists, check boxes and text boxes in the
// desktop template's groups. Every label, entry and value comes from the core, and every
// change goes through its commit; the page keeps no value of its own.
import type { HalvexDocument, HalvexModule } from "./wasm/halvex";
import type { PageField, PageName } from "./wasm/pages";

export interface OptionPageHost {
  module: HalvexModule;
  document(): HalvexDocument;
  // After a commit that changed the image, with the core's note ("" when none).
  committed(note: string): void;
}

type FieldControl = HTMLSelectElement | HTMLInputElement;

// Only the characters the core lets in reach the box, typed or pasted.
function filterTyping(input: HTMLInputElement, accepted: string): void {
  input.addEventListener("beforeinput", (event) => {
    if (!event.data || [...event.data].every((character) => accepted.includes(character))) {
      return;
    }
    event.preventDefault();
    const kept = [...event.data].filter((character) => accepted.includes(character)).join("");
    if (kept) {
      input.setRangeText(kept, input.selectionStart ?? 0, input.selectionEnd ?? 0, "end");
    }
  });
}

export class OptionPage {
  readonly element = document.createElement("div");
  private controls = new Map<number, FieldControl>();

  constructor(
    private readonly host: OptionPageHost,
    private readonly page: PageName,
  ) {
    this.element.className = `option-page ${page}-page`;
  }

  // Builds the controls anew, in the language shown now.
  rebuild(): void {
    this.controls.clear();
    const groups = this.host.module.pages.pageGroups(this.host.document(), this.page);
    this.element.replaceChildren(
      ...groups.map((group) => {
        const box = document.createElement(group.title ? "fieldset" : "div");
        box.className = "option-group";
        if (group.title) {
          const legend = document.createElement("legend");
          legend.textContent = group.title;
          box.append(legend);
        }
        box.append(...group.fields.map((field) => this.buildField(field, group.title)));
        return box;
      }),
    );
  }

  // Shows the document's values again: after Undo, an import, a read or another file.
  refresh(): void {
    if (this.controls.size === 0) {
      this.rebuild();
      return;
    }
    for (const group of this.host.module.pages.pageGroups(this.host.document(), this.page)) {
      for (const field of group.fields) {
        const control = this.controls.get(field.id);
        if (control instanceof HTMLSelectElement) {
          control.selectedIndex = field.index;
        } else if (control?.type === "checkbox") {
          control.checked = field.index === 1;
        } else if (control) {
          control.value = field.text;
          control.defaultValue = field.text;
        }
      }
    }
  }

  // True while the focused box holds typing not yet committed.
  isTyping(): boolean {
    const active = document.activeElement;
    return (
      active instanceof HTMLInputElement &&
      active.type === "text" &&
      this.element.contains(active) &&
      active.value !== active.defaultValue
    );
  }

  private buildField(field: PageField, groupTitle: string): HTMLElement {
    const row = document.createElement("div");
    row.className = `option-field ${field.kind}`;
    const label = document.createElement("label");
    const id = `${this.page}-${field.id}`;
    label.htmlFor = id;
    label.textContent = field.label;
    const control = this.buildControl(field);
    control.id = id;
    control.dataset.field = String(field.id);
    // F1 and F2 have the same fields: the group's title tells them apart.
    if (groupTitle) {
      control.setAttribute("aria-label", `${groupTitle} ${field.label}`);
    }
    this.controls.set(field.id, control);
    if (field.kind === "switch") {
      row.append(control, label);
    } else {
      row.append(label, control);
    }
    return row;
  }

  private buildControl(field: PageField): FieldControl {
    if (field.kind === "choice") {
      const select = document.createElement("select");
      select.replaceChildren(...field.choices.map((choice) => new Option(choice)));
      select.selectedIndex = field.index;
      select.addEventListener("change", () => this.commitChoice(field.id, select.selectedIndex));
      return select;
    }
    const input = document.createElement("input");
    if (field.kind === "switch") {
      input.type = "checkbox";
      input.checked = field.index === 1;
      input.addEventListener("change", () => this.commitChoice(field.id, input.checked ? 1 : 0));
      return input;
    }
    input.type = "text";
    input.autocomplete = "off";
    input.spellcheck = false;
    input.maxLength = field.textLimit;
    input.value = field.text;
    input.defaultValue = field.text;
    if (field.accepted) {
      filterTyping(input, field.accepted);
    }
    input.addEventListener("change", () => this.commitText(field.id, input));
    input.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        this.commitText(field.id, input);
        input.select();
      }
    });
    return input;
  }

  private commitChoice(id: number, index: number): void {
    const result = this.host.module.pages.commitPageChoice(this.host.document(), id, index);
    this.finish(result.changed, result.note);
  }

  private commitText(id: number, input: HTMLInputElement): void {
    const result = this.host.module.pages.commitPageText(this.host.document(), id, input.value);
    this.finish(result.changed, result.note);
  }

  private finish(changed: boolean, note: string): void {
    this.refresh();
    if (changed || note) {
      this.host.committed(note);
    }
  }
}
