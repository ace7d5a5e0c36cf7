// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of Web Serial and the File System Access API the page uses, which TypeScript's DOM
// library does not declare yet.
import type { SerialPortLike } from "./wasm/halvex";

declare global {
  interface Serial {
    requestPort(options?: { filters?: { usbVendorId?: number }[] }): Promise<SerialPortLike>;
  }

  interface Navigator {
    readonly serial?: Serial;
  }

  interface FilePickerType {
    description: string;
    accept: Record<string, string[]>;
  }

  interface FileSystemWritableFileStream extends WritableStream {
    write(data: BufferSource): Promise<void>;
    close(): Promise<void>;
  }

  interface FileSystemFileHandle {
    createWritable(): Promise<FileSystemWritableFileStream>;
  }

  interface Window {
    showOpenFilePicker?(options: { types: FilePickerType[] }): Promise<FileSystemFileHandle[]>;
    showSaveFilePicker?(options: {
      suggestedName: string;
      types: FilePickerType[];
    }): Promise<FileSystemFileHandle>;
  }
}
