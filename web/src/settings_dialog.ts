// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of setting.ini as a modal <dialog>: cable type, channel count, time-outs, the
// check after writing and the band lines with their names. The core checks every value
// before it uses any; what it used is kept in the browser's storage. Restore Defaults takes
// the shipped setting.ini; Cancel puts back the settings the dialog opened with.
import { showMessageBox } from "./message_box";
import { keepSettings } from "./settings_store";
import { label, type Texts } from "./texts";
import type { HalvexModule } from "./wasm/halvex";
import type { SettingField } from "./wasm/pages";

type Control = HTMLInputElement | HTMLSelectElement;

interface Shown {
  field: SettingField;
  control: Control;
}

function controlFor(field: SettingField): Control {
  if (field.choices.length > 0) {
    const select = document.createElement("select");
    select.replaceChildren(
      ...field.choices.map((choice, k) => new Option(label(choice), field.values[k])),
    );
    select.value = field.value;
    return select;
  }
  const input = document.createElement("input");
  if (field.values.length === 2) {
    input.type = "checkbox";
    input.checked = field.value === field.values[1];
    return input;
  }
  input.type = "text";
  input.autocomplete = "off";
  input.spellcheck = false;
  input.value = field.value;
  return input;
}

function valueOf({ field, control }: Shown): string {
  if (control instanceof HTMLInputElement && control.type === "checkbox") {
    return field.values[control.checked ? 1 : 0];
  }
  return control.value;
}

// Resolves true when the settings changed.
export function runSettingsDialog(module: HalvexModule, texts: Texts): Promise<boolean> {
  const opened = module.settingsText();
  const dialog = document.createElement("dialog");
  dialog.className = "settings";
  const heading = document.createElement("h2");
  heading.id = "settings-caption";
  dialog.setAttribute("aria-labelledby", heading.id);
  const form = document.createElement("div");
  form.className = "settings-form";
  const bandHeading = document.createElement("h3");
  bandHeading.id = "band-lines-caption";
  const bandBox = document.createElement("div");
  bandBox.className = "band-lines-box";
  const buttons = document.createElement("div");
  buttons.className = "buttons";
  dialog.append(heading, form, bandHeading, bandBox, buttons);
  let shown: Shown[] = [];

  // The fields as the settings stand now.
  const fill = () => {
    heading.textContent = label(texts("Menu_Setting"));
    bandHeading.textContent = texts("IDS_WEB_BAND_LINES");
    shown = [];
    form.replaceChildren(
      ...module.pages.settingFields().map((field) => {
        const row = document.createElement("div");
        row.className = "option-field";
        const caption = document.createElement("label");
        caption.textContent = label(field.label);
        caption.htmlFor = `setting-${field.key}`;
        const control = controlFor(field);
        control.id = caption.htmlFor;
        shown.push({ field, control });
        if (control.type === "checkbox") {
          row.classList.add("switch");
          row.append(control, caption);
        } else {
          row.append(caption, control);
        }
        return row;
      }),
    );
    const table = document.createElement("table");
    table.className = "band-lines";
    table.setAttribute("aria-labelledby", bandHeading.id);
    const rows = module.pages.bandLineFields();
    const head = document.createElement("tr");
    for (const [id, text] of [
      ["band-column-number", "#"],
      ["band-column-name", rows[0]?.name.label ?? ""],
      ["band-column-line", rows[0]?.line.label ?? ""],
    ]) {
      const cell = document.createElement("th");
      cell.scope = "col";
      cell.id = id;
      cell.textContent = text;
      head.append(cell);
    }
    const thead = document.createElement("thead");
    thead.append(head);
    const body = document.createElement("tbody");
    rows.forEach((row, k) => {
      const line = document.createElement("tr");
      const number = document.createElement("th");
      number.scope = "row";
      number.id = `band-row-${k}`;
      number.textContent = String(k);
      line.append(number);
      for (const [field, column] of [
        [row.name, "band-column-name"],
        [row.line, "band-column-line"],
      ] as const) {
        const cell = document.createElement("td");
        const control = controlFor(field);
        control.id = `setting-${field.key}`;
        control.setAttribute("aria-labelledby", `${column} ${number.id}`);
        shown.push({ field, control });
        cell.append(control);
        line.append(cell);
      }
      body.append(line);
    });
    table.append(thead, body);
    bandBox.replaceChildren(table);
  };
  fill();

  return new Promise((resolve) => {
    const finish = (changed: boolean) => {
      dialog.close();
      dialog.remove();
      resolve(changed);
    };
    const error = (message: string) =>
      showMessageBox(texts("IDS_ERROR"), message, [{ text: texts.resource(1), value: 0 }], 0);
    const ok = async () => {
      const edits = shown
        .map((entry) => ({ key: entry.field.key, value: valueOf(entry) }))
        .filter((edit, k) => edit.value !== shown[k].field.value);
      const applied = module.pages.applySettings(edits);
      if (!applied.used) {
        await error(applied.message);
        return;
      }
      keepSettings(module.settingsText());
      if (applied.message) {
        await error(applied.message);
      }
      finish(module.settingsText() !== opened);
    };
    const cancel = () => {
      if (module.settingsText() !== opened) {
        module.useSettings(opened);
        keepSettings(opened);
      }
      finish(false);
    };
    const defaults = () => {
      const message = module.useSettings(module.defaultSettings());
      keepSettings(module.settingsText());
      fill();
      if (message) {
        void error(message);
      }
    };
    for (const [text, run] of [
      [texts.resource(1), ok],
      [texts.resource(2), cancel],
      [texts("IDS_WEB_DEFAULTS"), defaults],
    ] as const) {
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = text;
      button.addEventListener("click", () => void run());
      buttons.append(button);
    }
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      cancel();
    });
    document.body.append(dialog);
    dialog.showModal();
    shown[0]?.control.focus();
  });
}
