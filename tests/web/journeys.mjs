// SPDX-License-Identifier: GPL-3.0-or-later
// The page's journeys, one per ctest test: `node journeys.mjs NAME`. Each drives the page with
// real mouse and keyboard input against the virtual radio in the page, and checks what a user
// relies on outside the page's own code: the radio's memory, the saved file, the words shown.
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { cliPath, runNamedJourney, sourceDir } from "./harness.mjs";
import {
  cell,
  chinese,
  command,
  downloaded,
  dropFile,
  english,
  enterText,
  listedLines,
  menuLabel,
  openPage,
  pickWith,
  pressUntil,
  radioMemory,
  runAxe,
  saveDownload,
  tableTexts,
  text,
  transfer,
  withoutFilePickers,
} from "./page_steps.mjs";

const cloneStart = 0x0800;
const imageEnd = 0x2000;
const pgmHeader = 48;

// The native program on files of a journey's folder: its standard output, and its standard
// error's lines.
function cli(folder, subcommand, ...args) {
  const run = spawnSync(
    cliPath,
    [subcommand, "--settings", join(sourceDir, "data/setting.ini"), ...args],
    { cwd: folder },
  );
  assert.equal(run.status, 0, `halvex-cli ${subcommand}: ${run.stderr}`);
  return {
    out: run.stdout,
    errors: String(run.stderr).split("\n").filter(Boolean),
  };
}

function journeyFolder() {
  return mkdtempSync(join(tmpdir(), "halvex-web-"));
}

// Saves with Ctrl+S: the radio holds exactly the image of the downloaded file, returned.
async function saveAsRadioHolds(page) {
  const file = await saveDownload(page);
  assert.equal(file.length, pgmHeader + imageEnd, "a .pgm is header and image");
  assert.deepEqual(
    (await radioMemory(page)).subarray(cloneStart),
    Buffer.from(file.subarray(pgmHeader + cloneStart)),
  );
  return file;
}

