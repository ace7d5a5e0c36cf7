// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's dialogs over many channels (Set for Selected Channels, Sort Channels, Fill
// Frequencies) and its difference lists (Compare with Radio, Import Configuration) as modal
// <dialog>s. OK hands the choice to the core; a typed amount the core refuses keeps the
// dialog open on that field, as the desktop's does.
import { button, lineList, modal } from "./import_dialogs";
import { showMessageBox } from "./message_box";
import type { Texts } from "./texts";
import type { RowEdit } from "./wasm/channel_edits";
import type { ChannelColumn } from "./wasm/halvex";

// Template 170, 171 and 172 and their controls.
const ids = {
  setCaption: 170,
  setColumn: 1501,
  setValue: 1503,
  sortCaption: 171,
  sortKey: 1511,
  ascending: 1513,
  descending: 1514,
  selection: 1515,
  all: 1516,
  fillCaption: 172,
  fillFirst: 1521,
  fillStep: 1523,
  fillShift: 1525,
};
const defaultStep = "12.5";
const defaultShift = "0";

let fieldCount = 0;

// A labelled control on a line of its own.
function field(labelText: string, control: HTMLInputElement | HTMLSelectElement): HTMLElement {
  const line = document.createElement("div");
  line.className = "field";
  const label = document.createElement("label");
  control.id = `edit-field-${++fieldCount}`;
  label.htmlFor = control.id;
  label.textContent = labelText;
  line.append(label, control);
  return line;
}

function textInput(value: string): HTMLInputElement {
  const input = document.createElement("input");
  input.type = "text";
  input.autocomplete = "off";
  input.spellcheck = false;
  input.value = value;
  return input;
}

function choice(
  name: string,
  text: string,
  checked: boolean,
): [HTMLLabelElement, HTMLInputElement] {
  const label = document.createElement("label");
  const input = document.createElement("input");
  input.type = "radio";
  input.name = name;
  input.checked = checked;
  label.append(input, document.createTextNode(text));
  return [label, input];
}

// OK runs accept: a refused edit is shown and the dialog stays open with that field chosen.
function runForm(
  texts: Texts,
  className: string,
  caption: string,
  parts: HTMLElement[],
  fields: HTMLInputElement[],
  accept: () => RowEdit | null,
  first: HTMLElement,
): Promise<RowEdit | null> {
  const [dialog] = modal(className, caption);
  const row = document.createElement("div");
  row.className = "buttons";
  dialog.append(...parts, row);
  return new Promise((resolve) => {
    const finish = (edit: RowEdit | null) => {
      dialog.close();
      dialog.remove();
      resolve(edit);
    };
    const ok = button(texts.resource(1), () => {
      const edit = accept();
      if (!edit?.refused) {
        finish(edit);
        return;
      }
      void showMessageBox(
        texts("IDS_ERROR"),
        edit.message,
        [{ text: texts.resource(1), value: 0 }],
        0,
      ).then(() => {
        const wrong = fields[edit.refusedField] ?? fields[0];
        wrong?.focus();
        wrong?.select();
      });
    });
    row.append(
      ok,
      button(texts.resource(2), () => finish(null)),
    );
    dialog.addEventListener("keydown", (event) => {
      if (event.key === "Enter" && event.target instanceof HTMLInputElement) {
        event.preventDefault();
        ok.click();
      }
    });
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish(null);
    });
    document.body.append(dialog);
    dialog.showModal();
    first.focus();
    if (first instanceof HTMLInputElement) {
      first.select();
    }
  });
}

export interface SetColumnChoice {
  column: number;
  index: number;
  offset: string;
}

