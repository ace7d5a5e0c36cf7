// SPDX-License-Identifier: GPL-3.0-or-later
// Calls the page makes that the core module's declaration does not hold yet; main.ts refuses
// to start, with a line saying which, when the loaded module lacks one.
import "./wasm/halvex";

declare module "./wasm/halvex" {
  interface HalvexModule {
    /** The text of a dialog control (the language file's "Resource" section); "" if none. */
    LoadResourceText(id: number): string;
  }
  interface HalvexDocument {
    /** A write would erase the radio's channels: the page asks IDS_WARN_ERASE first. */
    wouldEraseRadio(): boolean;
    /** The .pgm file a read backup keeps of the image (the program's own header), without
     *  binding or marking the document. */
    backupFile(): Uint8Array;
  }
}
