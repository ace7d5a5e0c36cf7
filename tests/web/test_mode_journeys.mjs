// SPDX-License-Identifier: GPL-3.0-or-later
// Test mode in the page: `node test_mode_journeys.mjs NAME`. What it did is read back from the
// virtual radio's memory and the saved file; its words from the desktop's language texts.
import assert from "node:assert/strict";
import { runNamedJourney } from "./harness.mjs";
import {
  command,
  english,
  menuLabel,
  openPage,
  radioMemory,
  runAxe,
  saveDownload,
  text,
  withoutFilePickers,
} from "./page_steps.mjs";

const pgmHeader = 48;
// Items 0..31 are the adjust banks, one byte each from here.
const adjustBank = 0x0fe0;
const accessCode = "RO264";

// The value each list line ends with, "name-(value)".
async function listedValues(page) {
  const lines = await page.locator("#test-items option").allInnerTexts();
  return lines.map((line) => Number(/-\((\d+)\)$/.exec(line)?.[1]));
}

async function enterAccessCode(page, typed) {
  await command(page, "Menu_Program_TestMode");
  const access = page.locator("dialog.access-code");
  await access.waitFor();
  await page.locator("#access-code").fill(typed);
  await page.keyboard.press("Enter");
  return access;
}

// The box shown now, its caption and text; Enter closes it.
async function takeBox(page) {
  const box = page.getByRole("alertdialog");
  await box.waitFor({ timeout: 60_000 });
  const shown = [
    await box.locator("h2").innerText(),
    await box.locator("p").innerText(),
  ];
  await page.keyboard.press("Enter");
  await box.waitFor({ state: "detached" });
  return shown;
}

async function runExchange(page, resourceId) {
  await page
    .locator("dialog.test-mode")
    .getByRole("button", { name: english[`Resource/${resourceId}`] })
    .click();
  await page.waitForFunction(
    () => !document.querySelector("#test-items").disabled,
    null,
    { timeout: 120_000 },
  );
}

