// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's FM Radio Presets dialog as a modal <dialog>: the sixteen presets, each a list
// of the core's entries, and the receive frequency. Each choice is in the document at once;
// OK makes one undo step of them, Cancel and Escape put the document back as it was.
import type { Texts } from "./texts";
import type { HalvexDocument, HalvexModule } from "./wasm/halvex";

function list(choices: string[], index: number, name: string): HTMLSelectElement {
  const select = document.createElement("select");
  select.replaceChildren(...choices.map((choice) => new Option(choice)));
  select.selectedIndex = index;
  select.setAttribute("aria-label", name);
  return select;
}

// Resolves true for OK, false for Cancel.
export function runFmPresetsDialog(
  module: HalvexModule,
  texts: Texts,
  doc: HalvexDocument,
): Promise<boolean> {
  const edit = new module.pages.FmPresets(doc);
  const words = edit.words();
  const dialog = document.createElement("dialog");
  dialog.className = "fm-presets";
  const heading = document.createElement("h2");
  heading.id = "fm-presets-caption";
  heading.textContent = words.title;
  dialog.setAttribute("aria-labelledby", heading.id);

  const table = document.createElement("table");
  table.className = "presets";
  const head = document.createElement("tr");
  for (const header of words.headers) {
    const cell = document.createElement("th");
    cell.scope = "col";
    cell.textContent = header;
    head.append(cell);
  }
  const thead = document.createElement("thead");
  thead.append(head);
  const body = document.createElement("tbody");
  words.rowNames.forEach((name, k) => {
    const preset = k + 1;
    const row = document.createElement("tr");
    const number = document.createElement("th");
    number.scope = "row";
    number.textContent = String(preset);
    const cell = document.createElement("td");
    const select = list(words.presetChoices, edit.preset(preset), name);
    select.dataset.preset = String(preset);
    select.addEventListener("change", () => {
      edit.choosePreset(preset, select.selectedIndex);
      select.selectedIndex = edit.preset(preset);
    });
    cell.append(select);
    row.append(number, cell);
    body.append(row);
  });
  table.append(thead, body);
  const box = document.createElement("div");
  box.className = "presets-box";
  box.append(table);

  const frequencyRow = document.createElement("div");
  frequencyRow.className = "option-field";
  const frequencyLabel = document.createElement("label");
  frequencyLabel.htmlFor = "fm-frequency";
  frequencyLabel.textContent = words.frequencyLabel;
  const frequency = list(words.frequencyChoices, edit.frequency(), words.frequencyLabel);
  frequency.removeAttribute("aria-label");
  frequency.id = "fm-frequency";
  frequency.addEventListener("change", () => {
    edit.chooseFrequency(frequency.selectedIndex);
    frequency.selectedIndex = edit.frequency();
  });
  frequencyRow.append(frequencyLabel, frequency);

  const buttons = document.createElement("div");
  buttons.className = "buttons";
  dialog.append(heading, box, frequencyRow, buttons);

  return new Promise((resolve) => {
    const finish = (ok: boolean) => {
      if (ok) {
        edit.accept();
      } else {
        edit.reject();
      }
      edit.delete();
      dialog.close();
      dialog.remove();
      resolve(ok);
    };
    for (const [text, ok] of [
      [texts.resource(1), true],
      [texts.resource(2), false],
    ] as const) {
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = text;
      button.addEventListener("click", () => finish(ok));
      buttons.append(button);
    }
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish(false);
    });
    document.body.append(dialog);
    dialog.showModal();
    body.querySelector("select")?.focus();
  });
}
