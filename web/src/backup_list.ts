// SPDX-License-Identifier: GPL-3.0-or-later
// The backups of reads, newest first, each with a button that opens it as a document.
import { listBackups, type ReadBackup } from "./backup_store";
import type { PickedFile } from "./file_access";
import type { Texts } from "./texts";

// The desktop's backup file name for a read at time: radio-YYYYMMDD-HHMMSS.pgm, local time.
function backupName(time: number): string {
  const at = new Date(time);
  const two = (value: number) => String(value).padStart(2, "0");
  const day = `${at.getFullYear()}${two(at.getMonth() + 1)}${two(at.getDate())}`;
  return `radio-${day}-${two(at.getHours())}${two(at.getMinutes())}${two(at.getSeconds())}.pgm`;
}

export class BackupList {
  readonly element = document.createElement("details");
  private readonly summary = document.createElement("summary");
  private readonly list = document.createElement("ul");
  private readonly empty = document.createElement("p");
  private backups: ReadBackup[] = [];

  constructor(
    private readonly texts: Texts,
    private readonly openBackup: (file: PickedFile) => void,
  ) {
    this.element.className = "backups";
    this.element.append(this.summary, this.empty, this.list);
    this.element.addEventListener("toggle", () => {
      if (this.element.open) {
        void this.refresh();
      }
    });
  }

  relabel(): void {
    this.summary.textContent = this.texts("IDS_WEB_BACKUPS");
    this.empty.textContent = this.texts("IDS_WEB_NO_BACKUPS");
    this.render();
  }

  async refresh(): Promise<void> {
    this.backups = await listBackups();
    this.render();
  }

  private render(): void {
    this.empty.hidden = this.backups.length > 0;
    const format = new Intl.DateTimeFormat(document.documentElement.lang || undefined, {
      dateStyle: "medium",
      timeStyle: "medium",
    });
    this.list.replaceChildren(
      ...this.backups.map((backup) => {
        const item = document.createElement("li");
        const time = document.createElement("time");
        time.dateTime = new Date(backup.time).toISOString();
        time.textContent = format.format(backup.time);
        const open = document.createElement("button");
        open.type = "button";
        open.textContent = this.texts("IDS_WEB_OPEN_BACKUP");
        open.setAttribute("aria-describedby", `backup-${backup.id}`);
        time.id = `backup-${backup.id}`;
        open.addEventListener("click", () =>
          this.openBackup({ name: backupName(backup.time), bytes: backup.bytes, handle: null }),
        );
        item.append(time, open);
        return item;
      }),
    );
  }
}
