// SPDX-License-Identifier: GPL-3.0-or-later
// The installable, offline site: the web app manifest with the program's icons, and the
// service worker written from service_worker.js with the list of every file the build emits
// and a cache name from their content, so each new build is a new version of the page.
import { createHash } from "node:crypto";
import { readFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import type { Plugin } from "vite";

const iconDir = fileURLToPath(new URL("../packaging/icons/", import.meta.url));
const workerTemplate = fileURLToPath(new URL("./service_worker.js", import.meta.url));
export const workerFile = "sw.js";
const manifestFile = "manifest.webmanifest";
const icons = [
  { file: "halvex-128.png", sizes: "128x128", type: "image/png" },
  { file: "halvex-256.png", sizes: "256x256", type: "image/png" },
  { file: "org.halvex.Halvex.svg", sizes: "any", type: "image/svg+xml" },
];

function manifest(): string {
  return JSON.stringify(
    {
      name: "Halvex",
      short_name: "Halvex",
      start_url: "./",
      scope: "./",
      display: "standalone",
      background_color: "#ffffff",
      theme_color: "#eef1f4",
      icons: icons.map(({ file, sizes, type }) => ({ src: file, sizes, type })),
    },
    null,
    2,
  );
}

function siteFiles(): Map<string, Buffer | string> {
  const files = new Map<string, Buffer | string>([[manifestFile, manifest()]]);
  for (const { file } of icons) {
    files.set(file, readFileSync(iconDir + file));
  }
  return files;
}

export function offlineSite(): Plugin {
  return {
    name: "halvex-offline-site",
    enforce: "post",
    configureServer(server) {
      server.middlewares.use((request, response, next) => {
        const file = siteFiles().get((request.url ?? "").split("?")[0].replace(/^\//, ""));
        if (file === undefined) {
          next();
          return;
        }
        response.end(file);
      });
    },
    generateBundle(_options, bundle) {
      for (const [fileName, source] of siteFiles()) {
        this.emitFile({ type: "asset", fileName, source });
      }
      const hash = createHash("sha256");
      const names = Object.keys(bundle).sort();
      for (const name of names) {
        const output = bundle[name];
        hash.update(name);
        hash.update(output.type === "chunk" ? output.code : output.source);
      }
      const worker = readFileSync(workerTemplate, "utf8")
        .replace('"__HALVEX_CACHE__"', JSON.stringify(`halvex-${hash.digest("hex").slice(0, 16)}`))
        .replace("= __HALVEX_FILES__;", `= ${JSON.stringify(["./", ...names])};`);
      this.emitFile({ type: "asset", fileName: workerFile, source: worker });
    },
  };
}