const journeys = {
  // Read the demo channels, edit cells by keyboard (one clamped and undone), write with the
  // check after writing: the radio then holds exactly the image of the file the page saves,
  // and the native program reads that file's channel as typed.
  async read_edit_write_check({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");
    await page.getByLabel(english["Resource/1160"]).check();
    assert.equal(await transfer(page, "Menu_Program_ReadData"), "");
    assert.notEqual(await cell(page, 1, 1).inputValue(), "", "demo read");
    await page.getByText(text(english, "IDS_WEB_BACKUPS")).click();
    await page.locator(".backups li").first().waitFor();

    await enterText(page, 1, 1, "146.52");
    assert.equal(await cell(page, 1, 1).inputValue(), "146.52000");
    const secondBefore = await cell(page, 2, 1).inputValue();
    await enterText(page, 2, 1, "999", "Tab");
    const stored = await cell(page, 2, 1).inputValue();
    assert.notEqual(stored, "999");
    assert.ok((await page.locator(".status").innerText()).includes(stored));
    await page.keyboard.press("Control+z");
    assert.equal(await cell(page, 2, 1).inputValue(), secondBefore, "Undo");
    assert.match(await page.title(), /\*/);

    assert.equal(await transfer(page, "Menu_Program_WriteData"), "");
    const file = await saveAsRadioHolds(page);
    if (existsSync(cliPath)) {
      // What the native program reads in the file: its channel list as CSV.
      const path = join(mkdtempSync(join(tmpdir(), "halvex-web-")), "page.pgm");
      writeFileSync(path, file);
      const csv = execFileSync(cliPath, ["info", "--csv", path], {
        encoding: "utf8",
      });
      assert.match(csv.split("\n")[1], /^1,146\.52000,/);
    }
  },

  // Cancel half-way through a read at line speed: the table and the title are as before.
  async cancel_mid_read({ page, site }) {
    await openPage(page, site, "radio=virtual&paced");
    const before = [await tableTexts(page), await page.title()];
    await transfer(page, "Menu_Program_ReadData", { waitForEnd: false });
    await page.waitForFunction(
      () => document.querySelector("dialog.transfer progress")?.value >= 10,
    );
    const dialog = page.locator("dialog.transfer");
    await dialog.getByRole("button", { name: english["Resource/2"] }).click();
    await dialog.waitFor({ state: "detached", timeout: 30_000 });
    assert.deepEqual([await tableTexts(page), await page.title()], before);
  },

  // A radio that answers nothing gives the desktop's message; another model is refused before
  // a byte of its memory changes.
  async radio_faults({ page, site }) {
    await openPage(page, site, "radio=virtual&silent");
    const before = await tableTexts(page);
    assert.equal(
      await transfer(page, "Menu_Program_ReadData"),
      text(english, "IDS_ERROR_PORTCONN"),
    );
    await page.keyboard.press("Escape");
    assert.deepEqual(await tableTexts(page), before);

    await openPage(page, site, "radio=virtual");
    await transfer(page, "Menu_Program_ReadData");
    const demo = await radioMemory(page);
    await openPage(page, site, "radio=virtual&identification=7");
    await enterText(page, 1, 1, "150");
    assert.equal(
      await transfer(page, "Menu_Program_WriteData"),
      text(english, "IDS_ERROR_TYPE"),
    );
    assert.deepEqual(await radioMemory(page), demo);
  },

  // Without Web Serial the page says so in one line and still opens files: damaged ones are
  // refused with the core's message and change nothing, a good one dropped on the page opens.
  async damaged_file_without_serial({ page, context, site }) {
    await withoutFilePickers(context);
    await context.addInitScript(() => delete Navigator.prototype.serial);
    await openPage(page, site);
    await page.getByText(text(english, "IDS_WEB_NO_SERIAL")).waitFor();
    const before = [await tableTexts(page), await page.title()];
    const refusals = ["IDS_WARN_LOAD", "IDS_WARN_LOADSIZE"];
    const pgm = (name) => join(sourceDir, `tests/data/pgm/${name}.pgm`);
    const damagedFiles = "short_header truncated_image foreign_header too_long";
    for (const damaged of damagedFiles.split(" ")) {
      const chooser = page.waitForEvent("filechooser");
      await page
        .getByRole("button", { name: menuLabel(english, "Menu_File_Open") })
        .click();
      await (await chooser).setFiles(pgm(damaged));
      const box = page.getByRole("alertdialog");
      const said = await box.locator("p").innerText();
      assert.ok(
        refusals.some((key) => said.includes(text(english, key))),
        `${damaged}: ${said}`,
      );
      await page.keyboard.press("Enter");
      await box.waitFor({ state: "detached" });
      assert.deepEqual([await tableTexts(page), await page.title()], before);
    }
    await dropFile(
      page,
      "v1_05_channels.pgm",
      readFileSync(pgm("v1_05_channels")),
    );
    await page.waitForFunction(() =>
      document.title.startsWith("v1_05_channels.pgm"),
    );
    assert.notEqual(await cell(page, 1, 1).inputValue(), "");
  },

  // With the keyboard alone: into the table, an entry, the language switch to Chinese (kept
  // on reload) and the transfer dialog; axe-core in both languages, also over the dialog.
  async keyboard_language_accessibility({ page, site }) {
    await openPage(page, site, "radio=virtual");
    await runAxe(page, "in English");
    const focused = () =>
      page.evaluate(() => {
        const { dataset, tagName } = document.activeElement ?? {};
        return `${dataset?.row ?? ""}:${dataset?.column ?? ""}:${tagName}`;
      });
    const firstCell = async () => (await focused()) === "1:1:INPUT";
    await pressUntil(page, "Tab", firstCell, 40, "Tab reaches the table");
    await page.keyboard.type("145.5");
    await page.keyboard.press("ArrowDown");
    assert.equal(await focused(), "2:1:INPUT", "arrows move along the column");
    assert.equal(await cell(page, 1, 1).inputValue(), "145.50000");

    await page.waitForSelector("body[data-languages='1']");
    const languages = page.locator("#language");
    assert.equal(
      await languages.getAttribute("aria-label"),
      text(english, "IDS_WEB_LANGUAGE"),
    );
    const onSwitch = () =>
      languages.evaluate((e) => e === document.activeElement);
    await pressUntil(
      page,
      "Shift+Tab",
      onSwitch,
      2000,
      "to the language switch",
    );
    const onChinese = async () =>
      (await languages.inputValue()) === "chinese.lang";
    await pressUntil(page, "ArrowDown", onChinese, 20, "arrows reach Chinese");
    const receiveHeader = chinese["ChText/IDS_ChText1"];
    await page.locator("#column-1", { hasText: receiveHeader }).waitFor();
    assert.equal(
      await cell(page, 1, 1).inputValue(),
      "145.50000",
      "the switch keeps the document",
    );
    // The rows past the first few repeat their controls: the whole page was checked in English.
    await runAxe(page, "in Chinese", {
      exclude: [["table.channels tbody tr:nth-child(n+9)"]],
    });
    await page.keyboard.press("Control+r");
    await page
      .getByRole("heading", { name: text(chinese, "IDS_READDATA") })
      .waitFor();
    await runAxe(page, "over the transfer dialog", {
      include: [["dialog.transfer"]],
    });
    await page.keyboard.press("Escape");
    await page.reload();
    await page.locator("#column-1", { hasText: receiveHeader }).waitFor();
  },

  // The demo channels exported as CSV, with the notes halvex-cli gives, and imported into a
  // new document through the import dialog's report: the same channels, one undo step, and
  // the same bytes as halvex-cli exports and imports.
  async channel_list_round_trip({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");
    await transfer(page, "Menu_Program_ReadData");
    const folder = journeyFolder();
    writeFileSync(join(folder, "read.pgm"), await saveDownload(page));
    const read = await tableTexts(page);
    const csv = await downloaded(page, () =>
      command(page, "Menu_File_Export_Channels"),
    );
    writeFileSync(join(folder, "read.csv"), csv);
    const exported = cli(folder, "export", "read.pgm");
    assert.deepEqual(csv, exported.out, "the CSV halvex-cli exports");
    const notes = page.locator("dialog.line-box");
    assert.equal(
      await notes.locator("p").innerText(),
      text(english, "IDS_CSV_EXPORT_NOTES"),
    );
    assert.deepEqual(
      await listedLines(page, "dialog.line-box"),
      exported.errors,
    );
    await page.keyboard.press("Enter");
    await notes.waitFor({ state: "detached" });

    await command(page, "Menu_File_New");
    assert.equal(await cell(page, 1, 1).inputValue(), "");
    await pickWith(page, "Menu_File_Import_Channels", join(folder, "read.csv"));
    const dialog = page.locator("dialog.channel-import");
    const imported = cli(folder, "import", "read.csv", "-o", "cli.pgm");
    assert.deepEqual(
      [
        await dialog.locator("#channel-import-summary").innerText(),
        ...(await listedLines(page, "#channel-import-report")),
      ].sort(),
      imported.errors.sort(),
      "the report halvex-cli gives",
    );
    await runAxe(page, "over the import dialog", {
      include: [["dialog.channel-import"]],
    });
    await dialog.getByRole("button", { name: english["Resource/1"] }).click();
    const columns = (rows) => rows.map((row) => [row[1], row[3], row[12]]);
    assert.deepEqual(columns(await tableTexts(page)), columns(read));
    const saved = await saveDownload(page);
    assert.deepEqual(saved, readFileSync(join(folder, "cli.pgm")));
    writeFileSync(join(folder, "imported.pgm"), saved);
    assert.deepEqual(cli(folder, "export", "imported.pgm").out, csv);
    await page.keyboard.press("Control+z");
    assert.equal(await cell(page, 1, 1).inputValue(), "", "one undo step");
  },

  // The whole radio as text, as halvex-cli dumps it; one value edited in the text and imported
  // (dropped on the page): the table shows it, and the saved file is the one halvex-cli
  // applies from the same text.
  async text_form_round_trip({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");
    await transfer(page, "Menu_Program_ReadData");
    const folder = journeyFolder();
    writeFileSync(join(folder, "read.pgm"), await saveDownload(page));
    const yaml = await downloaded(page, () =>
      command(page, "Menu_File_Export_Config"),
    );
    assert.deepEqual(yaml, cli(folder, "dump", "read.pgm").out);
    const name = await cell(page, 3, 12).inputValue();
    const edited = String(yaml).replace(`name: "${name}"`, 'name: "TEXT"');
    assert.notEqual(
      edited,
      String(yaml),
      `channel 3's name ${name} in the text`,
    );
    writeFileSync(join(folder, "edited.yaml"), edited);
    await pickWith(
      page,
      "Menu_File_Import_Config",
      join(folder, "edited.yaml"),
    );
    await page
      .locator("dialog.config-import")
      .getByRole("button", { name: english["Resource/1"] })
      .click();
    await page.waitForFunction(
      () =>
        document.querySelector('[data-row="3"][data-column="12"]').value ===
        "TEXT",
    );
    const saved = await saveDownload(page);
    cli(folder, "apply", "edited.yaml", "-o", "cli.pgm");
    assert.deepEqual(saved, readFileSync(join(folder, "cli.pgm")));
    writeFileSync(join(folder, "saved.pgm"), saved);
    const row = String(cli(folder, "info", "--csv", "saved.pgm").out).split(
      "\n",
    )[3];
    assert.match(row, /^3,.*,TEXT$/);
    await page.keyboard.press("Control+z");
    assert.equal(await cell(page, 3, 12).inputValue(), name, "one undo step");
  },

  // A channel list without a Frequency column and a text with two wrong values, picked and
  // dropped: each refused with its reasons, the table and the title as before.
  async import_refused({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site);
    await enterText(page, 1, 1, "145.5");
    const before = async () => [await tableTexts(page), await page.title()];
    const kept = await before();
    const folder = journeyFolder();
    writeFileSync(join(folder, "names.csv"), "Location,Name\n1,ALPHA\n");
    await pickWith(
      page,
      "Menu_File_Import_Channels",
      join(folder, "names.csv"),
    );
    const box = page.getByRole("alertdialog");
    assert.equal(
      await box.locator("p").innerText(),
      `${text(english, "IDS_CSV_REFUSED")}the file has no Frequency column`,
    );
    await page.keyboard.press("Enter");
    await box.waitFor({ state: "detached" });
    assert.deepEqual(await before(), kept);

    const demo = readFileSync(
      join(sourceDir, "data/examples/demo.yaml"),
      "utf8",
    );
    const wrong = demo
      .replace(/receive: [\d.]+/, "receive: 999")
      .replace(/squelch: \d+/, "squelch: 12");
    const list = page.locator("dialog.line-box");
    for (const how of ["picked", "dropped"]) {
      if (how === "picked") {
        writeFileSync(join(folder, "wrong.yaml"), wrong);
        await pickWith(
          page,
          "Menu_File_Import_Config",
          join(folder, "wrong.yaml"),
        );
      } else {
        await dropFile(page, "wrong.yaml", Buffer.from(wrong));
      }
      await list.waitFor();
      assert.equal(
        await list.locator("p").innerText(),
        text(english, "IDS_CONFIG_REFUSED"),
      );
      await runAxe(page, "over the error list", {
        include: [["dialog.line-box"]],
      });
      const errors = await listedLines(page, "dialog.line-box");
      assert.deepEqual(
        errors.map((line) => line.split(": ").slice(0, 2).join(": ")),
        [
          "wrong.yaml:7:16: channels.1.receive",
          "wrong.yaml:17:12: options.squelch",
        ],
        how,
      );
      await page.keyboard.press("Enter");
      await list.waitFor({ state: "detached" });
      assert.deepEqual(await before(), kept, how);
    }
  },

  // A read and a write at 9600 baud through the page: the radio holds the saved file's image.
  async read_write_at_line_speed({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual&paced");
    const started = Date.now();
    await transfer(page, "Menu_Program_ReadData");
    await enterText(page, 3, 12, "WEB");
    assert.equal(await transfer(page, "Menu_Program_WriteData"), "");
    const seconds = (Date.now() - started) / 1000;
    const lineBytes = await page.evaluate(
      () => window.halvexVirtualRadio.lineBytes,
    );
    console.log(
      `line time ${((lineBytes * 10) / 9600).toFixed(1)} s, journey ${seconds.toFixed(1)} s`,
    );
    await saveAsRadioHolds(page);
  },
};

await runNamedJourney("journeys.mjs", journeys);
