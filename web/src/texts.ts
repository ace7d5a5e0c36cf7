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

// The language files the site ships, English first.
export async function languageFileNames(base: URL): Promise<string[]> {
  const response = await fetch(new URL("languages.json", base));
  if (!response.ok) {
    throw new Error(`languages.json: ${response.status} ${response.statusText}`);
  }
  return (await response.json()) as string[];
}

// Fetches one language file into the core; the message says why it could not be used.
export async function loadLanguage(
  module: HalvexModule,
  base: URL,
  fileName: string,
): Promise<{ language: LanguageChoice | null; message: string }> {
  const response = await fetch(new URL(fileName, base));
  if (!response.ok) {
    return { language: null, message: `${fileName}: ${response.status} ${response.statusText}` };
  }
  const message = module.addLanguage(fileName, await response.text());
  if (message) {
    return { language: null, message };
  }
  return { language: { fileName, name: module.languageName(fileName) }, message: "" };
}

// The language kept from the last visit, else English.
export function preferredLanguage(fileNames: string[]): string {
  const kept = localStorage.getItem(languageKey);
  return kept && fileNames.includes(kept) ? kept : "english.lang";
}

export function keepLanguage(fileName: string): void {
  localStorage.setItem(languageKey, fileName);
}
