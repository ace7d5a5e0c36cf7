// SPDX-License-Identifier: GPL-3.0-or-later
// The byte pipe under the core's CableLine: a SerialPort (Web Serial's, or the virtual radio's)
// opened at the baud rate the core asks for, bytes kept as they arrive and handed over as the
// core reads them. No protocol rule lives here: the core decides what to send and what an
// answer means; this only waits for bytes, with the time-out the core gives.
import type { SerialPortLike } from "../wasm/halvex";

// A write the port has not taken in this long has stalled, as a native port's does.
const WRITE_STALL_MS = 2000;

export class SerialLine {
  private readonly port: SerialPortLike;
  private reader: ReadableStreamDefaultReader<Uint8Array> | null = null;
  private writer: WritableStreamDefaultWriter<Uint8Array> | null = null;
  private pumping: Promise<void> | null = null;
  private received: Uint8Array[] = [];
  private receivedLength = 0;
  private wake: (() => void) | null = null;
  private ended = false;

  constructor(port: SerialPortLike) {
    this.port = port;
  }

  async open(baudRate: number): Promise<void> {
    await this.port.open({ baudRate, dataBits: 8, stopBits: 1, parity: "none" });
    if (!this.port.readable || !this.port.writable) {
      await this.port.close();
      throw new Error("the port opened without a way to read and write it");
    }
    this.received = [];
    this.receivedLength = 0;
    this.ended = false;
    this.reader = this.port.readable.getReader();
    this.writer = this.port.writable.getWriter();
    this.pumping = this.pump(this.reader);
  }

  async close(): Promise<void> {
    const reader = this.reader;
    const writer = this.writer;
    this.reader = null;
    this.writer = null;
    if (reader) {
      await reader.cancel().catch(() => undefined);
      await this.pumping;
      reader.releaseLock();
    }
    if (writer) {
      writer.releaseLock();
    }
    this.received = [];
    this.receivedLength = 0;
    await this.port.close();
  }

  // Resolves with the bytes sent, fewer when the port stopped taking them.
  async write(bytes: Uint8Array, leadDelayMs: number): Promise<number> {
    if (leadDelayMs > 0) {
      await sleep(leadDelayMs);
    }
    if (!this.writer) {
      return 0;
    }
    const sent = await withTimeout(this.writer.write(bytes), WRITE_STALL_MS);
    return sent ? bytes.length : 0;
  }

  // Up to count bytes, as soon as count are there or when timeoutMs has passed.
  async read(count: number, timeoutMs: number): Promise<Uint8Array> {
    const deadline = performance.now() + timeoutMs;
    while (this.receivedLength < count) {
      const left = deadline - performance.now();
      if (left <= 0) {
        break;
      }
      // A port that went away still takes the whole wait, as a native one does, so the core's
      // retries keep their pace instead of spinning.
      if (this.ended) {
        await sleep(left);
        break;
      }
      await new Promise<void>((resume) => {
        const timer = setTimeout(() => {
          this.wake = null;
          resume();
        }, left);
        this.wake = () => {
          clearTimeout(timer);
          this.wake = null;
          resume();
        };
      });
    }
    return this.take(count);
  }

  private take(count: number): Uint8Array {
    const length = Math.min(count, this.receivedLength);
    const taken = new Uint8Array(length);
    let filled = 0;
    while (filled < length) {
      const chunk = this.received[0];
      const part = Math.min(chunk.length, length - filled);
      taken.set(chunk.subarray(0, part), filled);
      filled += part;
      if (part === chunk.length) {
        this.received.shift();
      } else {
        this.received[0] = chunk.subarray(part);
      }
    }
    this.receivedLength -= length;
    return taken;
  }

  private async pump(reader: ReadableStreamDefaultReader<Uint8Array>): Promise<void> {
    try {
      for (;;) {
        const { value, done } = await reader.read();
        if (done) {
          break;
        }
        if (value && value.length > 0) {
          this.received.push(value);
          this.receivedLength += value.length;
          this.wake?.();
        }
      }
    } catch {
      // A cable pulled out ends the stream: the core hears a quiet line and says so.
    } finally {
      this.ended = true;
      this.wake?.();
    }
  }
}

export function sleep(milliseconds: number): Promise<void> {
  return new Promise((resume) => setTimeout(resume, milliseconds));
}

async function withTimeout(promise: Promise<unknown>, milliseconds: number): Promise<boolean> {
  let timer: ReturnType<typeof setTimeout> | undefined;
  const stalled = new Promise<boolean>((resume) => {
    timer = setTimeout(() => resume(false), milliseconds);
  });
  try {
    return await Promise.race([promise.then(() => true), stalled]);
  } catch {
    return false;
  } finally {
    clearTimeout(timer);
  }
}
