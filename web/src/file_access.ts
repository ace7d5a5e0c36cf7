// SPDX-License-Identifier: GPL-3.0-or-later
// Where files come from and go to: the File System Access API where the browser has it (so
// Save writes back into the file that was opened), else a file input and a download.
export interface FileKind {
  description: string;
  mimeType: string;
  extension: string;
}

export const pgmKind: FileKind = {
  description: "RQ870 radio data",
  mimeType: "application/octet-stream",
  extension: ".pgm",
};

function pickerTypes(kind: FileKind): FilePickerType[] {
  return [{ description: kind.description, accept: { [kind.mimeType]: [kind.extension] } }];
}

export interface PickedFile {
  name: string;
  bytes: Uint8Array;
  handle: FileSystemFileHandle | null;
}

function isAbort(error: unknown): boolean {
  return error instanceof DOMException && error.name === "AbortError";
}

// The file the user picks, or null when the picker was closed.
export async function pickFile(kind: FileKind = pgmKind): Promise<PickedFile | null> {
  if (window.showOpenFilePicker) {
    try {
      const [handle] = await window.showOpenFilePicker({ types: pickerTypes(kind) });
      const file = await handle.getFile();
      return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()), handle };
    } catch (error) {
      if (isAbort(error)) {
        return null;
      }
      throw error;
    }
  }
  return new Promise((resolve) => {
    const input = document.createElement("input");
    input.type = "file";
    input.accept = kind.extension;
    input.addEventListener("change", async () => {
      const file = input.files?.[0];
      resolve(file ? await readDropped(file) : null);
    });
    input.addEventListener("cancel", () => resolve(null));
    input.click();
  });
}

export async function readDropped(file: File): Promise<PickedFile> {
  return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()), handle: null };
}

// Where a Save goes when the document has no file handle yet; null when the user closed the
// picker. Without the API the name is kept and the bytes become a download.
export async function chooseSaveTarget(
  suggestedName: string,
  kind: FileKind = pgmKind,
): Promise<{ name: string; handle: FileSystemFileHandle | null } | null> {
  if (!window.showSaveFilePicker) {
    return { name: suggestedName, handle: null };
  }
  try {
    const handle = await window.showSaveFilePicker({ suggestedName, types: pickerTypes(kind) });
    return { name: handle.name, handle };
  } catch (error) {
    if (isAbort(error)) {
      return null;
    }
    throw error;
  }
}

export async function writeFile(
  target: { name: string; handle: FileSystemFileHandle | null },
  bytes: Uint8Array,
): Promise<void> {
  if (target.handle) {
    const writable = await target.handle.createWritable();
    await writable.write(bytes as BufferSource);
    await writable.close();
    return;
  }
  const url = URL.createObjectURL(
    new Blob([bytes as BlobPart], { type: "application/octet-stream" }),
  );
  const link = document.createElement("a");
  link.href = url;
  link.download = target.name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}
