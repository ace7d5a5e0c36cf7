// SPDX-License-Identifier: GPL-3.0-or-later
// The built site: its compressed size, and the time from navigation to an interactive channel
// table in Debian's Chromium (median of several loads), beside an empty page's load in the
// same run, so the ratio says what the page adds on this machine.
import { readdirSync, readFileSync, statSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import {
  chromiumPath,
  serveSite,
  siteDir,
  sourceDir,
} from "../tests/web/harness.mjs";

const loads = Number(process.env.HALVEX_BENCH_LOADS ?? 7);

function files(folder) {
  return readdirSync(folder).flatMap((name) => {
    const path = join(folder, name);
    return statSync(path).isDirectory() ? files(path) : [path];
  });
}

const median = (values) =>
  [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

let raw = 0;
let compressed = 0;
for (const path of files(siteDir)) {
  const bytes = readFileSync(path);
  raw += bytes.length;
  compressed += gzipSync(bytes, { level: 9 }).length;
}
console.log(
  `site: ${(raw / 1024).toFixed(0)} KiB, gzip -9 ${(compressed / 1024).toFixed(0)} KiB`,
);

const { chromium } = createRequire(join(sourceDir, "web/package.json"))(
  "playwright-core",
);
const site = await serveSite();
const browser = await chromium.launch({
  executablePath: chromiumPath,
  args: [
    "--no-sandbox",
    "--disable-gpu",
    "--disable-quic",
    "--disable-background-networking",
  ],
});
const interactive = [];
const blank = [];
for (let load = 0; load < loads; load++) {
  const context = await browser.newContext();
  const page = await context.newPage();
  let started = Date.now();
  await page.goto(`${site.url}languages.json`);
  blank.push(Date.now() - started);
  started = Date.now();
  await page.goto(site.url);
  await page.waitForSelector("body[data-ready='1'] table.channels tbody input");
  await page.locator('[data-row="1"][data-column="1"]').focus();
  interactive.push(Date.now() - started);
  await context.close();
}
await browser.close();
site.close();
console.log(
  `navigation to an interactive table: median ${median(interactive)} ms of ${loads} loads,` +
    ` ${(median(interactive) / median(blank)).toFixed(1)}x a file's load (${median(blank)} ms)`,
);