await runNamedJourney("test_mode_journeys.mjs", {
  async test_mode_adjusts_the_radio_live({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");

    // A wrong code (letter case counts) is refused and the dialog stays for another try.
    const access = await enterAccessCode(page, accessCode.toLowerCase());
    assert.deepEqual(await takeBox(page), [
      text(english, "IDS_WINDOWNAME"),
      text(english, "IDS_ERROR_PASSWORD"),
    ]);
    await runAxe(page, "over the access dialog", {
      include: [["dialog.access-code"]],
    });
    await page.locator("#access-code").fill(accessCode);
    await page.keyboard.press("Enter");
    await access.waitFor({ state: "detached" });
    const dialog = page.locator("dialog.test-mode");
    await dialog.waitFor();
    const names = Object.keys(english).filter((key) =>
      key.startsWith("TestData/"),
    );
    assert.equal(
      await page.locator("#test-items option").count(),
      names.length,
    );
    await runAxe(page, "over the test dialog", {
      include: [["dialog.test-mode"]],
    });

    // Out of test mode, the bar only edits the document: one undo step, the radio untouched.
    const radioBefore = await radioMemory(page);
    const item = 3;
    await page.locator("#test-items").selectOption({ index: item });
    const before = (await listedValues(page))[item];
    await page.locator("#test-bar").focus();
    await page.keyboard.press("ArrowRight");
    await page.keyboard.press("ArrowRight");
    const stored = (before + 2) % 256;
    assert.equal(
      await page.locator("#test-value").inputValue(),
      String(stored),
    );
    assert.equal((await listedValues(page))[item], stored);
    assert.equal(
      await page.locator(".status").innerText(),
      text(english, "IDS_STEP_TEST_VALUE").replace(
        "%1",
        english[`TestData/${item}`],
      ),
    );
    assert.deepEqual(await radioMemory(page), radioBefore);

    // Write all sends the document; start test mode reads the test values back.
    await runExchange(page, 1139);
    assert.deepEqual(await takeBox(page), [
      text(english, "IDS_PROMPT"),
      text(english, "IDS_PROMPT_WRITESUCC"),
    ]);
    assert.equal((await radioMemory(page))[adjustBank + item], stored);
    await runExchange(page, 1138);
    const radio = await radioMemory(page);
    assert.deepEqual((await listedValues(page)).slice(0, 32), [
      ...radio.subarray(adjustBank, adjustBank + 32),
    ]);

    // In test mode the radio takes each value as the bar lets go; the wrap at 0 is the core's.
    const live = 5;
    await page.locator("#test-items").selectOption({ index: live });
    await page.locator("#test-bar").focus();
    const start = (await listedValues(page))[live];
    for (let k = 0; k <= start; k += 1) {
      await page.keyboard.press("ArrowLeft");
    }
    await page.waitForFunction(
      ([at, value]) => window.halvexVirtualRadio.memory()[at] === value,
      [adjustBank + live, 255],
    );
    await dialog.getByRole("button", { name: english["Resource/2"] }).click();
    await dialog.waitFor({ state: "detached" });

    const saved = await saveDownload(page);
    assert.equal(saved[pgmHeader + adjustBank + item], stored);
    assert.equal(saved[pgmHeader + adjustBank + live], 255);
  },

  async test_mode_failures_keep_the_document({ page, site }) {
    await openPage(page, site, "radio=virtual&silent");
    const access = await enterAccessCode(page, accessCode);
    await access.waitFor({ state: "detached" });
    await page.locator("dialog.test-mode").waitFor();
    const values = await listedValues(page);
    await runExchange(page, 1138);
    const [caption, words] = await takeBox(page);
    assert.equal(caption, text(english, "IDS_ERROR"));
    assert.ok(
      words.startsWith(`${text(english, "IDS_ERROR_PORTCONN")}\n\n`),
      words,
    );
    assert.ok(
      words.includes(
        text(english, "IDS_DOCTOR_SILENT").replace("%1", "virtual radio 1"),
      ),
      words,
    );
    // Nothing was taken into the list or the document.
    assert.deepEqual(await listedValues(page), values);
    await page.keyboard.press("Escape");
    await page.locator("dialog.test-mode").waitFor({ state: "detached" });
    assert.ok(
      await page
        .getByRole("button", { name: menuLabel(english, "Menu_Edit_Undo") })
        .isDisabled(),
      "nothing to undo",
    );

    // Read all stopped halfway keeps nothing it read, and says how far it got.
    await openPage(page, site, "radio=virtual&paced");
    await (
      await enterAccessCode(page, accessCode)
    ).waitFor({ state: "detached" });
    const dialog = page.locator("dialog.test-mode");
    await dialog
      .getByRole("button", { name: english["Resource/1153"] })
      .click();
    await page.waitForFunction(
      () => document.querySelector("dialog.test-mode progress").value > 0,
    );
    await dialog.getByRole("button", { name: english["Resource/2"] }).click();
    const [stoppedCaption, stopped] = await takeBox(page);
    assert.equal(stoppedCaption, text(english, "IDS_PROMPT"));
    const [, blocks, total] = /(\d+)\D+(\d+)/.exec(stopped);
    assert.equal(
      stopped,
      text(english, "IDS_TEST_READSTOPPED")
        .replace("%d", blocks)
        .replace("%d", total),
    );
    assert.ok(Number(blocks) > 0 && Number(blocks) < Number(total), stopped);
    assert.equal(
      await page
        .locator("dialog.test-mode progress")
        .evaluate((bar) => bar.value),
      0,
    );
    await page.keyboard.press("Escape");
    await dialog.waitFor({ state: "detached" });
    assert.ok(
      await page
        .getByRole("button", { name: menuLabel(english, "Menu_Edit_Undo") })
        .isDisabled(),
      "a stopped read is no step",
    );
  },
});
