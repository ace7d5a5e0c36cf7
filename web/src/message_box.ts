// SPDX-License-Identifier: GPL-3.0-or-later
// The page's message boxes: a modal <dialog> with the desktop's caption, text and buttons.
// Escape answers safest; the button of focused (safest unless told) takes Enter, so Enter on a
// destructive question does nothing.
export interface BoxButton<T> {
  text: string;
  value: T;
}

export function showMessageBox<T>(
  caption: string,
  text: string,
  buttons: BoxButton<T>[],
  safest: T,
  focused: T = safest,
): Promise<T> {
  const dialog = document.createElement("dialog");
  dialog.className = "message-box";
  dialog.setAttribute("role", "alertdialog");
  const heading = document.createElement("h2");
  heading.id = "message-box-caption";
  heading.textContent = caption;
  const body = document.createElement("p");
  body.id = "message-box-text";
  body.textContent = text;
  dialog.setAttribute("aria-labelledby", heading.id);
  dialog.setAttribute("aria-describedby", body.id);
  const row = document.createElement("div");
  row.className = "buttons";
  dialog.append(heading, body, row);

  return new Promise<T>((resolve) => {
    const finish = (value: T) => {
      dialog.close();
      dialog.remove();
      resolve(value);
    };
    let focusedButton: HTMLButtonElement | null = null;
    for (const button of buttons) {
      const element = document.createElement("button");
      element.type = "button";
      element.textContent = button.text;
      element.addEventListener("click", () => finish(button.value));
      row.append(element);
      if (button.value === focused && !focusedButton) {
        focusedButton = element;
      }
    }
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish(safest);
    });
    document.body.append(dialog);
    dialog.showModal();
    focusedButton?.focus();
  });
}
