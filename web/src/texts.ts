// SPDX-License-Identifier: GPL-3.0-or-later
// Every word the page shows comes from the language files through the core's lookup; this
// file only fetches the shipped files, remembers the choice and turns menu texts into labels.
import type { HalvexModule } from "./wasm/halvex";

const languageKey = "halvex.language";

export interface LanguageChoice {
  fileName: string;
  name: string;
}

export interface Texts {
  (key: string): string;
  resource(id: number): string;
}

export function makeTexts(module: HalvexModule): Texts {
  const lookup = ((key: string) => module.LoadLangString(key)) as Texts;
  lookup.resource = (id: number) => module.LoadResourceText(id);
  return lookup;
}

// A menu text as a button's label: without the accelerator ("&Open", "打开(&O)"), the "..."
// of a menu item that opens a dialog, or the shortcut after the tab.
export function label(menuText: string): string {
  const withoutShortcut = menuText.split("\t")[0];
  return withoutShortcut
    .replace(/\s*\(&.\)/g, "")
    .replace(/&(.)/g, "$1")
    .replace(/(\.\.\.|…)$/, "");
}

// Fills a placeholder of the language files' kinds (%s, %d, %1) with the values in order.
export function fill(text: string, ...values: (string | number)[]): string {
  let next = 0;
  return text.replace(/%(?:[sd]|(\d))/g, (_match, numbered: string | undefined) => {
    const value = numbered ? values[Number(numbered) - 1] : values[next++];
    return value === undefined ? "" : String(value);
  });
}

// Loads every shipped language file into the core; an unreadable one is left out with its
// reason, so the others still work.
export async function loadLanguages(
  module: HalvexModule,
  base: URL,
): Promise<{ languages: LanguageChoice[]; problems: string[] }> {
  const problems: string[] = [];
  const listResponse = await fetch(new URL("languages.json", base));
  if (!listResponse.ok) {
    return { languages: [], problems: [`languages.json: ${listResponse.status}`] };
  }
  const fileNames = (await listResponse.json()) as string[];
  const languages: LanguageChoice[] = [];
  const texts = await Promise.all(
    fileNames.map(async (fileName) => {
      const response = await fetch(new URL(fileName, base));
      return response.ok ? await response.text() : null;
    }),
  );
  fileNames.forEach((fileName, index) => {
    const text = texts[index];
    if (text === null) {
      problems.push(`${fileName}: not found`);
      return;
    }
    const message = module.addLanguage(fileName, text);
    if (message) {
      problems.push(message);
      return;
    }
    languages.push({ fileName, name: module.languageName(fileName) });
  });
  return { languages, problems };
}

// The language kept from the last visit, else English.
export function preferredLanguage(languages: LanguageChoice[]): string {
  const kept = localStorage.getItem(languageKey);
  if (kept && languages.some((language) => language.fileName === kept)) {
    return kept;
  }
  return "english.lang";
}

export function keepLanguage(fileName: string): void {
  localStorage.setItem(languageKey, fileName);
}
