// SPDX-License-Identifier: GPL-3.0-or-later
// The site: the page's scripts and styles, the core module and its .wasm from the web-core
// build, and the shipped setting.ini and language files, into build-web/site/.
import { existsSync, readdirSync, readFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { defineConfig, type Plugin } from "vite";
import { offlineSite } from "./offline_site";

const dataDir = fileURLToPath(new URL("../data/", import.meta.url));
// Where make web-core leaves the compiled core (its script and its .wasm), unless
// HALVEX_CORE_DIR names a module built elsewhere.
const coreDir =
  process.env.HALVEX_CORE_DIR?.replace(/\/?$/, "/") ??
  fileURLToPath(new URL("../build-web/wasm/", import.meta.url));
const coreFiles = ["halvex.js", "halvex.wasm"];

function languageFiles(): string[] {
  return readdirSync(dataDir)
    .filter((name) => name.endsWith(".lang"))
    .sort((a, b) => {
      if (a === "english.lang" || b === "english.lang") {
        return a === "english.lang" ? -1 : 1;
      }
      return a < b ? -1 : 1;
    });
}

function contentType(name: string): string {
  if (name.endsWith(".json")) {
    return "application/json";
  }
  if (name.endsWith(".js")) {
    return "text/javascript";
  }
  return name.endsWith(".wasm") ? "application/wasm" : "text/plain; charset=utf-8";
}

// The compiled core, setting.ini, the .lang files and their list, served by the dev server and written beside
// index.html by the build, so a host can change the band lines without rebuilding.
function siteData(): Plugin {
  const files = (): Map<string, Buffer | string> => {
    const all = new Map<string, Buffer | string>();
    all.set("setting.ini", readFileSync(dataDir + "setting.ini"));
    for (const name of languageFiles()) {
      all.set(name, readFileSync(dataDir + name));
    }
    all.set("languages.json", JSON.stringify(languageFiles()));
    for (const name of coreFiles) {
      if (!existsSync(coreDir + name)) {
        throw new Error(`${coreDir}${name} is missing: build the core first (make web-core)`);
      }
      all.set(name, readFileSync(coreDir + name));
    }
    return all;
  };
  return {
    name: "halvex-site-data",
    configureServer(server) {
      server.middlewares.use((request, response, next) => {
        const name = decodeURIComponent((request.url ?? "").split("?")[0].replace(/^\//, ""));
        const file = files().get(name);
        if (file === undefined) {
          next();
          return;
        }
        response.setHeader("Content-Type", contentType(name));
        response.end(file);
      });
    },
    generateBundle() {
      for (const [fileName, source] of files()) {
        this.emitFile({ type: "asset", fileName, source });
      }
    },
  };
}

export default defineConfig({
  base: "./",
  plugins: [siteData(), offlineSite()],
  server: { port: 8870, strictPort: true },
  preview: { port: 8870, strictPort: true },
  build: {
    outDir: "../build-web/site",
    emptyOutDir: true,
    target: "es2022",
    assetsInlineLimit: 0,
    chunkSizeWarningLimit: 2000,
  },
});
