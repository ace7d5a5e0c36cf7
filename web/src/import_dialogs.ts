// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's Import Channels dialog (replace the table or fill only empty channels, the
// report of every change, Save Report) and a list box for an import's errors or an export's
// notes, as modal <dialog>s. The lines shown are the core's; nothing here judges a file.
import { writeFile } from "./file_access";
import type { Texts } from "./texts";
import type { ChannelImport } from "./wasm/halvex";

export function button(text: string, run: () => void): HTMLButtonElement {
  const element = document.createElement("button");
  element.type = "button";
  element.textContent = text;
  element.addEventListener("click", run);
  return element;
}

export function lineList(id: string, lines: string[]): HTMLUListElement {
  const list = document.createElement("ul");
  list.id = id;
  list.className = "line-list";
  list.tabIndex = 0;
  list.replaceChildren(
    ...lines.map((line) => {
      const item = document.createElement("li");
      item.textContent = line;
      return item;
    }),
  );
  return list;
}

export function modal(className: string, caption: string): [HTMLDialogElement, HTMLHeadingElement] {
  const dialog = document.createElement("dialog");
  dialog.className = className;
  const heading = document.createElement("h2");
  heading.id = `${className}-caption`;
  heading.textContent = caption;
  dialog.setAttribute("aria-labelledby", heading.id);
  dialog.append(heading);
  return [dialog, heading];
}

// A caption, a line above and the lines under it, with OK.
export function showLineList(
  texts: Texts,
  caption: string,
  text: string,
  lines: string[],
): Promise<void> {
  const [dialog] = modal("line-box", caption);
  const body = document.createElement("p");
  body.id = "line-box-text";
  body.textContent = text;
  const list = lineList("line-box-list", lines);
  list.setAttribute("aria-labelledby", body.id);
  const row = document.createElement("div");
  row.className = "buttons";
  dialog.append(body, list, row);
  return new Promise((resolve) => {
    const finish = () => {
      dialog.close();
      dialog.remove();
      resolve();
    };
    const ok = button(texts.resource(1), finish);
    row.append(ok);
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish();
    });
    document.body.append(dialog);
    dialog.showModal();
    ok.focus();
  });
}

// Opens on the fill-empty preview, as the desktop's does; preview(replace) gives the report of
// either mode. Resolves to the mode chosen with OK, or null for Cancel.
export function runChannelImportDialog(
  texts: Texts,
  fillEmpty: ChannelImport,
  preview: (replace: boolean) => ChannelImport,
): Promise<boolean | null> {
  const [dialog] = modal("channel-import", texts.resource(160));
  const modes = document.createElement("div");
  modes.className = "modes";
  const choice = (id: number, checked: boolean) => {
    const label = document.createElement("label");
    const input = document.createElement("input");
    input.type = "radio";
    input.name = "import-mode";
    input.checked = checked;
    label.append(input, document.createTextNode(texts.resource(id)));
    modes.append(label);
    return input;
  };
  const replace = choice(1201, false);
  choice(1202, true);
  const summary = document.createElement("p");
  summary.id = "channel-import-summary";
  summary.setAttribute("role", "status");
  const report = lineList("channel-import-report", []);
  report.setAttribute("aria-labelledby", summary.id);
  let shown = fillEmpty;
  const show = (result: ChannelImport) => {
    shown = result;
    summary.textContent = result.ok ? result.summary : result.message;
    report.replaceChildren(...lineList("", result.losses).children);
  };
  show(fillEmpty);
  for (const input of modes.querySelectorAll("input")) {
    input.addEventListener("change", () => show(preview(replace.checked)));
  }
  const row = document.createElement("div");
  row.className = "buttons";
  dialog.append(modes, summary, report, row);

  return new Promise((resolve) => {
    const finish = (mode: boolean | null) => {
      dialog.close();
      dialog.remove();
      resolve(mode);
    };
    const saveReport = button(texts.resource(1205).replace(/(\.\.\.|…)$/, ""), () => {
      const text = [...shown.losses, shown.summary].join("\n") + "\n";
      void writeFile({ name: "import-report.txt", handle: null }, new TextEncoder().encode(text));
    });
    saveReport.className = "left";
    const ok = button(texts.resource(1), () => finish(shown.ok ? replace.checked : null));
    row.append(
      saveReport,
      ok,
      button(texts.resource(2), () => finish(null)),
    );
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish(null);
    });
    document.body.append(dialog);
    dialog.showModal();
    ok.focus();
  });
}
