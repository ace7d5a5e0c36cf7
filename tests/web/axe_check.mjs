// SPDX-License-Identifier: GPL-3.0-or-later
// axe-core in the page, as every journey runs it over a page or dialog.
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { join } from "node:path";
import { sourceDir } from "./harness.mjs";

// axe-core over the page, or over the part an axe context names.
export async function runAxe(page, where, context = null) {
  const require = createRequire(join(sourceDir, "web/package.json"));
  if (!(await page.evaluate(() => "axe" in window))) {
    await page.addScriptTag({ path: require.resolve("axe-core/axe.min.js") });
  }
  const { violations } = await page.evaluate(
    (scope) => window.axe.run(scope ?? document),
    context,
  );
  assert.deepEqual(
    violations
      .filter((v) => v.impact === "serious" || v.impact === "critical")
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" "))}`),
    [],
    `axe finds no serious or critical violation ${where}`,
  );
}
