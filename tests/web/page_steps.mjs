// SPDX-License-Identifier: GPL-3.0-or-later
// Steps the journeys take on the page, as a user does them, and what they read back.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { languageTexts, sourceDir } from "./harness.mjs";

export const english = languageTexts("english.lang");
export const chinese = languageTexts("chinese.lang");
export const text = (texts, key) => texts[`String/${key}`];
export const menuLabel = (texts, key) =>
  text(texts, key)
    .split("\t")[0]
    .replace(/\s*\(&.\)/, "")
    .replace("&", "")
    .replace(/\.\.\.$/, "");

// Opens the page with these address parameters and waits until its table is interactive.
export async function openPage(page, site, parameters = "") {
  await page.goto(`${site}${parameters ? `?${parameters}` : ""}`);
  await page.waitForSelector(
    "body[data-ready='1'] table.channels tbody input",
    { timeout: 30_000 },
  );
}

export function cell(page, row, column) {
  return page.locator(`[data-row="${row}"][data-column="${column}"]`);
}

// Clicks a cell, types into it and leaves it with the key given.
export async function enterText(page, row, column, typed, key = "Enter") {
  await cell(page, row, column).click();
  await page.keyboard.type(typed);
  await page.keyboard.press(key);
}

// Presses a key until reached() holds; fails past limit presses.
export async function pressUntil(page, key, reached, limit, what) {
  for (let presses = 0; !(await reached()); presses += 1) {
    assert.ok(presses < limit, what);
    await page.keyboard.press(key);
  }
}

// Every cell's text as the table shows it, row by row.
export function tableTexts(page) {
  return page.$$eval("table.channels tbody tr", (rows) =>
    rows.map((row) =>
      [...row.querySelectorAll("input, select")].map((control) =>
        control instanceof HTMLSelectElement
          ? (control.selectedOptions[0]?.text ?? "")
          : control.value,
      ),
    ),
  );
}

export async function radioMemory(page) {
  return Buffer.from(
    await page.evaluate(() => Array.from(window.halvexVirtualRadio.memory())),
  );
}

// Presses a toolbar command with the mouse, then the transfer dialog's OK; resolves when the
// dialog has closed or shows a final line, with that line ("" when it closed).
export async function transfer(page, commandKey, { waitForEnd = true } = {}) {
  await page
    .getByRole("button", { name: menuLabel(english, commandKey) })
    .click();
  const dialog = page.locator("dialog.transfer");
  await dialog.waitFor();
  await dialog.getByRole("button", { name: english["Resource/1"] }).click();
  if (!waitForEnd) {
    return "";
  }
  await page.waitForFunction(
    () => {
      const open = document.querySelector("dialog.transfer");
      const ok = open?.querySelector("button");
      return !open || (ok && !ok.disabled);
    },
    null,
    { timeout: 120_000 },
  );
  return (await dialog.count())
    ? await page.locator("#transfer-message").innerText()
    : "";
}

// Presses a toolbar command with the mouse.
export async function command(page, commandKey) {
  await page
    .getByRole("button", { name: menuLabel(english, commandKey) })
    .click();
}

// Does what starts a download and returns the downloaded file's bytes.
export async function downloaded(page, action) {
  const download = page.waitForEvent("download");
  await action();
  return readFileSync(await (await download).path());
}

// Saves with Ctrl+S and returns the downloaded file's bytes.
export function saveDownload(page) {
  return downloaded(page, () => page.keyboard.press("Control+s"));
}

// Presses a toolbar command that opens a file and picks path in the file chooser.
export async function pickWith(page, commandKey, path) {
  const chooser = page.waitForEvent("filechooser");
  await command(page, commandKey);
  await (await chooser).setFiles(path);
}

// Drops a file named name holding bytes on the channel table, as a user drags one from a
// file manager: no file chooser is involved.
export async function dropFile(page, name, bytes) {
  await page.evaluate(
    ([fileName, content]) => {
      const dataTransfer = new DataTransfer();
      dataTransfer.items.add(new File([new Uint8Array(content)], fileName));
      const drop = { dataTransfer, bubbles: true, cancelable: true };
      document
        .querySelector("table.channels")
        .dispatchEvent(new DragEvent("drop", drop));
    },
    [name, Array.from(bytes)],
  );
}

// The lines of the list in a dialog.
export function listedLines(page, selector) {
  return page.locator(`${selector} li`).allInnerTexts();
}

// The page as a browser without the File System Access API sees it, so Save downloads.
export async function withoutFilePickers(context) {
  await context.addInitScript(() => {
    delete window.showOpenFilePicker;
    delete window.showSaveFilePicker;
  });
}

// axe-core over the page, or over the part an axe context names.
export async function runAxe(page, where, context = null) {
  const require = createRequire(join(sourceDir, "web/package.json"));
  if (!(await page.evaluate(() => "axe" in window))) {
    await page.addScriptTag({ path: require.resolve("axe-core/axe.min.js") });
  }
  const { violations } = await page.evaluate(
    (scope) => window.axe.run(scope ?? document),
    context,
  );
  assert.deepEqual(
    violations
      .filter((v) => v.impact === "serious" || v.impact === "critical")
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" "))}`),
    [],
    `axe finds no serious or critical violation ${where}`,
  );
}
