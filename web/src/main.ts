// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the core module, the settings, the language files, then the page.
import { HalvexPage } from "./app";
import { NewVersionNotice } from "./new_version";
import { keepSettings, loadSettingsText } from "./settings_store";
import { languageFileNames, loadLanguage, makeTexts, preferredLanguage } from "./texts";
import { loadHalvex } from "./wasm/load_halvex";
import "./styles.css";
import "./print_report.css";

const root = document.getElementById("app")!;
const base = new URL(".", document.baseURI);

function fail(message: string): void {
  const line = document.createElement("p");
  line.className = "start-failure";
  line.setAttribute("role", "alert");
  line.textContent = message;
  root.replaceChildren(line);
}

async function start(): Promise<void> {
  const module = await loadHalvex();
  const settings = await loadSettingsText(base);
  if (settings === null) {
    fail("setting.ini could not be loaded from this site.");
    return;
  }
  // A refused text leaves the module's own defaults, a wrong value its default: either way
  // the page goes on, says why, and keeps what the module now holds.
  const settingsProblem = module.useSettings(settings);
  if (settingsProblem) {
    keepSettings(module.settingsText());
  }
  const fileNames = await languageFileNames(base);
  // The language shown first is loaded before the page, the others after it is interactive.
  let first = preferredLanguage(fileNames);
  let loaded = await loadLanguage(module, base, first);
  if (!loaded.language && first !== "english.lang") {
    first = "english.lang";
    loaded = await loadLanguage(module, base, first);
  }
  const languageProblem = loaded.message || module.useLanguage(first);
  if (!loaded.language || languageProblem) {
    fail(languageProblem);
    return;
  }
  const texts = makeTexts(module);
  const page = new HalvexPage(
    module,
    texts,
    loaded.language,
    new URLSearchParams(location.search),
    root,
  );
  if (settingsProblem) {
    page.report(settingsProblem);
  }
  const notice = new NewVersionNotice({ texts, releaseDocument: () => page.releaseDocument() });
  page.onRelabel = () => notice.relabel();
  if (import.meta.env.PROD) {
    notice.register(new URL("sw.js", base)).catch((error: unknown) => page.report(String(error)));
  }
  document.body.dataset.ready = "1";
  for (const fileName of fileNames.filter((name) => name !== first)) {
    const other = await loadLanguage(module, base, fileName);
    if (other.language) {
      page.addLanguage(other.language);
    } else {
      page.report(other.message);
    }
  }
  document.body.dataset.languages = "1";
}

start().catch((error: unknown) => fail(String(error)));
