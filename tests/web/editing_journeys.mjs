// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table's Edit commands in the page, one ctest test per journey:
// `node editing_journeys.mjs NAME`. Each works on the demo channels read from the page's
// virtual radio with the desktop's keys and the toolbar, and checks the table, the clipboard,
// the words shown and the saved file as halvex-cli reads it.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { mkdtempSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { cliPath, runNamedJourney, sourceDir } from "./harness.mjs";
import {
  cell,
  command,
  downloaded,
  english,
  enterText,
  listedLines,
  menuLabel,
  openPage,
  pressUntil,
  runAxe,
  saveDownload,
  tableTexts,
  text,
  transfer,
  withoutFilePickers,
} from "./page_steps.mjs";

const okButton = english["Resource/1"];
const cancelButton = english["Resource/2"];

// The language text of key with %1, %2, ... filled in order.
function filled(key, ...values) {
  return values.reduce(
    (line, value, index) => line.replace(`%${index + 1}`, value),
    text(english, key),
  );
}

// halvex-cli on a file of the journey's folder: its standard output.
function cli(folder, ...args) {
  const run = spawnSync(
    cliPath,
    [
      args[0],
      "--settings",
      join(sourceDir, "data/setting.ini"),
      ...args.slice(1),
    ],
    { cwd: folder, encoding: "utf8" },
  );
  assert.equal(run.status, 0, `halvex-cli ${args[0]}: ${run.stderr}`);
  return run.stdout;
}

// The channel lines of halvex-cli dump, by channel number, without the number.
function dumpedChannels(folder, file) {
  const channels = {};
  for (const line of cli(folder, "dump", file).split("\n")) {
    const entry = line.match(/^ {2}(\d+): (\{.*\})$/);
    if (entry) {
      channels[entry[1]] = entry[2];
    }
  }
  return channels;
}

// Reads the demo channels from the virtual radio, with the clipboard the page may use.
async function readDemo(page, context, site) {
  await withoutFilePickers(context);
  await context.grantPermissions(["clipboard-read", "clipboard-write"], {
    origin: new URL(site).origin,
  });
  await openPage(page, site, "radio=virtual");
  assert.equal(await transfer(page, "Menu_Program_ReadData"), "");
  return tableTexts(page);
}

// Chooses channels first..last by their row headers, as a mouse does.
async function chooseRows(page, first, last = first) {
  await page.locator(`#channel-${first}`).click();
  if (last !== first) {
    await page.locator(`#channel-${last}`).click({ modifiers: ["Shift"] });
  }
}

// Waits for the status line to say this: clipboard commands end after the clipboard answers.
async function expectStatus(page, said) {
  await page
    .waitForFunction(
      (line) => document.querySelector(".status").textContent === line,
      said,
      { timeout: 10_000 },
    )
    .catch(async () => {
      assert.equal(await page.locator(".status").innerText(), said);
    });
}

// The message box's text, closed with Enter.
async function boxText(page) {
  const box = page.getByRole("alertdialog");
  await box.waitFor();
  const said = await box.locator("p").innerText();
  await page.keyboard.press("Enter");
  await box.waitFor({ state: "detached" });
  return said;
}

function journeyFolder() {
  return mkdtempSync(join(tmpdir(), "halvex-web-edit-"));
}

// The open context menu's items in order: each one's text and state, "-" for a separator.
function menuItems(page) {
  return page.$$eval(".context-menu:not([hidden]) > *", (items) =>
    items.map((item) =>
      item.getAttribute("role") === "separator"
        ? "-"
        : `${item.firstElementChild.textContent}${item.getAttribute("aria-disabled") === "true" ? " (greyed)" : ""}`,
    ),
  );
}

function chosenRows(page) {
  return page.locator("tbody tr.chosen th").allInnerTexts();
}

