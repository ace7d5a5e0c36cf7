// SPDX-License-Identifier: GPL-3.0-or-later
// Every image read from a radio is also kept in the browser (IndexedDB), so a read over unsaved
// work, or a later bad write, can be undone from the list. The newest backups are kept.
const databaseName = "halvex";
const storeName = "read-backups";
export const backupsKept = 50;

export interface ReadBackup {
  id: number;
  // Milliseconds since the epoch, when the read ended.
  time: number;
  bytes: Uint8Array;
}

function openDatabase(): Promise<IDBDatabase> {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(databaseName, 1);
    request.onupgradeneeded = () => {
      request.result.createObjectStore(storeName, { keyPath: "id", autoIncrement: true });
    };
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

function finished(transaction: IDBTransaction): Promise<void> {
  return new Promise((resolve, reject) => {
    transaction.oncomplete = () => resolve();
    transaction.onabort = () => reject(transaction.error);
    transaction.onerror = () => reject(transaction.error);
  });
}

// Newest first.
export async function listBackups(): Promise<ReadBackup[]> {
  const database = await openDatabase();
  try {
    const transaction = database.transaction(storeName, "readonly");
    const request = transaction.objectStore(storeName).getAll();
    await finished(transaction);
    return (request.result as ReadBackup[]).sort((a, b) => b.id - a.id);
  } finally {
    database.close();
  }
}

// Adds a backup and drops the oldest beyond backupsKept, in one transaction: the new one is
// never the one dropped.
export async function keepBackup(bytes: Uint8Array, time: number): Promise<void> {
  const database = await openDatabase();
  try {
    const transaction = database.transaction(storeName, "readwrite");
    const store = transaction.objectStore(storeName);
    store.add({ time, bytes });
    const keys = store.getAllKeys();
    keys.onsuccess = () => {
      const all = (keys.result as number[]).sort((a, b) => a - b);
      for (const key of all.slice(0, Math.max(0, all.length - backupsKept))) {
        store.delete(key);
      }
    };
    await finished(transaction);
  } finally {
    database.close();
  }
}
