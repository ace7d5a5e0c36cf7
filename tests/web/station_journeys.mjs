// SPDX-License-Identifier: GPL-3.0-or-later
// The station and Check Connection in the page, one ctest test each: `node
// station_journeys.mjs NAME`. The station's lines and log are held against halvex-cli station's
// on radio-sim; Check Connection's words against the desktop's language texts.
import assert from "node:assert/strict";
import { spawn, spawnSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { setTimeout as sleep } from "node:timers/promises";
import { dirname, join } from "node:path";
import { cliPath, runNamedJourney, sourceDir } from "./harness.mjs";
import {
  english,
  menuLabel,
  openPage,
  runAxe,
  saveDownload,
  text,
  downloaded,
  dropFile,
  withoutFilePickers,
} from "./page_steps.mjs";

const cloneStart = 0x0800;
const pgmHeader = 48;
const faultBlock = 0x1000;
const simPath = join(dirname(cliPath), "radio-sim");
const example = join(sourceDir, "tests/data/pgm/v1_05_channels.pgm");
const fill = (pattern, ...values) =>
  values.reduce(
    (filled, value, k) => filled.replaceAll(`%${k + 1}`, String(value)),
    pattern,
  );

// halvex-cli station --auto on a radio-sim each (by default two, the second failing at
// faultBlock), with options more: its lines on standard output and its log's rows, each
// cable's name as CABLE.
async function nativeStation(
  simOptions = [[], ["--no-ack", "0x1000"]],
  stationOptions = [],
) {
  const folder = mkdtempSync(join(tmpdir(), "halvex-station-"));
  const links = simOptions.map((_, k) => join(folder, `r${k + 1}`));
  const sims = links.map((link, k) =>
    spawn(simPath, ["--link", link, "--demo", ...simOptions[k]]),
  );
  try {
    for (const link of links) {
      for (let tries = 0; !existsSync(link); tries += 1) {
        assert.ok(tries < 100, `radio-sim serves ${link}`);
        await sleep(50);
      }
    }
    const log = join(folder, "log.csv");
    const run = spawnSync(cliPath, [
      "station",
      "--settings",
      join(sourceDir, "data/setting.ini"),
      ...links.flatMap((link) => ["--device", link]),
      "--auto",
      "--count",
      String(links.length),
      ...stationOptions,
      "--log",
      log,
      example,
    ]);
    const anonymous = (line) =>
      links.reduce((named, link) => named.replaceAll(link, "CABLE"), line);
    return {
      lines: String(run.stdout)
        .split("\n")
        .filter((line) => / radio \d+ /.test(line))
        .map(anonymous),
      rows: readFileSync(log, "utf8").trimEnd().split("\n").map(anonymous),
    };
  } finally {
    sims.forEach((sim) => sim.kill());
  }
}

// A log row's fields; a quoted one may hold commas and doubled quotes.
const csvFields = (row) =>
  [...row.matchAll(/(?:^|,)("(?:[^"]|"")*"|[^,]*)/g)].map(([, field]) =>
    field.startsWith('"') ? field.slice(1, -1).replaceAll('""', '"') : field,
  );

// The log's fields that say what happened, apart from the times, the run and where the file
// was; the radio's number goes by order of taking, which cable ran first decides.
function radioFacts(row) {
  const fields = csvFields(row);
  const [
    time,
    cable,
    ,
    identification,
    result,
    detail,
    seconds,
    finished,
    run,
  ] = fields;
  assert.match(time, /^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d{4}$/);
  assert.match(finished, /^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d{4}$/);
  assert.match(seconds, /^\d+\.\d$/);
  assert.match(run, /^[0-9a-f]{8}$/);
  return [cable, identification, result, detail, ...fields.slice(10)];
}

// The station dialog of the page open on the example file, with its buttons by their words.
async function openStation(page, context, site, parameters) {
  await withoutFilePickers(context);
  await openPage(page, site, parameters);
  // Dropped, not picked: a page opened again after a run would otherwise wait on the
  // browser's file chooser.
  await dropFile(page, "v1_05_channels.pgm", readFileSync(example));
  await page.waitForFunction(() =>
    document.title.startsWith("v1_05_channels.pgm"),
  );
  const image = (await saveDownload(page)).subarray(pgmHeader + cloneStart);
  await page
    .getByRole("button", { name: menuLabel(english, "Menu_Program_Station") })
    .click();
  const dialog = page.locator("dialog.station");
  const resource = (id) =>
    dialog.getByRole("button", {
      name: english[`Resource/${id}`].replace("&", ""),
    });
  return {
    image,
    dialog,
    lines: dialog.locator(".station-log li"),
    add: dialog.getByRole("button", {
      name: menuLabel(english, "IDS_WEB_ADD_CABLE"),
    }),
    start: resource(1412),
    stop: resource(1413),
    box: (key) =>
      dialog.getByLabel(
        key.startsWith("IDS_") ? text(english, key) : english[key],
      ),
    next: (cable) =>
      dialog.getByRole("button", {
        name: `${text(english, "IDS_STATION_NEXT")} virtual radio ${cable}`,
      }),
    logRows: async () =>
      String(
        await downloaded(page, () =>
          dialog
            .getByRole("button", {
              name: text(english, "IDS_WEB_STATION_DOWNLOAD"),
            })
            .click(),
        ),
      )
        .trimEnd()
        .split("\n"),
  };
}

const anonymousLine = (line) =>
  line
    .replace(/^virtual radio \d/, "CABLE")
    .replace(/ radio \d+ /, " radio N ");

const journeys = {
  // Two virtual radios on the example file: both take the document's image; then one fails at
  // a block while the other completes. The lines shown and the downloaded log are those
  // halvex-cli station gives for the same file on radio-sim.
  async station_two_virtual_radios({ page, context, site }) {
    const { image, dialog, lines, add, start, stop, logRows } =
      await openStation(page, context, site, "radio=virtual");
    await add.click();
    await add.click();
    await runAxe(page, "over the station dialog", {
      include: [["dialog.station"]],
    });
    await start.click();
    const nextRadios = async (count) => {
      for (const cable of [1, 2]) {
        await dialog
          .getByRole("button", {
            name: `${text(english, "IDS_STATION_NEXT")} virtual radio ${cable}`,
          })
          .click();
      }
      await page.waitForFunction(
        (expected) =>
          document.querySelectorAll(".station-log li").length >= expected,
        count,
        { timeout: 60_000 },
      );
    };
    await nextRadios(2);
    const memories = await page.evaluate(() =>
      window.halvexStationRadios.map((radio) => Array.from(radio.memory())),
    );
    for (const memory of memories) {
      assert.deepEqual(
        Buffer.from(memory).subarray(cloneStart),
        Buffer.from(image),
      );
    }
    await page.evaluate(
      (block) => window.halvexStationRadios[1].setFaults({ noAckBlock: block }),
      faultBlock,
    );
    await nextRadios(4);
    await runAxe(page, "over the station's results", {
      include: [["dialog.station"]],
    });
    const shown = (await lines.allInnerTexts()).map(anonymousLine);
    const rows = await logRows();
    assert.equal(rows.length, 5, rows.join("\n"));
    // A line goes in as its radio ends, numbered as the radios were taken.
    assert.deepEqual(
      rows
        .slice(1)
        .map((row) => Number(row.split(",")[2]))
        .sort(),
      [1, 2, 3, 4],
    );
    const pageRows = rows.map((row) =>
      row.replace(/virtual radio \d/, "CABLE"),
    );
    const native = await nativeStation();
    assert.equal(pageRows[0], native.rows[0], "the header");
    // The native log names the file as given, the page by the document's name.
    const facts = (row) =>
      radioFacts(row.replace(example, "v1_05_channels.pgm"));
    assert.deepEqual(
      pageRows.slice(3).map(facts).sort(),
      native.rows.slice(1).map(facts).sort(),
    );
    assert.deepEqual(
      facts(pageRows[1]),
      facts(pageRows[2]),
      "two radios written alike",
    );
    assert.deepEqual(
      shown.slice(2).sort(),
      native.lines
        .map((line) => line.replace(/ radio \d+ /, " radio N "))
        .sort(),
    );
    assert.ok(shown.every((line) => line.startsWith("CABLE: radio N ")));

    // A first PTT ID code that is none is refused; the last code of six digits goes to the
    // next radio, whose number goes on from the log's, and the one after is refused and
    // stops the run.
    await stop.click();
    const code = dialog.getByLabel(english["Resource/1414"].replace(/:$/, ""));
    const box = page.getByRole("alertdialog");
    await code.fill("12a");
    await start.click();
    assert.equal(
      await box.locator("p").innerText(),
      text(english, "IDS_STATION_CODE_BAD"),
    );
    await page.keyboard.press("Enter");
    await code.fill("999999");
    await start.click();
    await page.evaluate(() => window.halvexStationRadios[1].setFaults({}));
    const next = (cable) =>
      dialog
        .getByRole("button", {
          name: `${text(english, "IDS_STATION_NEXT")} virtual radio ${cable}`,
        })
        .click();
    await next(1);
    await lines
      .filter({ hasText: "radio 5 ok, PTT ID code 999999" })
      .waitFor({ timeout: 60_000 });
    await next(2);
    assert.equal(
      await box.locator("p").innerText(),
      fill(text(english, "IDS_STATION_CODE_FULL"), "virtual radio 2", 6),
    );
    await page.keyboard.press("Enter");
    await lines.filter({ hasText: /^1 radio: 1 ok$/ }).waitFor();
    const last = await logRows();
    assert.deepEqual(last.slice(0, 5), rows, "the log goes on");
    assert.equal(last.length, 6, last.join("\n"));
    assert.match(last[5], /^[^,]+,virtual radio 1,5,[0-9A-F]+,ok,.*,999999$/);
  },

  // The automatic mode: two radios swapped on one cable are written one after the other
  // without a click, and the cable then looks for a third. Then check-only runs, also
  // automatic: the radio written is the same as the file, the other one differs in the places
  // halvex-cli station --check-only names on radio-sim, neither is written, and both still
  // answering long after they were checked is said for each. Then a radio written but never
  // logged, as the page was left, is named and logged at the next visit's start; last, the
  // automatic mode stops at a PTT ID code that would not fit.
  async station_automatic_and_check_only({ page, context, site }) {
    const first = await openStation(
      page,
      context,
      site,
      "radio=virtual&radios=2&swap-after=1500",
    );
    await first.add.click();
    await first.box("Resource/1406").check();
    await first.start.click();
    assert.ok(await first.next(1).isDisabled(), "no Next radio to press");
    await first.lines
      .filter({ hasText: /: radio 2 ok/ })
      .waitFor({ timeout: 60_000 });
    await first.dialog
      .locator(".state", { hasText: text(english, "IDS_STATION_LOOKING") })
      .waitFor();
    for (const radio of [1, 2]) {
      const memory = await page.evaluate(
        (number) => Array.from(window.halvexStationRadios[0].memoryOf(number)),
        radio,
      );
      assert.deepEqual(
        Buffer.from(memory).subarray(cloneStart),
        Buffer.from(first.image),
        `radio ${radio} written`,
      );
    }
    await first.stop.click();
    await first.lines.filter({ hasText: /^2 radios: 2 ok$/ }).waitFor();
    const written = await first.logRows();
    assert.equal(written.length, 3, written.join("\n"));
    assert.deepEqual(
      written.slice(1).map((row) => row.split(",").slice(1, 5)),
      [1, 2].map((number) => [
        "virtual radio 1",
        String(number),
        written[1].split(",")[3],
        "ok",
      ]),
    );

    const station = await openStation(page, context, site, "radio=virtual");
    await station.add.click();
    await station.add.click();
    await station.start.click();
    await station.next(1).click();
    await station.lines
      .filter({ hasText: /: radio 1 ok/ })
      .waitFor({ timeout: 60_000 });
    await station.stop.click();
    const memories = () =>
      page.evaluate(() =>
        window.halvexStationRadios.map((radio) => Array.from(radio.memory())),
      );
    const before = await memories();
    await station.box("Resource/1416").check();
    assert.ok(await station.box("Resource/1407").isDisabled());
    await station.box("Resource/1406").check();
    await runAxe(page, "over the check-only station", {
      include: [["dialog.station"]],
    });
    await station.start.click();
    // Which cable took its radio first decides the numbers.
    const [said, after] = fill(
      text(english, "IDS_STATION_STILL_ANSWERING"),
      "CABLE",
      "NUMBER",
    )
      .replace(/[.*+?^${}()|[\]\\]/g, "\\$&")
      .split("NUMBER");
    for (const cable of [1, 2]) {
      await station.lines
        .filter({
          hasText: new RegExp(
            `^${said.replace("CABLE", `virtual radio ${cable}`)}\\d+${after}$`,
          ),
        })
        .waitFor({ timeout: 60_000 });
    }
    await station.stop.click();
    await station.lines
      .filter({ hasText: /^2 radios: 1 same, 1 different on virtual radio 2$/ })
      .waitFor();
    assert.deepEqual(await memories(), before, "a check writes nothing");
    const results = await station.dialog
      .locator(".result")
      .evaluateAll((labels) =>
        labels.map((result) => [result.textContent, result.className]),
      );
    assert.deepEqual(results, [
      [text(english, "IDS_STATION_CHECKED"), "result ok"],
      [text(english, "IDS_STATION_CHECKED"), "result failed"],
    ]);
    const rows = await station.logRows();
    assert.equal(rows.length, 4, rows.join("\n"));
    const checked = Object.fromEntries(
      rows.slice(2).map((row) => [row.split(",")[1], row]),
    );
    assert.match(
      checked["virtual radio 1"],
      /^[^,]+,virtual radio 1,\d+,[0-9A-F]+,same,,/,
    );
    const native = await nativeStation([[]], ["--check-only"]);
    const facts = (row) =>
      radioFacts(
        row
          .replace(example, "v1_05_channels.pgm")
          .replace(/virtual radio \d/, "CABLE"),
      );
    assert.match(native.rows[1], /,differs,/);
    assert.deepEqual(facts(checked["virtual radio 2"]), facts(native.rows[1]));

    // A page left while its radio, written whole, was being checked: the next visit's start
    // names that radio and logs it unchecked, and its numbers go on from it.
    const left = await openStation(page, context, site, "radio=virtual&paced");
    await left.add.click();
    await left.start.click();
    await left.next(1).click();
    const [checking] = text(english, "IDS_STATION_CHECKING").split("%1");
    await left.dialog
      .locator(".state", { hasText: checking })
      .waitFor({ timeout: 60_000 });
    const next = await openStation(page, context, site, "radio=virtual");
    await next.add.click();
    await next.start.click();
    const [unlogged, unloggedEnd] = fill(
      text(english, "IDS_STATION_UNLOGGED"),
      "virtual radio 1",
      1,
      "WRITTEN",
    ).split("WRITTEN");
    await next.lines
      .filter({ hasText: unlogged })
      .filter({ hasText: unloggedEnd })
      .waitFor();
    await next.next(1).click();
    await next.lines
      .filter({ hasText: /: radio 2 ok/ })
      .waitFor({ timeout: 60_000 });
    const logged = await next.logRows();
    assert.deepEqual(
      logged
        .slice(1)
        .map((row) => row.split(",").slice(1, 3).concat(row.split(",")[4])),
      [
        ["virtual radio 1", "1", "unchecked"],
        ["virtual radio 1", "2", "ok"],
      ],
      logged.join("\n"),
    );
    // The automatic mode stops at the radio whose PTT ID code would not fit, which it leaves
    // as it was.
    const coded = await openStation(
      page,
      context,
      site,
      "radio=virtual&radios=2&swap-after=1500",
    );
    await coded.add.click();
    await coded.box("Resource/1406").check();
    await coded.dialog
      .getByLabel(english["Resource/1414"].replace(/:$/, ""))
      .fill("999999");
    const secondRadio = () =>
      page.evaluate(() =>
        Array.from(window.halvexStationRadios[0].memoryOf(2)),
      );
    const untouched = await secondRadio();
    await coded.start.click();
    const refusal = page.getByRole("alertdialog");
    await refusal.waitFor({ timeout: 60_000 });
    assert.equal(
      await refusal.locator("p").innerText(),
      fill(text(english, "IDS_STATION_CODE_FULL"), "virtual radio 1", 2),
    );
    await page.keyboard.press("Enter");
    await coded.lines.filter({ hasText: /^1 radio: 1 ok$/ }).waitFor();
    assert.ok(
      await coded.lines
        .filter({ hasText: "radio 1 ok, PTT ID code 999999" })
        .count(),
    );
    assert.deepEqual(await secondRadio(), untouched, "radio 2 left as it was");
    assert.ok(await coded.start.isEnabled(), "the run ended");
  },

  // Each fault of the virtual radio as Check Connection words it: the desktop's sentence for
  // it, and for an echo on the direct setting the offer to switch, which switches it; then no
  // port chosen in the browser's list.
  async check_connection_faults({ page, context, site }) {
    // The browser's port chooser, closed without a choice.
    await context.addInitScript(() => {
      window.navigator.serial.requestPort = () =>
        Promise.reject(
          new window.DOMException(
            "No port selected by the user.",
            "NotFoundError",
          ),
        );
    });
    const name = "virtual radio 1";
    const said = (key, ...values) => fill(text(english, key), name, ...values);
    const cases = [
      ["", "IDS_PROMPT", said("IDS_DOCTOR_FOUND")],
      ["silent", "IDS_ERROR", said("IDS_DOCTOR_SILENT")],
      ["identification=5", "IDS_ERROR", said("IDS_DOCTOR_OTHERMODEL", 5)],
      [
        "busy",
        "IDS_ERROR",
        `${said("IDS_DOCTOR_INUSE_UNKNOWN")}\n${text(english, "IDS_DOCTOR_CLOSEIT")}`,
      ],
      [
        "echo",
        "IDS_ERROR",
        `${said("IDS_DOCTOR_ECHOONDIRECT")}\n${text(english, "IDS_DOCTOR_OTHERANSWERED")}\n\n${text(english, "IDS_DOCTOR_ASKSWITCH")}`,
      ],
    ];
    for (const [fault, caption, words] of cases) {
      await openPage(page, site, `radio=virtual&${fault}`);
      await page
        .getByRole("button", {
          name: menuLabel(english, "Menu_Program_CheckConnection"),
        })
        .click();
      if (fault === "silent") {
        await page.locator("dialog.connection-check").waitFor();
        await runAxe(page, "over the check dialog", {
          include: [["dialog.connection-check"]],
        });
      }
      const box = page.getByRole("alertdialog");
      await box.waitFor({ timeout: 60_000 });
      assert.equal(
        await box.locator("h2").innerText(),
        text(english, caption),
        fault,
      );
      assert.equal(await box.locator("p").innerText(), words, fault);
      if (fault === "echo") {
        await runAxe(page, "over the finding", {
          include: [["dialog.message-box"]],
        });
        await box
          .getByRole("button", { name: text(english, "IDS_YES") })
          .click();
        assert.equal(await page.locator("#cable-type").inputValue(), "2");
      } else {
        await page.keyboard.press("Enter");
      }
      await box.waitFor({ state: "detached" });
    }
    // Switched, the echoing cable is found.
    await openPage(page, site, "radio=virtual&echo");
    await page
      .getByRole("button", {
        name: menuLabel(english, "Menu_Program_CheckConnection"),
      })
      .click();
    const found = page.getByRole("alertdialog");
    assert.equal(
      await found.locator("p").innerText(),
      said("IDS_DOCTOR_FOUND"),
    );
    await page.keyboard.press("Enter");

    await openPage(page, site);
    await page
      .getByRole("button", {
        name: menuLabel(english, "Menu_Program_CheckConnection"),
      })
      .click();
    const noPort = page.getByRole("alertdialog");
    assert.equal(
      await noPort.locator("p").innerText(),
      text(english, "IDS_DOCTOR_NOPORT"),
    );
  },
};

await runNamedJourney("station_journeys.mjs", journeys);
