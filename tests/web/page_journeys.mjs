// SPDX-License-Identifier: GPL-3.0-or-later
// Journeys of the Optional Functions and VFO pages, the FM presets dialog and the settings
// dialog: `node page_journeys.mjs NAME`. Values are changed with real keys and clicks, and the
// saved file is read back by the native program: its text form must differ from the one
// before exactly in the lines edited.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { mkdtempSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { cliPath, runNamedJourney, sourceDir } from "./harness.mjs";
import {
  chinese,
  command,
  english,
  menuLabel,
  openPage,
  radioMemory,
  runAxe,
  saveDownload,
  text,
  transfer,
  withoutFilePickers,
} from "./page_steps.mjs";

const resource = (id) => english[`Resource/${id}`];
const cloneStart = 0x0800;
const pgmHeader = 48;

// The native program's text form of a .pgm file the page saved.
function dump(file) {
  const path = join(mkdtempSync(join(tmpdir(), "halvex-web-")), "page.pgm");
  writeFileSync(path, file);
  const run = spawnSync(cliPath, [
    "dump",
    "--settings",
    join(sourceDir, "data/setting.ini"),
    path,
  ]);
  assert.equal(run.status, 0, `halvex-cli dump: ${run.stderr}`);
  return String(run.stdout).split("\n");
}

// The lines of after that differ from before, as "old => new".
function changedLines(before, after) {
  assert.equal(after.length, before.length, "the same shape of text form");
  return before.flatMap((line, k) =>
    line === after[k] ? [] : [`${line} => ${after[k]}`],
  );
}

// Saves before and after edit(), and returns the text form's changed lines.
async function editedLines(page, edit) {
  const before = dump(await saveDownload(page));
  await edit();
  return changedLines(before, dump(await saveDownload(page)));
}

const undoTitle = (page) =>
  page
    .getByRole("button", { name: menuLabel(english, "Menu_Edit_Undo") })
    .getAttribute("title");

