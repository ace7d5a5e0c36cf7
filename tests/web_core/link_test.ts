// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled core under node, through the page's own loader and link: the virtual radio
// read, a cell changed, the document written back; Cancel mid-read, a radio that falls
// silent and another model, each leaving the document as it was. The written radio's memory,
// the saved file, and the files the page opens, exports and imports go to the output folder
// for the native side of the test to compare.
import { strict as assert } from "node:assert";
import { readFileSync, writeFileSync } from "node:fs";
import { pathToFileURL } from "node:url";
import { loadHalvex } from "../../web/src/wasm/load_halvex";
import type {
  HalvexDocument,
  HalvexModule,
  SerialPortLike,
  VirtualRadio,
} from "../../web/src/wasm/halvex";
import { SerialLine } from "../../web/src/link/serial_line";

const [wasmFolder, dataFolder, outputFolder] = process.argv.slice(2);

const RECEIVE = 1;
const NAME = 12;
const CLONE_FIRST = 0x0800;
const CLONE_END = 0x2000;

type AtPercent = (percent: number, cancel: () => void) => void;

const clonePart = (bytes: Uint8Array) => bytes.subarray(CLONE_FIRST, CLONE_END);

function snapshot(document: HalvexDocument) {
  return {
    image: document.imageBytes(),
    modified: document.isModified(),
    pathName: document.pathName(),
    canUndo: document.canUndo(),
  };
}

async function transfer(
  module: HalvexModule,
  document: HalvexDocument,
  port: SerialPortLike,
  kind: "read" | "write",
  atPercent?: AtPercent,
) {
  let cancel = () => {};
  const running = module.startTransfer(document, port, kind, {
    verify: kind === "write",
    onProgress: (percent) => atPercent?.(percent, cancel),
  });
  cancel = () => running.cancel();
  return running.done;
}

// Presses Cancel once, when a tenth has gone over the line.
function cancelAtTenth(): AtPercent {
  let asked = false;
  return (percent, cancel) => {
    if (percent >= 10 && !asked) {
      asked = true;
      cancel();
    }
  };
}

// A port whose bytes come in the chunks a test gives, when it gives them.
function chunkedPort(): SerialPortLike & { push(bytes: Uint8Array): void } {
  let output: ReadableStreamDefaultController<Uint8Array> | null = null;
  const port = {
    readable: null as ReadableStream<Uint8Array> | null,
    writable: null as WritableStream<Uint8Array> | null,
    async open() {
      port.readable = new ReadableStream({ start: (controller) => void (output = controller) });
      port.writable = new WritableStream();
    },
    async close() {
      port.readable = port.writable = null;
    },
    push: (bytes: Uint8Array) => output?.enqueue(bytes),
  };
  return port;
}

// A small generator with a fixed seed, so a failing run can be repeated.
function random(seed: number): (below: number) => number {
  let state = seed;
  return (below) => {
    state = (state * 1103515245 + 12345) % 2147483648;
    return state % below;
  };
}

