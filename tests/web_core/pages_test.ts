// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled core's pages and dialogs under node: every list and check box of the
// functions and VFO pages shows what it stored and names its undo step; typed texts are
// stored as the desktop stores them; the settings refuse a wrong value whole; the FM presets
// dialog's Cancel and OK.
import { strict as assert } from "node:assert";
import { readFileSync } from "node:fs";
import { pathToFileURL } from "node:url";
import { loadHalvex } from "../../web/src/wasm/load_halvex";
import type { HalvexDocument, HalvexModule } from "../../web/src/wasm/halvex";
import type { PageName } from "../../web/src/wasm/pages";

const [wasmFolder, dataFolder] = process.argv.slice(2);

// A fixed series, so a failure can be run again.
let seed = 42;
function random(below: number): number {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed % below;
}

function fieldsOf(module: HalvexModule, doc: HalvexDocument, page: PageName) {
  return module.pages
    .pageGroups(doc, page)
    .flatMap((group) =>
      group.fields.map((field) => ({ ...field, group: group.title })),
    );
}

function undoAll(doc: HalvexDocument): void {
  while (doc.canUndo()) {
    doc.undo();
  }
}

const cases: [string, (module: HalvexModule) => void][] = [
  [
    "every list and check box shows the entry stored, names its step, and undoes",
    (module) => {
      const doc = module.newDocument();
      const initial = doc.imageBytes();
      for (const page of ["function", "vfo"] as const) {
        for (const field of fieldsOf(module, doc, page)) {
          if (field.kind === "text") {
            continue;
          }
          const entries = field.kind === "switch" ? 2 : field.choices.length;
          assert.ok(entries > 1, `${field.label} offers a choice`);
          for (const index of [entries - 1, random(entries), 0, 1]) {
            const shownBefore = fieldsOf(module, doc, page).find(
              (f) => f.id === field.id,
            )!;
            const result = module.pages.commitPageChoice(doc, field.id, index);
            const shown = fieldsOf(module, doc, page).find(
              (f) => f.id === field.id,
            )!;
            assert.equal(
              shown.index,
              index,
              `${page} ${field.group} ${field.label} = ${index}`,
            );
            assert.equal(
              result.changed,
              shownBefore.index !== index,
              `${field.label} from ${shownBefore.index}`,
            );
            if (result.changed) {
              assert.equal(
                doc.undoName(),
                `Edit ${field.group ? `${field.group} ` : ""}${field.label}`,
              );
            }
          }
          assert.equal(
            module.pages.commitPageChoice(doc, field.id, entries).changed,
            false,
          );
        }
      }
      undoAll(doc);
      assert.deepEqual(
        doc.imageBytes(),
        initial,
        "Undo of every step gives back the image",
      );
      assert.equal(doc.isModified(), false);
      doc.delete();
    },
  ],
  [
    "typed texts are stored as the desktop stores them",
    (module) => {
      const doc = module.newDocument();
      // [control, typed, the box afterwards, a note about the band]
      const rows: [number, string, string, boolean][] = [
        [1061, "12a", "12A", false],
        [1061, "1234567", "123456", false],
        [1061, "1x2", "1", false],
        [1061, "", "", false],
        [1094, "145.5", "145.50000", false],
        [1096, "146.1", "146.10000", false],
        [1096, "", "", false],
        [1096, "144.6", "144.60000", false],
        [1094, "999", "173.99500", true],
        [1117, "100", "136.00000", true],
        [1119, "140.0012", "140.00000", false],
      ];
      for (const [id, typed, shown, clamped] of rows) {
        const page = id === 1061 ? "function" : "vfo";
        const result = module.pages.commitPageText(doc, id, typed);
        const field = fieldsOf(module, doc, page).find((f) => f.id === id)!;
        assert.equal(field.text, shown, `${id} typed ${typed}`);
        assert.equal(
          result.note !== "",
          clamped,
          `${id} typed ${typed}: ${result.note}`,
        );
        assert.equal(
          module.pages.commitPageText(doc, id, shown).changed,
          false,
          "again",
        );
      }
      doc.delete();
    },
  ],
  [
    "a wrong setting refuses every change with it; right ones are used and read back",
    (module) => {
      const shipped = module.settingsText();
      const refused: [string, { key: string; value: string }[], RegExp][] = [
        [
          "no channel",
          [{ key: "channelcount", value: "0" }],
          /channelcount=0 is not allowed/,
        ],
        [
          "past the radio",
          [{ key: "channelcount", value: "129" }],
          /from 1 to 128/,
        ],
        [
          "a good value beside a bad one",
          [
            { key: "verifywrite", value: "1" },
            { key: "writetime", value: "fast" },
          ],
          /writetime=fast/,
        ],
        ["a short band line", [{ key: "data3", value: "0013" }], /data3=0013/],
        ["another key", [{ key: "com", value: "3" }], /com is not a setting/],
      ];
      for (const [name, edits, why] of refused) {
        const applied = module.pages.applySettings(edits);
        assert.equal(applied.used, false, name);
        assert.match(applied.message, why, name);
        assert.equal(
          module.settingsText(),
          shipped,
          `${name}: the settings as they were`,
        );
      }
      const applied = module.pages.applySettings([
        { key: "channelcount", value: "20" },
        { key: "verifywrite", value: "1" },
        { key: "rwtype", value: "2" },
        { key: "Freq6", value: "150-160MHz" },
        { key: "data6", value: "0015001600000000" },
      ]);
      assert.deepEqual(applied, { used: true, message: "" });
      const values = Object.fromEntries(
        module.pages.settingFields().map((field) => [field.key, field.value]),
      );
      assert.deepEqual(
        [
          values.channelcount,
          values.verifywrite,
          values.rwtype,
          module.verifyAfterWrite(),
        ],
        ["20", "1", "2", true],
      );
      assert.equal(module.bandNames()[6], "150-160MHz");
      const doc = module.newDocument();
      assert.equal(doc.channelCount(), 20);
      doc.delete();
      assert.equal(module.useSettings(module.defaultSettings()), "");
      assert.equal(module.settingsText(), module.defaultSettings());
    },
  ],
  [
    "FM presets: Cancel puts the document back, OK is one undo step",
    (module) => {
      const doc = module.newDocument();
      const initial = doc.imageBytes();
      const choose = (
        edit: InstanceType<HalvexModule["pages"]["FmPresets"]>,
      ) => {
        const words = edit.words();
        assert.equal(words.rowNames.length, 16);
        for (let k = 0; k < 5; k++) {
          const preset = 1 + random(16);
          const index = random(words.presetChoices.length);
          assert.equal(edit.choosePreset(preset, index), true);
          assert.equal(edit.preset(preset), index);
        }
        assert.equal(
          edit.chooseFrequency(words.frequencyChoices.length - 1),
          true,
        );
        assert.equal(
          edit.chooseFrequency(words.frequencyChoices.length),
          false,
        );
        assert.equal(edit.choosePreset(17, 0), false);
      };
      const cancelled = new module.pages.FmPresets(doc);
      choose(cancelled);
      assert.equal(
        doc.isModified(),
        true,
        "each choice is in the document at once",
      );
      cancelled.reject();
      cancelled.delete();
      assert.deepEqual(
        [doc.imageBytes(), doc.isModified(), doc.canUndo()],
        [initial, false, false],
      );
      const accepted = new module.pages.FmPresets(doc);
      choose(accepted);
      accepted.accept();
      accepted.delete();
      assert.equal(doc.undoName(), "Edit FM Radio Presets");
      doc.undo();
      assert.deepEqual([doc.imageBytes(), doc.canUndo()], [initial, false]);
      doc.delete();
    },
  ],
];

async function main(): Promise<void> {
  const module = await loadHalvex({
    coreUrl: pathToFileURL(`${wasmFolder}/halvex.js`).href,
    wasmBinary: readFileSync(`${wasmFolder}/halvex.wasm`),
  });
  const english = readFileSync(`${dataFolder}/english.lang`, "utf8");
  assert.equal(module.addLanguage("english.lang", english), "");
  assert.equal(module.useLanguage("english.lang"), "");
  let failed = 0;
  for (const [name, run] of cases) {
    try {
      run(module);
      console.log(`ok: ${name}`);
    } catch (error) {
      failed += 1;
      console.log(
        `FAILED: ${name}\n${error instanceof Error ? error.stack : String(error)}`,
      );
    }
  }
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((error: unknown) => {
  console.log(`FAILED to start: ${String(error)}`);
  process.exit(1);
});