// Set for Selected Channels: opens on startColumn when it can be set.
export function runSetColumnDialog(
  texts: Texts,
  columns: ChannelColumn[],
  settable: number[],
  choices: (column: number) => string[],
  startColumn: number,
  apply: (choice: SetColumnChoice) => RowEdit,
): Promise<RowEdit | null> {
  const columnList = document.createElement("select");
  for (const column of settable) {
    columnList.append(
      new Option(columns[column].header.replace(/\s+/g, " ").trim(), String(column)),
    );
  }
  columnList.value = String(settable.includes(startColumn) ? startColumn : settable[0]);
  const valueLabel = texts.resource(ids.setValue);
  const values = document.createElement("select");
  const offset = textInput("");
  const valueLine = field(valueLabel, values);
  const offsetLine = field(valueLabel, offset);
  const hint = document.createElement("p");
  hint.className = "hint";
  const isOffset = () => columns[Number(columnList.value)].kind === "frequency";
  const show = () => {
    valueLine.hidden = isOffset();
    offsetLine.hidden = !isOffset();
    hint.textContent = texts(isOffset() ? "IDS_SET_OFFSET_HINT" : "IDS_SET_TONE_HINT");
    values.replaceChildren(
      ...(isOffset() ? [] : choices(Number(columnList.value)).map((text) => new Option(text))),
    );
  };
  columnList.addEventListener("change", show);
  show();
  return runForm(
    texts,
    "set-column",
    texts.resource(ids.setCaption),
    [field(texts.resource(ids.setColumn), columnList), valueLine, offsetLine, hint],
    [offset],
    () =>
      apply({
        column: Number(columnList.value),
        index: values.selectedIndex,
        offset: offset.value,
      }),
    columnList,
  );
}

export interface SortChoice {
  key: number;
  descending: boolean;
  selectionOnly: boolean;
}

// Sort Channels: sorting the selection is offered when more than one channel is chosen.
export function runSortDialog(
  texts: Texts,
  hasSelection: boolean,
  apply: (choice: SortChoice) => RowEdit,
): Promise<RowEdit | null> {
  const keys = document.createElement("select");
  for (const key of ["IDS_SORT_RECEIVE", "IDS_SORT_NAME", "IDS_SORT_NUMBER"]) {
    keys.append(new Option(texts(key)));
  }
  const order = document.createElement("div");
  order.className = "modes";
  const [ascendingLabel] = choice("sort-order", texts.resource(ids.ascending), true);
  const [descendingLabel, descending] = choice("sort-order", texts.resource(ids.descending), false);
  order.append(ascendingLabel, descendingLabel);
  const scope = document.createElement("div");
  scope.className = "modes";
  const [selectionLabel, selection] = choice(
    "sort-scope",
    texts.resource(ids.selection),
    hasSelection,
  );
  selection.disabled = !hasSelection;
  const [allLabel] = choice("sort-scope", texts.resource(ids.all), !hasSelection);
  scope.append(selectionLabel, allLabel);
  return runForm(
    texts,
    "sort",
    texts.resource(ids.sortCaption),
    [field(texts.resource(ids.sortKey), keys), order, scope],
    [],
    () =>
      apply({
        key: Math.max(0, keys.selectedIndex),
        descending: descending.checked,
        selectionOnly: selection.checked,
      }),
    keys,
  );
}

export interface FillChoice {
  first: string;
  step: string;
  shift: string;
}

export function runFillDialog(
  texts: Texts,
  start: string,
  apply: (choice: FillChoice) => RowEdit,
): Promise<RowEdit | null> {
  const first = textInput(start);
  const step = textInput(defaultStep);
  const shift = textInput(defaultShift);
  for (const input of [first, step, shift]) {
    input.inputMode = "decimal";
  }
  return runForm(
    texts,
    "fill",
    texts.resource(ids.fillCaption),
    [
      field(texts.resource(ids.fillFirst), first),
      field(texts.resource(ids.fillStep), step),
      field(texts.resource(ids.fillShift), shift),
    ],
    [first, step, shift],
    () => apply({ first: first.value, step: step.value, shift: shift.value }),
    first,
  );
}

// A difference list under its summary (template 136 or 165). With Cancel, resolves true for
// OK; without, there is OK alone.
export function showDifferences(
  texts: Texts,
  className: string,
  caption: string,
  listLabel: string,
  summary: string,
  lines: string[],
  withCancel: boolean,
): Promise<boolean> {
  const [dialog] = modal(className, caption);
  const said = document.createElement("p");
  said.id = `${className}-summary`;
  said.textContent = summary;
  const list = lineList(`${className}-list`, lines);
  list.setAttribute("aria-label", listLabel.replace(/[:：]$/, ""));
  list.setAttribute("aria-describedby", said.id);
  const row = document.createElement("div");
  row.className = "buttons";
  dialog.append(said, list, row);
  return new Promise((resolve) => {
    const finish = (taken: boolean) => {
      dialog.close();
      dialog.remove();
      resolve(taken);
    };
    const ok = button(texts.resource(1), () => finish(true));
    row.append(ok);
    if (withCancel) {
      row.append(button(texts.resource(2), () => finish(false)));
    }
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish(!withCancel);
    });
    document.body.append(dialog);
    dialog.showModal();
    ok.focus();
  });
}
