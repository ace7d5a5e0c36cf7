// SPDX-License-Identifier: GPL-3.0-or-later
// The open document's file: where Save writes it, whether the last Save reached it, and the
// desktop's questions before unsaved work is replaced or a file is overwritten.
import { chooseSaveTarget, writeFile } from "./file_access";
import { showMessageBox } from "./message_box";
import { fill, type Texts } from "./texts";
import type { HalvexDocument } from "./wasm/halvex";

export interface DocumentFileHost {
  texts: Texts;
  document(): HalvexDocument;
  showError(message: string): Promise<unknown>;
  // After the bytes reached the file.
  saved(): void;
}

export class DocumentFile {
  private handle: FileSystemFileHandle | null = null;
  // A Save whose bytes never reached the file leaves the work unsaved, whatever the
  // document's flag says after it.
  private saveFailed = false;

  constructor(private readonly host: DocumentFileHost) {}

  hasUnsavedWork(): boolean {
    return this.host.document().isModified() || this.saveFailed;
  }

  // The document now belongs to this file: none for a new document or a read.
  bind(handle: FileSystemFileHandle | null): void {
    this.handle = handle;
    this.saveFailed = false;
  }

  // The desktop's question before unsaved work is replaced; false when the user keeps it.
  async saveModified(): Promise<boolean> {
    if (!this.hasUnsavedWork()) {
      return true;
    }
    const { texts } = this.host;
    const name = this.host.document().pathName() || texts("IDS_UNTITLED");
    const answer = await showMessageBox(
      texts("IDS_CONFIRM"),
      fill(texts("IDS_ASK_SAVE"), name),
      [
        { text: texts("IDS_YES"), value: "yes" },
        { text: texts("IDS_NO"), value: "no" },
        { text: texts.resource(2), value: "cancel" },
      ],
      "cancel",
    );
    if (answer === "cancel") {
      return false;
    }
    return answer === "no" || (await this.save());
  }

  // File > Save: into the opened file where the browser allows it, else a place the user
  // picks, else a download. True when the bytes reached the file.
  async save(): Promise<boolean> {
    const { texts } = this.host;
    const doc = this.host.document();
    const suggested = doc.pathName() || `${texts("IDS_UNTITLED")}.pgm`;
    const target = this.handle
      ? { name: this.handle.name, handle: this.handle }
      : await chooseSaveTarget(suggested);
    if (!target) {
      return false;
    }
    if (this.handle) {
      const overwrite = await showMessageBox(
        texts("IDS_CONFIRM"),
        `${texts("IDS_WARN_SAVE")}${target.name}`,
        [
          { text: texts.resource(1), value: true },
          { text: texts.resource(2), value: false },
        ],
        false,
        true,
      );
      if (!overwrite) {
        return false;
      }
    }
    const result = doc.save(target.name);
    if (!result.ok) {
      await this.host.showError(result.message);
      return false;
    }
    try {
      await writeFile(target, result.bytes);
    } catch (error) {
      this.saveFailed = true;
      await this.host.showError(`${target.name}: ${String(error)}`);
      return false;
    }
    this.bind(target.handle);
    this.host.saved();
    return true;
  }
}