const cases: [string, (module: HalvexModule) => Promise<void>][] = [
  [
    "the line hands over every byte once and in order, however the port chunks it",
    async () => {
      for (let seed = 1; seed <= 20; seed += 1) {
        const next = random(seed);
        const sent = Uint8Array.from({ length: 200 + next(300) }, () => next(256));
        const port = chunkedPort();
        const line = new SerialLine(port);
        await line.open(9600);
        const taken: number[] = [];
        for (let at = 0; taken.length < sent.length;) {
          // Bytes arrive in chunks of any size, some while a read waits, some before it.
          if (at < sent.length && next(2) === 0) {
            const size = 1 + next(40);
            port.push(sent.slice(at, (at += size)));
          }
          const count = 1 + next(30);
          const got = await line.read(count, at < sent.length ? 2 : 50);
          assert.ok(got.length <= count, `seed ${seed}: ${got.length} bytes for ${count}`);
          taken.push(...got);
        }
        assert.deepEqual(Uint8Array.from(taken), sent, `seed ${seed}`);
        assert.equal((await line.read(1, 5)).length, 0, `seed ${seed}: nothing more`);
        await line.close();
      }
    },
  ],
  [
    "a read, an edited cell and a checked write give the radio the document's image",
    async (module) => {
      const document = module.newDocument();
      const radio = module.newVirtualRadio();
      const read = await transfer(module, document, radio, "read");
      assert.deepEqual(
        [read.ok, read.message, document.isModified()],
        [true, module.LoadLangString("IDS_READ_DONE"), true],
      );
      assert.deepEqual(clonePart(document.imageBytes()), clonePart(radio.memory()));
      assert.notEqual(document.rowTexts(1)[RECEIVE], "", "the demo's channel 1 is in use");
      // Above the 136-174 MHz band: the core clamps it and says so.
      const clamped = document.commitText(1, RECEIVE, "180");
      assert.deepEqual(
        [clamped.changed, clamped.note, document.rowTexts(1)[RECEIVE]],
        [true, "Stored 173.99500 MHz: 180 is above the band 136.00000-173.99500 MHz.", "173.99500"],
      );
      const named = document.commitText(2, NAME, "CALLING");
      assert.deepEqual(
        [named.changed, document.rowTexts(2)[NAME], document.undoName()],
        [true, "CALLI", "Edit Channel 2 Name"],
      );
      const write = await transfer(module, document, radio, "write");
      assert.deepEqual([write.ok, write.message], [true, module.LoadLangString("IDS_WRITE_DONE")]);
      const saved = document.save("edited.pgm");
      assert.equal(saved.ok, true, saved.message);
      writeFileSync(`${outputFolder}/edited.pgm`, saved.bytes);
      writeFileSync(`${outputFolder}/radio-after-web-write.bin`, radio.memory());
      assert.deepEqual(clonePart(radio.memory()), clonePart(document.imageBytes()));
    },
  ],
  [
    "Cancel mid-read, a radio that falls silent, another model, an echoing cable set as direct and a port in use leave the document as it was",
    async (module) => {
      const document = module.newDocument();
      document.commitText(1, RECEIVE, "145.5");
      const before = snapshot(document);
      const portInUse = module.LoadLangString("IDS_ERROR_PORTCONN");
      const held: SerialPortLike = {
        readable: null,
        writable: null,
        open: () => Promise.reject(new Error("Failed to open serial port.")),
        close: async () => {},
      };
      const outcomes: [string, () => [SerialPortLike, AtPercent?]][] = [
        ["", () => [module.newVirtualRadio({ paced: true }), cancelAtTenth()]],
        [
          module.LoadLangString("IDS_PROMPT_READFAIL"),
          () => {
            const radio = module.newVirtualRadio();
            return [radio, (percent) => void (percent >= 30 && radio.setFaults({ silent: true }))];
          },
        ],
        [portInUse, () => [module.newVirtualRadio({ faults: { silent: true } })]],
        [
          module.LoadLangString("IDS_ERROR_TYPE"),
          () => [module.newVirtualRadio({ faults: { identificationLength: 6 } })],
        ],
        [
          module.LoadLangString("IDS_ERROR_ECHOCABLE"),
          () => [module.newVirtualRadio({ echo: true })],
        ],
        // A port another program holds: the browser's own words follow the desktop's.
        [`${portInUse}\n\nFailed to open serial port.`, () => [held]],
      ];
      for (const [message, makePort] of outcomes) {
        const [port, atPercent] = makePort();
        const outcome = await transfer(module, document, port, "read", atPercent);
        assert.deepEqual([outcome.ok, outcome.message], [false, message]);
        assert.deepEqual(snapshot(document), before, `after "${message}"`);
      }
      // The same echoing cable, set as one, reads the radio.
      assert.equal(module.setCableType(2), "");
      const echoed = await transfer(
        module,
        document,
        module.newVirtualRadio({ echo: true }),
        "read",
      );
      assert.equal(module.setCableType(1), "");
      assert.deepEqual([echoed.ok, echoed.message], [true, module.LoadLangString("IDS_READ_DONE")]);
    },
  ],
  [
    "a write that fails, is stopped or is not kept says what the radio holds now",
    async (module) => {
      const document = module.newDocument();
      const demo = module.newVirtualRadio();
      assert.equal((await transfer(module, document, demo, "read")).ok, true);
      document.commitText(1, RECEIVE, "150");
      // The block the edit changed: a radio that drops it still holds the demo's there.
      const edited = document.imageBytes();
      const changed = demo
        .memory()
        .findIndex((byte, at) => at >= CLONE_FIRST && byte !== edited[at]);
      const block = changed - (changed % 16);
      const blockName = `0x${block.toString(16).toUpperCase().padStart(4, "0")}`;
      const fill = (key: string, ...values: (number | string)[]) =>
        values.reduce<string>(
          (text, value) => text.replace(typeof value === "number" ? "%d" : "%s", String(value)),
          module.LoadLangString(key),
        );
      const failures: [string, VirtualRadio][] = [
        [
          module.LoadLangString("IDS_PROMPT_WRITEFAIL"),
          module.newVirtualRadio({ faults: { noAckBlock: 0x0800 } }),
        ],
        [
          `${module.LoadLangString("IDS_PROMPT_VERIFYFAIL")}\n${fill("IDS_VERIFY_ONEBLOCK", 1)} ${blockName}`,
          module.newVirtualRadio({ faults: { unstoredBlock: block } }),
        ],
      ];
      for (const [message, radio] of failures) {
        const outcome = await transfer(module, document, radio, "write");
        assert.deepEqual([outcome.ok, outcome.message], [false, message]);
      }
      const paced = module.newVirtualRadio({ paced: true });
      const stopped = await transfer(module, document, paced, "write", cancelAtTenth());
      assert.deepEqual(
        [stopped.ok, stopped.cancelled, stopped.message],
        [false, true, fill("IDS_PROMPT_WRITESTOPPED", stopped.blocks, 384)],
      );
      assert.ok(stopped.blocks > 0 && stopped.blocks < 384, `${stopped.blocks} blocks taken`);
    },
  ],
  [
    "a damaged file is refused with the desktop's words and leaves the document",
    async (module) => {
      const document = module.newDocument();
      document.commitText(1, RECEIVE, "145.5");
      const whole = document.save("whole.pgm").bytes;
      const before = snapshot(document);
      const refusals: [string, Uint8Array, string][] = [
        ["header.pgm", whole.slice(0, 48), "holds only a file header and no radio data"],
        ["short.pgm", whole.slice(0, 4000), "is 4000 bytes long instead of"],
        ["empty.pgm", new Uint8Array(0), "is empty"],
      ];
      for (const [name, bytes, reason] of refusals) {
        const opened = document.open(bytes, name);
        assert.equal(opened.ok, false, name);
        const expected = `${module.LoadLangString("IDS_WARN_LOADSIZE")}\n${name} ${reason}`;
        assert.ok(opened.message.startsWith(expected), opened.message);
      }
      const foreign = whole.slice().fill(0x41, 0, 8);
      assert.deepEqual(document.open(foreign, "foreign.pgm"), {
        ok: false,
        message: module.LoadLangString("IDS_WARN_LOAD"),
      });
      assert.deepEqual(
        { ...snapshot(document), modified: true },
        { ...before, pathName: "whole.pgm", modified: true },
      );
      assert.deepEqual(document.open(whole, "again.pgm"), { ok: true, message: "" });
      assert.deepEqual(document.imageBytes(), before.image);
    },
  ],
  [
    "a file opened, a channel list and a text form imported: saved as the native program saves them",
    async (module) => {
      const document = module.newDocument();
      const fixture = readFileSync(`${dataFolder}/../tests/data/pgm/v1_05_channels.pgm`);
      assert.deepEqual(document.open(fixture, "opened.pgm"), {
        ok: true,
        message: "",
      });
      const exported = document.exportChannels();
      assert.deepEqual([exported.ok, exported.notes.length > 0], [true, true]);
      writeFileSync(`${outputFolder}/opened.csv`, exported.bytes);
      writeFileSync(`${outputFolder}/opened.yaml`, document.exportText());
      writeFileSync(`${outputFolder}/opened.pgm`, document.save("opened.pgm").bytes);
      const imports: [string, (fresh: HalvexDocument, bytes: Uint8Array) => boolean][] = [
        [
          "examples/murs.csv",
          (fresh, bytes) => fresh.importChannels(bytes, "murs.csv", false, true).changes,
        ],
        [
          "examples/demo.yaml",
          (fresh, bytes) => fresh.importText(bytes, "demo.yaml", true).changes,
        ],
      ];
      for (const [file, take] of imports) {
        const fresh = module.newDocument();
        assert.equal(take(fresh, readFileSync(`${dataFolder}/${file}`)), true, file);
        assert.deepEqual([fresh.canUndo(), fresh.isModified()], [true, true], file);
        const name = file.replace(/^.*\/|\.\w+$/g, "");
        writeFileSync(`${outputFolder}/${name}.pgm`, fresh.save(`${name}.pgm`).bytes);
        fresh.undo();
        assert.equal(fresh.canExportChannels(), false, `${file}: Undo takes the import back whole`);
      }
    },
  ],
  [
    "settings and language files that cannot be used are named and change nothing",
    async (module) => {
      const kept = module.settingsText();
      assert.equal(
        module.useSettings("\u0000binary"),
        "setting.ini is not a settings file: it holds NUL bytes (binary, or UTF-16 text)",
      );
      assert.equal(module.settingsText(), kept);
      assert.deepEqual(
        [
          module.useSettings(kept.replace(/^readtime=\d+$/m, "readtime=-5")),
          module.useSettings(kept),
          module.addLanguage("../english.lang", "x"),
          module.useLanguage("klingon.lang"),
          module.LoadLangString("IDS_READ_DONE"),
        ],
        [
          "setting.ini: readtime=-5 is not allowed: readtime takes a whole number from 1 to " +
            "600000; 50 is used instead",
          "",
          '"../english.lang" is no language file name (name.lang)',
          'no language file "klingon.lang" was added',
          "Read done",
        ],
      );
    },
  ],
];

async function main(): Promise<void> {
  const module = await loadHalvex({
    coreUrl: pathToFileURL(`${wasmFolder}/halvex.js`).href,
    wasmBinary: readFileSync(`${wasmFolder}/halvex.wasm`),
  });
  // The answer time the native link tests use, so a loaded machine does not fail a healthy radio.
  const settings = module.defaultSettings().replace(/^readtime=\d+$/m, "readtime=500");
  const english = readFileSync(`${dataFolder}/english.lang`, "utf8");
  assert.deepEqual(
    [module.useSettings(settings), module.addLanguage("english.lang", english)],
    ["", ""],
  );
  assert.equal(module.useLanguage("english.lang"), "");
  let failed = 0;
  for (const [name, run] of cases) {
    try {
      await run(module);
      console.log(`ok: ${name}`);
    } catch (error) {
      failed += 1;
      console.log(`FAILED: ${name}\n${error instanceof Error ? error.stack : String(error)}`);
    }
  }
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((error: unknown) => {
  console.log(`FAILED to start: ${String(error)}`);
  process.exit(1);
});
