// SPDX-License-Identifier: GPL-3.0-or-later
// A paced read and write through the compiled core under node, against its virtual radio at
// 9600 baud, beside the native programs doing the same against radio-sim --pace, in one run:
// each as a ratio to the time the line and the protocol's own pauses need (the bound of
// transfer_bench). The module's sizes, compressed as a server sends them, below the table.
// Usage: node web_core_bench.mjs WASM_DIR DATA_DIR HALVEX_CLI RADIO_SIM
import { spawn, spawnSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { gzipSync } from "node:zlib";
import { loadHalvex } from "../web/src/wasm/load_halvex";
import type { HalvexModule } from "../web/src/wasm/halvex";

const [wasmFolder, dataFolder, cli, radioSim] = process.argv.slice(2);

const SECONDS_PER_BYTE = 10 / 9600;
const BLOCKS = 384;
const LEAD_SECONDS = 0.001;
const SETTLE_SECONDS = 0.1;
const AFTER_WRITE_SECONDS = 1.0;
const GOAL = 1.05;
const RUNS = 3;

// As transfer_bench counts them: wake-up 7 + 1, identification 1 + 8, its acknowledgement
// 1 + 1, then the blocks and the end, each send with its lead delay.
function wireBound(read: boolean): number {
  const preamble = 8 + 9 + 2;
  const sends = 3 + BLOCKS + 1;
  if (read) {
    const bytes = preamble + BLOCKS * (4 + 20) + 2;
    return bytes * SECONDS_PER_BYTE + sends * LEAD_SECONDS + SETTLE_SECONDS;
  }
  const bytes = preamble + BLOCKS * (20 + 1) + 1;
  return bytes * SECONDS_PER_BYTE + sends * LEAD_SECONDS + SETTLE_SECONDS + AFTER_WRITE_SECONDS;
}

function median(values: number[]): number {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function timeModule(module: HalvexModule, read: boolean): Promise<number | null> {
  const document = module.newDocument();
  const radio = module.newVirtualRadio({ paced: true });
  if (!read && !(await module.startTransfer(document, radio, "read").done).ok) {
    return null;
  }
  const start = performance.now();
  const outcome = await module.startTransfer(document, radio, read ? "read" : "write", {
    verify: false,
  }).done;
  const seconds = (performance.now() - start) / 1000;
  document.delete();
  return outcome.ok ? seconds : null;
}

function waitFor(path: string): boolean {
  for (let k = 0; k < 100 && !existsSync(path); k += 1) {
    spawnSync("sleep", ["0.1"]);
  }
  return existsSync(path);
}

function timeNative(folder: string, read: boolean): number | null {
  const link = join(folder, `radio-${read ? "read" : "write"}`);
  const radio = spawn(radioSim, ["--link", link, "--demo", "--pace"], { stdio: "ignore" });
  try {
    if (!waitFor(link)) {
      return null;
    }
    const file = join(folder, "native.pgm");
    const settings = join(folder, "setting.ini");
    const argumentsOf = read
      ? ["read", "--settings", settings, "--device", link, "-o", file]
      : ["write", "--settings", settings, "--device", link, "--no-verify", file];
    const environment = { ...process.env, HOME: folder, XDG_CONFIG_HOME: folder };
    const start = performance.now();
    const run = spawnSync(cli, argumentsOf, { env: environment, encoding: "utf8" });
    const seconds = (performance.now() - start) / 1000;
    if (run.status !== 0) {
      console.error(`web_core_bench: halvex-cli ${argumentsOf[0]}: ${run.stderr}`);
      return null;
    }
    return seconds;
  } finally {
    radio.kill();
  }
}

function row(name: string, seconds: number | null, bound: number): string {
  if (seconds === null) {
    return `${name.padEnd(22)} ${"failed".padStart(8)} ${bound.toFixed(3).padStart(8)}`;
  }
  const ratio = seconds / bound;
  return (
    `${name.padEnd(22)} ${seconds.toFixed(3).padStart(8)} ${bound.toFixed(3).padStart(8)} ` +
    `${ratio.toFixed(4).padStart(8)} ${GOAL.toFixed(2).padStart(6)}  ${ratio <= GOAL ? "met" : "MISSED"}`
  );
}

async function main(): Promise<void> {
  const folder = mkdtempSync(join(tmpdir(), "halvex-web-core-bench-"));
  try {
    const shipped = readFileSync(join(dataFolder, "setting.ini"), "utf8");
    writeFileSync(join(folder, "setting.ini"), shipped.replace(/^searchcom=.*$/m, "searchcom=0"));
    const module = await loadHalvex({
      coreUrl: pathToFileURL(join(wasmFolder, "halvex.js")).href,
      wasmBinary: readFileSync(join(wasmFolder, "halvex.wasm")),
    });
    const measured: Record<string, (number | null)[]> = {};
    for (let run = 0; run < RUNS; run += 1) {
      for (const read of [true, false]) {
        const kind = read ? "read" : "write";
        (measured[`module ${kind}`] ??= []).push(await timeModule(module, read));
        (measured[`native ${kind}`] ??= []).push(timeNative(folder, read));
      }
    }
    console.log(
      `${"paced at 9600 baud".padEnd(22)} ${"seconds".padStart(8)} ${"bound".padStart(8)} ${"ratio".padStart(8)} ${"goal".padStart(6)}`,
    );
    const medians: Record<string, number | null> = {};
    for (const [name, runs] of Object.entries(measured)) {
      const done = runs.filter((seconds): seconds is number => seconds !== null);
      medians[name] = done.length === runs.length ? median(done) : null;
      console.log(row(name, medians[name], wireBound(name.endsWith("read"))));
    }
    // On a busy machine both miss the bound together; the module's share of it stays in view.
    for (const kind of ["read", "write"]) {
      const module = medians[`module ${kind}`];
      const native = medians[`native ${kind}`];
      if (module !== null && native !== null) {
        console.log(`module / native ${kind}: ${(module / native).toFixed(4)}`);
      }
    }
    for (const file of ["halvex.wasm", "halvex.js"]) {
      const bytes = readFileSync(join(wasmFolder, file));
      console.log(
        `${file}: ${bytes.length} bytes, ${gzipSync(bytes, { level: 9 }).length} gzipped`,
      );
    }
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

main().catch((error: unknown) => {
  console.error(`web_core_bench: ${String(error)}`);
  process.exit(1);
});
