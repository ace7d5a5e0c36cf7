// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import and Export Channels (CSV) and Import and Export Configuration (the text
// form), as the desktop's commands run them: the core reads, checks and words each file, the
// page picks it, shows the report or the errors, and saves or downloads what the core gives.
import {
  chooseSaveTarget,
  pickFile,
  writeFile,
  type FileKind,
  type PickedFile,
} from "./file_access";
import { showDifferences } from "./edit_dialogs";
import { runChannelImportDialog, showLineList } from "./import_dialogs";
import { fill, type Texts } from "./texts";
import type { HalvexDocument } from "./wasm/halvex";

export interface FileCommandHost {
  texts: Texts;
  document(): HalvexDocument;
  // After an import changed the document.
  imported(): void;
  showStatus(text: string): void;
  showError(text: string): Promise<unknown>;
}

// Notes past this many lines are summed up, as the desktop's box does.
const shownNotes = 20;
// Import Configuration's list of changes (template 165).
const configImportCaption = 165;
const configImportList = 1252;

export type FileFormat = "pgm" | "csv" | "yaml";

// The format a dropped or picked file is taken as, by its name's extension.
export function formatOf(name: string): FileFormat {
  if (/\.csv$/i.test(name)) {
    return "csv";
  }
  return /\.ya?ml$/i.test(name) ? "yaml" : "pgm";
}

export class FileCommands {
  constructor(private readonly host: FileCommandHost) {}

  private kind(format: "csv" | "yaml"): FileKind {
    const { texts } = this.host;
    return format === "csv"
      ? { description: texts("IDS_CSV_FILTER"), mimeType: "text/csv", extension: ".csv" }
      : {
          description: texts("IDS_CONFIG_FILTER"),
          mimeType: "application/yaml",
          extension: ".yaml",
        };
  }

  private async saveAs(format: "csv" | "yaml", bytes: Uint8Array): Promise<string | null> {
    const { texts } = this.host;
    const extension = this.kind(format).extension;
    const suggested =
      this.host.document().nameWithExtension(extension) || `${texts("IDS_UNTITLED")}${extension}`;
    const target = await chooseSaveTarget(suggested, this.kind(format));
    if (!target) {
      return null;
    }
    try {
      await writeFile(target, bytes);
    } catch (error) {
      await this.host.showError(`${target.name}: ${String(error)}`);
      return null;
    }
    return target.name;
  }

  async pick(format: "csv" | "yaml"): Promise<void> {
    const picked = await pickFile(this.kind(format));
    if (picked) {
      await this.importFile(picked);
    }
  }

  // A .csv or .yaml file, by its name.
  async importFile(picked: PickedFile): Promise<void> {
    if (formatOf(picked.name) === "csv") {
      await this.importChannels(picked);
    } else {
      await this.importText(picked);
    }
  }

  private async importChannels(picked: PickedFile): Promise<void> {
    const doc = this.host.document();
    const fillEmpty = doc.importChannels(picked.bytes, picked.name, false, false);
    if (!fillEmpty.ok) {
      await this.host.showError(fillEmpty.message);
      return;
    }
    const replace = await runChannelImportDialog(this.host.texts, fillEmpty, (mode) =>
      doc.importChannels(picked.bytes, picked.name, mode, false),
    );
    if (replace === null) {
      return;
    }
    if (doc.importChannels(picked.bytes, picked.name, replace, true).changes) {
      this.host.imported();
    }
  }

  private async importText(picked: PickedFile): Promise<void> {
    const { texts } = this.host;
    const doc = this.host.document();
    const result = doc.importText(picked.bytes, picked.name, false);
    if (!result.ok) {
      await showLineList(texts, texts("IDS_ERROR"), result.message, result.errors);
      return;
    }
    // As on the desktop: what the import would change, before it does.
    const taken = await showDifferences(
      texts,
      "config-import",
      texts.resource(configImportCaption),
      texts.resource(configImportList),
      result.summary,
      result.lines,
      true,
    );
    if (taken && doc.importText(picked.bytes, picked.name, true).changes) {
      this.host.imported();
    }
  }

  async exportChannels(): Promise<void> {
    const { texts } = this.host;
    const exported = this.host.document().exportChannels();
    if (!exported.ok) {
      await this.host.showError(exported.message);
      return;
    }
    if ((await this.saveAs("csv", exported.bytes)) === null || exported.notes.length === 0) {
      return;
    }
    const notes = exported.notes.slice(0, shownNotes);
    if (exported.notes.length > shownNotes) {
      notes.push("...");
    }
    await showLineList(texts, texts("IDS_PROMPT"), texts("IDS_CSV_EXPORT_NOTES"), notes);
  }

  async exportText(): Promise<void> {
    const name = await this.saveAs("yaml", this.host.document().exportText());
    if (name !== null) {
      this.host.showStatus(fill(this.host.texts("IDS_CONFIG_EXPORTED"), name));
    }
  }
}
