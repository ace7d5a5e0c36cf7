// SPDX-License-Identifier: GPL-3.0-or-later
// The settings (setting.ini's text) kept in the browser, with the site's setting.ini as the
// defaults of a first visit.
const settingsKey = "halvex.settings";

export async function loadSettingsText(base: URL): Promise<string | null> {
  const kept = localStorage.getItem(settingsKey);
  if (kept !== null) {
    return kept;
  }
  const response = await fetch(new URL("setting.ini", base));
  return response.ok ? await response.text() : null;
}

export function keepSettings(text: string): void {
  localStorage.setItem(settingsKey, text);
}