const journeys = {
  // Move, copy, paste, cut, insert, delete and clear whole channels by their keys and the
  // toolbar; each is one undo step named as the desktop names it. The clipboard's text is the
  // CSV export's rows with tabs, a spreadsheet's block of cells pastes with the import's
  // report, and halvex-cli reads the saved file's channels as pasted.
  async row_operations_clipboard({ page, context, site }) {
    const demo = await readDemo(page, context, site);
    const folder = journeyFolder();
    writeFileSync(join(folder, "demo.pgm"), await saveDownload(page));

    await cell(page, 2, 1).click();
    await page.keyboard.press("Shift+Space");
    await page.keyboard.press("Alt+ArrowDown");
    await expectStatus(page, filled("IDS_EDIT_MOVE_DOWN_CHANNEL", "2"));
    await page.keyboard.press("Alt+ArrowDown");
    const moved = await tableTexts(page);
    assert.deepEqual(moved.slice(0, 4), [demo[0], demo[2], demo[3], demo[1]]);
    await page.keyboard.press("Control+z");
    await page.keyboard.press("Control+z");
    assert.deepEqual(await tableTexts(page), demo, "two moves, two undo steps");

    await chooseRows(page, 1, 2);
    await page.keyboard.press("Control+Insert");
    await expectStatus(page, filled("IDS_CHANNELS_COPIED", "1-2"));
    const csv = cli(folder, "export", "demo.pgm").split("\r\n");
    assert.equal(
      await page.evaluate(() => window.navigator.clipboard.readText()),
      `${csv.slice(0, 3).join("\r\n").replaceAll(",", "\t")}\r\n`,
      "the export's header and rows, tab-separated",
    );
    await chooseRows(page, 10);
    await page.keyboard.press("Control+v");
    await expectStatus(page, filled("IDS_EDIT_PASTE_CHANNELS", "10-11"));
    let rows = await tableTexts(page);
    assert.deepEqual(rows.slice(9, 11), demo.slice(0, 2), "pasted exactly");

    await chooseRows(page, 11);
    await page.keyboard.press("Shift+Delete");
    await expectStatus(page, filled("IDS_EDIT_CUT_CHANNEL", "11"));
    await chooseRows(page, 12);
    await page.keyboard.press("Shift+Insert");
    await expectStatus(page, filled("IDS_EDIT_PASTE_CHANNEL", "12"));
    rows = await tableTexts(page);
    assert.deepEqual(
      [rows[10], rows[11]],
      [demo[10], demo[1]],
      "cut and pasted",
    );

    const beforeInsert = rows;
    await chooseRows(page, 1);
    await command(page, "Menu_Edit_Insert_Channel");
    rows = await tableTexts(page);
    assert.deepEqual(rows[0], demo[10], "an empty channel at 1");
    assert.deepEqual(rows.slice(1, 4), beforeInsert.slice(0, 3));
    await command(page, "Menu_Edit_Delete_Channel");
    assert.deepEqual(await tableTexts(page), beforeInsert);
    await chooseRows(page, 12);
    await command(page, "Menu_Edit_Clear");
    assert.deepEqual((await tableTexts(page))[11], demo[11]);

    // Cells copied from a spreadsheet: no channel numbers, columns in its own order.
    await page.evaluate(() =>
      window.navigator.clipboard.writeText(
        "Name\tFrequency\tDuplex\tOffset\tTone\trToneFreq\n" +
          "SHEET\t146.5200\t+\t0.6\tTone\t100.0\n" +
          "Cell2\t147.015\t\t\t\t\n",
      ),
    );
    await chooseRows(page, 20);
    await page.keyboard.press("Control+v");
    const report = await boxText(page);
    assert.match(report, /^2 rows imported, \d+ changes reported\./);
    assert.match(report, /CELL2/);
    await expectStatus(page, filled("IDS_EDIT_PASTE_CHANNELS", "20-21"));
    const undo = page.getByRole("button", {
      name: menuLabel(english, "Menu_Edit_Undo"),
    });
    assert.match(
      await undo.getAttribute("title"),
      new RegExp(filled("IDS_EDIT_PASTE_CHANNELS", "20-21")),
    );

    writeFileSync(join(folder, "edited.pgm"), await saveDownload(page));
    const dumped = dumpedChannels(folder, "edited.pgm");
    const original = dumpedChannels(folder, "demo.pgm");
    assert.equal(dumped[10], original[1], "every setting of channel 1 kept");
    assert.deepEqual(
      [dumped[11], dumped[12]],
      [undefined, undefined],
      "cut, cleared",
    );
    assert.match(
      dumped[20],
      /receive: 146\.52000, decode: off, transmit: 147\.12000, encode: 100\.0,.*name: "SHEET"/,
    );
    assert.match(dumped[21], /receive: 147\.01500,.*name: "CELL2"/);
  },

  // The table's context menu: the desktop's items, separators and texts, greyed as its Edit
  // menu greys them; a right click keeps the chosen channels it falls on and chooses the one
  // it falls on otherwise; the keyboard opens it on the focus cell, its arrows pass over the
  // greyed items, Enter or an item's letter runs one and Escape gives the cell back; a drag
  // down the headers chooses the rows the pointer passes, over the cells too. axe over the
  // open menu; the saved file holds what the menu's commands did.
  async context_menu_and_row_drag({ page, context, site }) {
    const demo = await readDemo(page, context, site);
    const folder = journeyFolder();
    writeFileSync(join(folder, "demo.pgm"), await saveDownload(page));
    const menu = page.getByRole("menu");
    const caption = (key) =>
      text(english, key).split("\t")[0].replace(/&(.)/, "$1");

    await chooseRows(page, 2, 3);
    await page.locator("#channel-3").click({ button: "right" });
    assert.deepEqual(
      await chosenRows(page),
      ["2", "3"],
      "a chosen channel stays chosen",
    );
    const desktopMenu =
      "Cut Copy Paste - Insert_Channel Delete_Channel Move_Up Move_Down Clear - " +
      "Set_For_Selected Sort Fill";
    assert.deepEqual(
      await menuItems(page),
      desktopMenu
        .split(" ")
        .map((key) => (key === "-" ? key : caption(`Menu_Edit_${key}`))),
    );
    await runAxe(page, "over the channel table's menu", {
      include: [[".context-menu"]],
    });
    await menu
      .getByRole("menuitem", {
        name: menuLabel(english, "Menu_Edit_Move_Down"),
      })
      .click();
    assert.ok(await menu.isHidden());
    await expectStatus(page, filled("IDS_EDIT_MOVE_DOWN", "2-3"));
    assert.deepEqual((await tableTexts(page)).slice(1, 4), [
      demo[3],
      demo[1],
      demo[2],
    ]);
    const undo = page.getByRole("button", {
      name: menuLabel(english, "Menu_Edit_Undo"),
    });
    assert.match(
      await undo.getAttribute("title"),
      new RegExp(filled("IDS_EDIT_MOVE_DOWN", "2-3")),
      "one undo step, named as the desktop names it",
    );

    await cell(page, 1, 12).click({ button: "right" });
    assert.deepEqual(
      await chosenRows(page),
      ["1"],
      "the channel under the pointer is chosen",
    );
    const focused = () =>
      page.evaluate(
        () => document.activeElement.firstElementChild?.textContent,
      );
    const greyed = await menuItems(page);
    assert.ok(
      greyed.includes(`${caption("Menu_Edit_Move_Up")} (greyed)`),
      greyed.join("|"),
    );
    const usable = greyed.filter(
      (item) => item !== "-" && !item.endsWith("(greyed)"),
    );
    const reached = [];
    while (reached.length < usable.length) {
      reached.push(await focused());
      await page.keyboard.press("ArrowDown");
    }
    assert.deepEqual(reached, usable, "the arrows pass over greyed items");
    assert.equal(await focused(), reached[0], "and wrap round");
    await page.keyboard.press("Escape");
    assert.ok(await menu.isHidden());
    assert.equal(
      await page.evaluate(() => document.activeElement.dataset.row),
      "1",
      "Escape gives the keyboard back to the table",
    );

    await cell(page, 6, 1).click();
    await page.keyboard.press("ContextMenu");
    await menu.waitFor();
    assert.deepEqual(await chosenRows(page), ["6"]);
    await page.keyboard.press("Escape");
    await page.keyboard.press("Shift+F10");
    await menu.waitFor();
    await pressUntil(
      page,
      "ArrowUp",
      async () => (await focused()) === caption("Menu_Edit_Clear"),
      12,
      "Clear is reached",
    );
    await page.keyboard.press("Enter");
    await expectStatus(page, filled("IDS_EDIT_CLEAR_CHANNEL", "6"));

    // A drag down the headers chooses as it goes, also over the cells.
    await page.locator("#channel-3").hover();
    await page.mouse.down();
    await cell(page, 4, 6).hover();
    await page.mouse.up();
    assert.deepEqual(await chosenRows(page), ["3", "4"]);
    await cell(page, 3, 12).click({ button: "right" });
    await page.keyboard.press("d");
    await expectStatus(page, filled("IDS_EDIT_DELETE_CHANNELS", "3-4"));

    writeFileSync(join(folder, "edited.pgm"), await saveDownload(page));
    const original = dumpedChannels(folder, "demo.pgm");
    const dumped = dumpedChannels(folder, "edited.pgm");
    assert.ok(original[6], "the demo uses channel 6");
    assert.deepEqual(
      [1, 2, 3, 4].map((n) => dumped[n]),
      [original[1], original[4], original[5], undefined],
      "moved, cleared and deleted",
    );
  },

  // Find a channel as it is typed, sort the table, set a column for chosen channels and fill
  // them with a series: each by its dialog in the desktop's words, one undo step each, with
  // a refused amount kept in its dialog; axe over every dialog and the find bar.
  async find_sort_set_fill({ page, context, site }) {
    const demo = await readDemo(page, context, site);
    const names = demo.map((row) => row[11]);

    await page.keyboard.press("Control+f");
    await page.keyboard.type(names[3].toLowerCase());
    const findStatus = page.locator("#find-status");
    assert.equal(
      await findStatus.innerText(),
      filled("IDS_FIND_MATCH", "4", `${demo[3][0]} ${names[3]}`, "1", "1"),
    );
    assert.equal(await page.locator("tbody tr.chosen").count(), 1);
    assert.equal(
      await page.locator("tbody tr.chosen th").innerText(),
      "4",
      "the channel found is chosen",
    );
    await runAxe(page, "over the find bar", { include: [[".find-bar"]] });
    await page.keyboard.press("Escape");
    assert.ok(await page.locator(".find-bar").isHidden());

    await command(page, "Menu_Edit_Sort");
    const sort = page.locator("dialog.sort");
    await runAxe(page, "over Sort Channels", { include: [["dialog.sort"]] });
    await sort.getByLabel(english["Resource/1511"]).selectOption({ index: 1 });
    await sort.getByLabel(english["Resource/1514"]).check();
    await sort.getByLabel(english["Resource/1516"]).check();
    await sort.getByRole("button", { name: okButton }).click();
    const sorted = await tableTexts(page);
    const used = sorted.filter((row) => row[0] !== "");
    assert.deepEqual(
      used.map((row) => row[11]),
      [...names.filter(Boolean)].sort().reverse(),
      "names descending",
    );
    assert.deepEqual(
      [...used].sort(),
      demo.filter((row) => row[0] !== "").sort(),
      "whole channels moved",
    );
    await page.keyboard.press("Control+z");
    assert.deepEqual(await tableTexts(page), demo, "the sort is one step");

    const lastUsed = names.filter(Boolean).length;
    await chooseRows(page, 1, lastUsed + 1);
    await command(page, "Menu_Edit_Set_For_Selected");
    const set = page.locator("dialog.set-column");
    await set
      .getByLabel(english["Resource/1501"])
      .selectOption({ label: english["ChText/IDS_ChText5"] });
    await set
      .getByRole("combobox", { name: english["Resource/1503"] })
      .selectOption({ index: 1 });
    await runAxe(page, "over Set for Selected Channels", {
      include: [["dialog.set-column"]],
    });
    await set.getByRole("button", { name: okButton }).click();
    assert.equal(
      await boxText(page),
      filled("IDS_BULK_SKIPPED_EMPTY", String(lastUsed + 1)),
    );
    const powers = (await tableTexts(page))
      .slice(0, lastUsed)
      .map((row) => row[4]);
    assert.deepEqual(new Set(powers).size, 1, "one power for all");
    assert.notEqual(powers[0], "");

    await chooseRows(page, 20, 22);
    await command(page, "Menu_Edit_Fill");
    const fill = page.locator("dialog.fill");
    await runAxe(page, "over Fill Frequencies", { include: [["dialog.fill"]] });
    const first = fill.getByLabel(english["Resource/1521"]);
    await first.fill("14x");
    await fill.getByLabel(english["Resource/1523"]).fill("25");
    await fill.getByLabel(english["Resource/1525"]).fill("0.6");
    await fill.getByRole("button", { name: okButton }).click();
    assert.equal(
      await boxText(page),
      filled("IDS_BAD_FREQUENCY_AMOUNT", "14x", "MHz"),
    );
    assert.ok(await fill.isVisible(), "the dialog stays");
    await page.waitForFunction(() => document.activeElement?.value === "14x");
    await page.keyboard.type("146.5");
    await page.keyboard.press("Enter");
    await fill.waitFor({ state: "detached" });
    const filledRows = (await tableTexts(page)).slice(19, 22);
    assert.deepEqual(
      filledRows.map((row) => [row[0], row[2]]),
      [
        ["146.50000", "147.10000"],
        ["146.52500", "147.12500"],
        ["146.55000", "147.15000"],
      ],
    );
    await expectStatus(page, filled("IDS_EDIT_FILL_FREQUENCIES", "20-22"));
    await page.keyboard.press("Control+z");
    assert.deepEqual(
      (await tableTexts(page)).slice(19, 22),
      demo.slice(19, 22),
    );
  },

  // Compare with Radio reads the radio into a copy: the differences in the desktop's words,
  // as many as halvex-cli diff finds, and the document as it was. A text's import first lists
  // what it would change; Cancel leaves the saved file byte for byte, OK takes it as one step.
  async compare_and_text_import({ page, context, site }) {
    await readDemo(page, context, site);
    const folder = journeyFolder();
    writeFileSync(join(folder, "radio.pgm"), await saveDownload(page));
    const name = await cell(page, 3, 12).inputValue();
    await enterText(page, 3, 12, "DIFF");
    await enterText(page, 7, 1, "150.1");
    const edited = await saveDownload(page);
    writeFileSync(join(folder, "edited.pgm"), edited);
    const before = [await tableTexts(page), await page.title()];

    assert.equal(await transfer(page, "Menu_Program_Compare"), "");
    const compare = page.locator("dialog.compare");
    await compare.waitFor();
    assert.equal(
      await compare.locator("h2").innerText(),
      english["Resource/136"],
    );
    assert.equal(
      await compare.locator("p").innerText(),
      text(english, "IDS_COMPARE_DIFFER"),
    );
    const lines = await listedLines(page, "dialog.compare");
    const diff = spawnSync(
      cliPath,
      [
        "diff",
        "--settings",
        join(sourceDir, "data/setting.ini"),
        "edited.pgm",
        "radio.pgm",
      ],
      { cwd: folder, encoding: "utf8" },
    );
    assert.equal(
      lines.length,
      diff.stdout.trim().split("\n").length,
      diff.stdout,
    );
    const place = filled(
      "IDS_DIFF_PLACE",
      filled("IDS_DIFF_CHANNEL", "3"),
      english["ChText/IDS_ChText12"],
    );
    assert.ok(
      lines.includes(filled("IDS_DIFF_LINE", place, "DIFF", name)),
      lines.join("\n"),
    );
    await runAxe(page, "over Compare with Radio", {
      include: [["dialog.compare"]],
    });
    await compare.getByRole("button", { name: okButton }).click();
    assert.deepEqual([await tableTexts(page), await page.title()], before);

    const yaml = String(
      await downloaded(page, () => command(page, "Menu_File_Export_Config")),
    ).replace('name: "DIFF"', 'name: "TEXT"');
    writeFileSync(join(folder, "changed.yaml"), yaml);
    const importText = async () => {
      const chooser = page.waitForEvent("filechooser");
      await command(page, "Menu_File_Import_Config");
      await (await chooser).setFiles(join(folder, "changed.yaml"));
      await page.locator("dialog.config-import").waitFor();
    };
    await importText();
    const changes = page.locator("dialog.config-import");
    assert.equal(
      await changes.locator("p").innerText(),
      text(english, "IDS_CONFIG_CHANGES"),
    );
    assert.deepEqual(await listedLines(page, "dialog.config-import"), [
      filled("IDS_DIFF_LINE", place, "DIFF", "TEXT"),
    ]);
    await runAxe(page, "over Import Configuration", {
      include: [["dialog.config-import"]],
    });
    await changes.getByRole("button", { name: cancelButton }).click();
    assert.deepEqual(
      await saveDownload(page),
      edited,
      "Cancel changes nothing",
    );

    await importText();
    await changes.getByRole("button", { name: okButton }).click();
    assert.equal(await cell(page, 3, 12).inputValue(), "TEXT");
    await page.keyboard.press("Control+z");
    assert.equal(await cell(page, 3, 12).inputValue(), "DIFF", "one undo step");
  },
};

await runNamedJourney("editing_journeys.mjs", journeys);
