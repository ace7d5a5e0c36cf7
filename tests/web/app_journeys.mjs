// SPDX-License-Identifier: GPL-3.0-or-later
// The page as an installed app: printed to PDF it reads page by page as the desktop's printed
// report of the same file, and after one visit it works with no network and takes a new build
// only when its user says so, never dropping the open document. `node app_journeys.mjs NAME`.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

// The new-version journey changes the worker the server gives, so it serves a copy.
const sourceDir = new URL("../../", import.meta.url).pathname;
const siteCopy = mkdtempSync(join(tmpdir(), "halvex-web-site-"));
cpSync(
  process.env.HALVEX_SITE_DIR ?? join(sourceDir, "build-web/site"),
  siteCopy,
  { recursive: true },
);
process.env.HALVEX_SITE_DIR = siteCopy;
const { runNamedJourney } = await import("./harness.mjs");
const {
  cell,
  chinese,
  english,
  enterText,
  menuLabel,
  openPage,
  runAxe,
  saveDownload,
  text,
  transfer,
  withoutFilePickers,
} = await import("./page_steps.mjs");

const printTool =
  process.env.HALVEX_PRINT_REPORT ??
  join(sourceDir, "build/tests/print_report_pdf");

function run(program, args) {
  const result = spawnSync(program, args, { encoding: "utf8" });
  assert.equal(result.status, 0, `${program}: ${result.stderr}`);
  return result.stdout;
}

function pageCount(pdf) {
  return Number(run("pdfinfo", [pdf]).match(/^Pages:\s+(\d+)/m)[1]);
}

// A page's words in reading order, its clock left out: the two PDFs are printed minutes apart.
function pageWords(pdf, number) {
  return run("pdftotext", [
    "-layout",
    "-f",
    `${number}`,
    "-l",
    `${number}`,
    pdf,
    "-",
  ])
    .replace(/(\d{4}-\d\d-\d\d \S+) \d\d:\d\d/, "$1")
    .split(/\s+/)
    .filter(Boolean);
}

async function whenControlled(page) {
  await page.waitForFunction(
    () => window.navigator.serviceWorker?.controller != null,
    null,
    {
      timeout: 30_000,
    },
  );
}

const journeys = {
  // The demo radio read, more channels typed with one left empty so the list takes three
  // pages, printed from the page's Print command to PDF: every page reads as the desktop's
  // report of the file the page saves, in English and in Chinese.
  async print_matches_desktop({ page, context, site }) {
    await withoutFilePickers(context);
    await openPage(page, site, "radio=virtual");
    assert.equal(await transfer(page, "Menu_Program_ReadData"), "");
    for (let row = 7; row <= 62; row += 1) {
      if (row !== 30) {
        await enterText(
          page,
          row,
          1,
          `14${row % 10}.${String(row).padStart(3, "0")}`,
        );
      }
    }
    const folder = mkdtempSync(join(tmpdir(), "halvex-web-print-"));
    // The desktop keeps the language it prints in in its settings: a copy of them.
    const settings = join(folder, "setting.ini");
    cpSync(join(sourceDir, "data/setting.ini"), settings);
    const file = join(folder, "page.pgm");
    writeFileSync(file, await saveDownload(page));
    await page.waitForSelector("body[data-languages='1']");
    // Headless Chromium has no print dialog: the page's call of it is counted, and the PDF
    // made as the dialog would.
    await page.evaluate(() => {
      window.print = () => {
        window.halvexPrints = (window.halvexPrints ?? 0) + 1;
      };
    });
    for (const [language, texts] of [
      ["english", english],
      ["chinese", chinese],
    ]) {
      if (language !== "english") {
        await page.locator("#language").selectOption(`${language}.lang`);
      }
      await page
        .getByRole("button", { name: menuLabel(texts, "Menu_File_Print") })
        .click();
      assert.equal(
        await page.evaluate(() => window.halvexPrints),
        language === "english" ? 1 : 2,
      );
      const browserPdf = join(folder, `browser-${language}.pdf`);
      writeFileSync(
        browserPdf,
        await page.pdf({
          format: "A4",
          preferCSSPageSize: true,
          printBackground: true,
        }),
      );
      const desktopPdf = join(folder, `desktop-${language}.pdf`);
      run(printTool, [
        settings,
        join(sourceDir, `data/${language}.lang`),
        file,
        desktopPdf,
      ]);
      assert.equal(
        pageCount(browserPdf),
        3,
        `${language}: 20, 30 and 10 channels`,
      );
      assert.equal(pageCount(browserPdf), pageCount(desktopPdf));
      for (let number = 1; number <= 3; number += 1) {
        assert.deepEqual(
          pageWords(browserPdf, number),
          pageWords(desktopPdf, number),
          `${language}, page ${number} (${folder})`,
        );
      }
      assert.ok(
        pageWords(browserPdf, 3).includes("148.06000"),
        "channel 58 on page 3",
      );
    }
  },

  // First visit, then no network: a reload still opens the page, reads the virtual radio and
  // takes an edit. Then a new build: the page says so, keeps the edited document while its
  // user keeps it, and takes the new version when told to let the document go.
  async offline_reload_and_new_version({ page, context, site }) {
    await openPage(page, site, "radio=virtual");
    await whenControlled(page);
    await context.setOffline(true);
    await page.reload();
    await page.waitForSelector("body[data-ready='1'][data-languages='1']");
    assert.equal(
      await page.evaluate(() =>
        window.fetch("not-in-the-site.txt").then(
          () => "network",
          () => "offline",
        ),
      ),
      "offline",
      "the browser has no network",
    );
    assert.equal(
      await page.locator(".status").innerText(),
      "",
      "every file from the cache",
    );
    assert.equal(await transfer(page, "Menu_Program_ReadData"), "");
    await enterText(page, 1, 1, "146.52");
    assert.equal(await cell(page, 1, 1).inputValue(), "146.52000");

    const worker = join(siteCopy, "sw.js");
    writeFileSync(
      worker,
      readFileSync(worker, "utf8").replace(
        /halvex-[0-9a-f]{16}/,
        "halvex-nextbuild0000",
      ),
    );
    // Back online, the page looks for a new build.
    await context.setOffline(false);
    const notice = page.locator(".new-version");
    await notice.waitFor({ state: "visible", timeout: 30_000 });
    assert.equal(
      await notice.locator("span").innerText(),
      text(english, "IDS_WEB_NEW_VERSION"),
    );
    await runAxe(page, "with the new-version line", ".new-version");

    const take = notice.getByRole("button", {
      name: text(english, "IDS_WEB_USE_NEW_VERSION"),
    });
    await take.click();
    const question = page.locator("dialog.message-box");
    await question.waitFor();
    assert.match(
      await question.innerText(),
      new RegExp(text(english, "IDS_CONFIRM")),
    );
    await question.getByRole("button", { name: english["Resource/2"] }).click();
    assert.equal(
      await cell(page, 1, 1).inputValue(),
      "146.52000",
      "kept on Cancel",
    );
    assert.ok(await notice.isVisible());

    await take.click();
    await question
      .getByRole("button", { name: text(english, "IDS_NO") })
      .click();
    await page.waitForFunction(
      async () =>
        document.body.dataset.ready === "1" &&
        (await window.caches.keys()).join() === "halvex-nextbuild0000",
      null,
      { timeout: 30_000 },
    );
    assert.ok(await notice.isHidden(), "the new version is the one in use");
  },
};

await runNamedJourney("app_journeys.mjs", journeys);
