// SPDX-License-Identifier: GPL-3.0-or-later
// Channels on the system clipboard, twice as on the desktop: exactly, in the program's own
// format for another page of it, and as text a spreadsheet takes. A browser without web custom
// formats carries the text alone.
import type { CopiedRows } from "./wasm/channel_edits";

const exactType = "application/x-halvex-channels";
const customType = `web ${exactType}`;

export interface ClipboardChannels {
  exact: Uint8Array;
  text: string;
}

export async function writeChannels(copied: CopiedRows): Promise<void> {
  const text = new Blob([copied.text], { type: "text/plain" });
  try {
    await navigator.clipboard.write([
      new ClipboardItem({
        "text/plain": text,
        [customType]: new Blob([copied.exact.slice()], { type: exactType }),
      }),
    ]);
  } catch (error) {
    if (!(error instanceof DOMException) || error.name === "NotAllowedError") {
      throw error;
    }
    await navigator.clipboard.write([new ClipboardItem({ "text/plain": text })]);
  }
}

export async function readChannels(): Promise<ClipboardChannels> {
  const found: ClipboardChannels = { exact: new Uint8Array(), text: "" };
  for (const item of await navigator.clipboard.read()) {
    if (item.types.includes(customType)) {
      found.exact = new Uint8Array(await (await item.getType(customType)).arrayBuffer());
    }
    if (item.types.includes("text/plain")) {
      found.text = await (await item.getType("text/plain")).text();
    }
  }
  return found;
}