const journeys = {
  // Lists by keyboard, a check box by mouse, the PTT ID code typed with a letter it refuses;
  // one edit undone and redone: the file differs in exactly those options.
  async function_page_edits({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");
    const lines = await editedLines(page, async () => {
      await page
        .getByRole("tab", { name: text(english, "IDS_FUNCTION") })
        .click();
      await runAxe(page, "on the functions page");
      await page.getByLabel(resource(1026)).focus();
      await page.keyboard.press("ArrowDown");
      await page.keyboard.press("ArrowDown");
      await page.getByLabel(resource(1031)).click();
      await page.getByLabel(resource(1061)).click();
      await page.keyboard.type("1x2a");
      await page.keyboard.press("Tab");
      await page.getByLabel(resource(1028)).focus();
      await page.keyboard.press("End");
      assert.match(await undoTitle(page), new RegExp(`Edit ${resource(1028)}`));
      await page.keyboard.press("Control+z");
      assert.equal(
        await page
          .getByLabel(resource(1028))
          .evaluate((list) => list.selectedIndex),
        0,
        "Undo puts the scan mode back",
      );
      await page.keyboard.press("Control+y");
    });
    assert.deepEqual(lines, [
      "  squelch: 4 =>   squelch: 6",
      "  scan_mode: Time (TO) =>   scan_mode: Search (SE)",
      "  beep: off =>   beep: on",
      '  ptt_id_code: "" =>   ptt_id_code: "12A"',
    ]);
  },

  // The tabs by arrow keys; frequencies typed (one above the band, clamped with the core's
  // note), lists by keyboard: the file's VFO lines say what was typed and stored.
  async vfo_page_edits({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");
    const f1 = resource(1093);
    const f2 = resource(1116);
    const box = (group, id) =>
      page.getByLabel(`${group} ${resource(id)}`, { exact: true });
    let stored = "";
    const lines = await editedLines(page, async () => {
      await page
        .getByRole("tab", { name: text(english, "IDS_CHANNEL") })
        .focus();
      await page.keyboard.press("ArrowLeft");
      assert.equal(
        await page.getByRole("tab", { selected: true }).innerText(),
        text(english, "IDS_VFOFREQ"),
      );
      await page.keyboard.press("Tab");
      await page.keyboard.type("145.5");
      await page.keyboard.press("Tab");
      assert.equal(await box(f1, 1094).inputValue(), "145.50000");
      await box(f1, 1096).click();
      await page.keyboard.press("Control+a");
      await page.keyboard.type("146.1");
      await page.keyboard.press("Enter");
      await box(f1, 1102).focus();
      await page.keyboard.press("ArrowUp");
      await box(f2, 1117).click();
      await page.keyboard.press("Control+a");
      await page.keyboard.type("999");
      await page.keyboard.press("Enter");
      stored = await box(f2, 1117).inputValue();
      assert.ok(
        (await page.locator(".status").innerText()).includes(stored),
        "clamp note",
      );
      await box(f2, 1133).focus();
      await page.keyboard.press("End");
      assert.equal(await undoTitle(page), `Undo Edit ${f2} ${resource(1133)}`);
      await runAxe(page, "on the VFO page");
    });
    assert.deepEqual(lines, [
      "  f1: {receive: 136.00000, decode: off, transmit: 136.00000, encode: off, power: high, bcl: off, bandwidth: wide, scan_add: off, reverse: off, ptt_id: off, compander: off, step: 2.5 kHz} =>" +
        "   f1: {receive: 145.50000, decode: off, transmit: 146.10000, encode: off, power: low, bcl: off, bandwidth: wide, scan_add: off, reverse: off, ptt_id: off, compander: off, step: 2.5 kHz}",
      "  f2: {receive: 136.00000, decode: off, transmit: 136.00000, encode: off, power: high, bcl: off, bandwidth: wide, scan_add: off, reverse: off, ptt_id: off, compander: off, step: 2.5 kHz} =>" +
        `   f2: {receive: ${stored}, decode: off, transmit: 136.00000, encode: off, power: high, bcl: off, bandwidth: wide, scan_add: off, reverse: off, ptt_id: off, compander: off, step: 25 kHz}`,
    ]);
  },

  // Cancel leaves the document as it was; OK makes one undo step of every choice; written to
  // the virtual radio, its memory holds the saved file's presets.
  async fm_presets_dialog({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");
    assert.equal(await transfer(page, "Menu_Program_ReadData"), "");
    const dialog = page.locator("dialog.fm-presets");
    const open = async () => {
      await command(page, "Menu_Program_Radiogram");
      await dialog.waitFor();
    };
    const title = await page.title();
    await open();
    await page.keyboard.press("ArrowDown");
    await page.keyboard.press("Escape");
    await dialog.waitFor({ state: "detached" });
    assert.equal(
      await page.title(),
      title,
      "Cancel leaves the document unmodified",
    );

    const lines = await editedLines(page, async () => {
      await open();
      await runAxe(page, "over the FM presets dialog", {
        include: ["dialog.fm-presets"],
      });
      await dialog
        .getByLabel(text(english, "IDS_ROW_PRESET").replace("%1", "2"))
        .focus();
      await page.keyboard.type("99M5");
      await dialog.getByLabel(resource(1090)).focus();
      await page.keyboard.type("101M7");
      await dialog.getByRole("button", { name: resource(1) }).click();
      await dialog.waitFor({ state: "detached" });
      assert.equal(await undoTitle(page), `Undo Edit ${resource(155)}`);
      await page.keyboard.press("Control+z");
      await open();
      assert.deepEqual(
        [
          await dialog.locator('[data-preset="2"] option:checked').innerText(),
          await dialog.locator("#fm-frequency option:checked").innerText(),
        ],
        ["93M0", "87M5"],
        "one Undo takes back both choices",
      );
      await page.keyboard.press("Escape");
      await dialog.waitFor({ state: "detached" });
      await page.keyboard.press("Control+y");
    });
    assert.deepEqual(lines, [
      "  frequency: 87M5 =>   frequency: 101M7",
      "  presets: {1: 87M5, 2: 93M0, 3: 99M0, 4: off, 5: off, 6: off, 7: off, 8: off, 9: off, 10: off, 11: off, 12: off, 13: off, 14: off, 15: off, 16: off} =>" +
        "   presets: {1: 87M5, 2: 99M5, 3: 99M0, 4: off, 5: off, 6: off, 7: off, 8: off, 9: off, 10: off, 11: off, 12: off, 13: off, 14: off, 15: off, 16: off}",
    ]);
    assert.equal(await transfer(page, "Menu_Program_WriteData"), "");
    const file = await saveDownload(page);
    assert.deepEqual(
      (await radioMemory(page)).subarray(cloneStart),
      Buffer.from(file.subarray(pgmHeader + cloneStart)),
    );
  },

  // Wrong values are refused with the core's words and change nothing; a channel count, the
  // check after writing and a new band line are kept across a reload; Restore Defaults brings
  // back the shipped settings.
  async settings_dialog({ page, site }) {
    await openPage(page, site, "radio=virtual");
    const dialog = page.locator("dialog.settings");
    const open = async () => {
      await command(page, "Menu_Setting");
      await dialog.waitFor();
    };
    const field = (key) => dialog.locator(`#setting-${key}`);
    const replace = async (key, typed) => {
      await field(key).click();
      await page.keyboard.press("Control+a");
      await page.keyboard.type(typed);
    };
    const refusal = async (pattern) => {
      await dialog.getByRole("button", { name: resource(1) }).click();
      const box = page.locator("dialog.message-box");
      await box.waitFor();
      assert.match(await box.locator("p").innerText(), pattern);
      await page.keyboard.press("Escape");
      await box.waitFor({ state: "detached" });
    };
    await open();
    await runAxe(page, "over the settings dialog", {
      include: ["dialog.settings"],
    });
    await replace("channelcount", "20");
    await replace("readtime", "0");
    await refusal(
      /readtime=0 is not allowed: readtime takes a whole number from 1 to 600000/,
    );
    await replace("readtime", "100");
    await replace("Freq6", "150-160MHz");
    await replace("data6", "0015");
    await refusal(
      new RegExp(
        text(english, "IDS_WEB_BAD_BAND_LINE")
          .replace("%1", "data6=0015")
          .slice(0, 20),
      ),
    );
    await replace("data6", "0015001600000000");
    await field("verifywrite").check();
    await dialog.getByRole("button", { name: resource(1) }).click();
    await dialog.waitFor({ state: "detached" });

    const shown = async () => ({
      rows: await page.locator("table.channels tbody tr").count(),
      verify: await page.getByLabel(resource(1160)).isChecked(),
      bands: await page.locator("#band option").allInnerTexts(),
    });
    const shipped = [
      "136-174MHz",
      "400-480MHz",
      "400-470MHz",
      "136-174/400-520/220-260MHz",
      "144-148MHz",
      "430-440MHz",
    ];
    await page.reload();
    await openPage(page, site, "radio=virtual");
    assert.deepEqual(await shown(), {
      rows: 20,
      verify: true,
      bands: [...shipped, "150-160MHz"],
    });
    await page.locator("#band").selectOption({ index: 6 });
    await page.getByRole("button", { name: resource(1) }).click();
    await page.locator(".channels input").first().click();
    await page.keyboard.type("170");
    await page.keyboard.press("Enter");
    assert.match(
      await page.locator(".status").innerText(),
      /159\.99500/,
      "the new band's limit",
    );

    await open();
    await dialog
      .getByRole("button", { name: text(english, "IDS_WEB_DEFAULTS") })
      .click();
    assert.equal(await field("channelcount").inputValue(), "128");
    await dialog.getByRole("button", { name: resource(1) }).click();
    await page.reload();
    await openPage(page, site, "radio=virtual");
    assert.deepEqual(await shown(), {
      rows: 128,
      verify: false,
      bands: shipped,
    });
    // The dialog's words in another language come from its file too.
    await page.locator("#language").selectOption("chinese.lang");
    await page
      .getByRole("button", {
        name: menuLabel(chinese, "Menu_Setting"),
        exact: true,
      })
      .click();
    await dialog.waitFor();
    await runAxe(page, "over the settings dialog in Chinese", {
      include: ["dialog.settings"],
    });
    assert.equal(
      await field("channelcount").evaluate((box) => box.labels[0].textContent),
      text(chinese, "IDS_WEB_CHANNEL_COUNT"),
    );
  },
};

await runNamedJourney("page_journeys.mjs", journeys);
