// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser journeys share: the built site on a local server (localhost is a secure
// context, as Web Serial needs), Debian's Chromium through playwright-core with a fresh
// profile, the language files' texts, and screenshots kept when a journey fails.
import {
  existsSync,
  mkdirSync,
  mkdtempSync,
  readFileSync,
  rmSync,
} from "node:fs";
import { createServer } from "node:http";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, extname, join, normalize } from "node:path";

export const sourceDir = new URL("../../", import.meta.url).pathname;
export const siteDir =
  process.env.HALVEX_SITE_DIR ?? join(sourceDir, "build-web/site");
export const chromiumPath = process.env.HALVEX_CHROMIUM ?? "/usr/bin/chromium";
export const skipCode = 77;

const require = createRequire(join(sourceDir, "web/package.json"));

const chromiumFlags =
  "no-sandbox disable-gpu disable-quic no-first-run disable-background-networking " +
  "disable-component-update disable-sync";

const contentTypes = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".css": "text/css",
  ".wasm": "application/wasm",
  ".json": "application/json",
  ".lang": "text/plain; charset=utf-8",
  ".ini": "text/plain; charset=utf-8",
};

// Serves the site folder on a free port of localhost; resolves to its address.
export function serveSite() {
  const server = createServer((request, response) => {
    const path = normalize(
      decodeURIComponent(new URL(request.url, "http://x").pathname),
    );
    const file = join(siteDir, path.endsWith("/") ? `${path}index.html` : path);
    if (!file.startsWith(siteDir) || !existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      "Content-Type": contentTypes[extname(file)] ?? "application/octet-stream",
    });
    response.end(readFileSync(file));
  });
  return new Promise((resolve) => {
    server.listen(0, "localhost", () => {
      resolve({
        url: `http://localhost:${server.address().port}/`,
        close: () => server.close(),
      });
    });
  });
}

// The [String] texts of a shipped language file, with its escapes turned into the characters
// the core shows.
export function languageTexts(fileName) {
  const texts = {};
  let section = "";
  for (const line of readFileSync(
    join(sourceDir, "data", fileName),
    "utf8",
  ).split(/\r?\n/)) {
    const heading = line.match(/^\[(.*)\]$/);
    if (heading) {
      section = heading[1];
      continue;
    }
    const entry = line.match(/^([^=]+)=(.*)$/);
    if (entry) {
      texts[`${section}/${entry[1]}`] = entry[2]
        .replaceAll("\\n", "\n")
        .replaceAll("\\t", "\t");
    }
  }
  return texts;
}

// Runs journey(session) in a new Chromium with an empty profile; exits 0 when it passes, 1 with
// a screenshot in the test's folder when it fails, and skips (77) without Chromium or the site.
export async function runJourney(name, journey) {
  if (!existsSync(chromiumPath)) {
    console.log(
      `SKIP ${name}: ${chromiumPath} is not installed (scripts/ensure-deps installs chromium)`,
    );
    process.exit(skipCode);
  }
  if (!existsSync(join(siteDir, "index.html"))) {
    console.log(`FAIL ${name}: no site in ${siteDir}; build it with make web`);
    process.exit(1);
  }
  const { chromium } = require("playwright-core");
  const [profile, downloads] = ["profile", "downloads"].map((kind) =>
    mkdtempSync(join(tmpdir(), `halvex-web-${kind}-`)),
  );
  const site = await serveSite();
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    acceptDownloads: true,
    downloadsPath: downloads,
    viewport: { width: 1280, height: 800 },
    args: chromiumFlags.split(" ").map((flag) => `--${flag}`),
  });
  const page = context.pages()[0] ?? (await context.newPage());
  const problems = [];
  page.on("pageerror", (error) => problems.push(String(error)));
  let failed = false;
  try {
    await journey({ page, context, site: site.url, downloads, problems });
    if (problems.length > 0) {
      throw new Error(`the page raised: ${problems.join("; ")}`);
    }
    console.log(`PASS ${name}`);
  } catch (error) {
    failed = true;
    const shot = join(process.cwd(), "web-failures", `${name}.png`);
    mkdirSync(dirname(shot), { recursive: true });
    await page.screenshot({ path: shot }).catch(() => {});
    console.log(`FAIL ${name}: ${error?.stack ?? error}\nscreenshot: ${shot}`);
  } finally {
    await context.close();
    site.close();
    for (const folder of [profile, downloads]) {
      rmSync(folder, { recursive: true, force: true });
    }
  }
  process.exit(failed ? 1 : 0);
}

// The halvex-cli the journeys check the page's files with: the tests' own, else the dev build's.
export const cliPath =
  process.env.HALVEX_CLI ?? join(sourceDir, "build/bin/halvex-cli");

// The journey of journeys the command line names; a usage line and exit 2 for any other name.
export async function runNamedJourney(script, journeys) {
  const name = process.argv[2];
  if (!journeys[name]) {
    console.log(`usage: node ${script} ${Object.keys(journeys).join("|")}`);
    process.exit(2);
  }
  await runJourney(name, journeys[name]);
}
