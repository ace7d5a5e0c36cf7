// SPDX-License-Identifier: GPL-3.0-or-later
// The project's virtual radio behind Web Serial's SerialPort shape, so Read and Write go the
// same way to it as to a cable. The responder, its faults and its line times are the core's
// (radio-sim's); this only carries the bytes and delivers each at the time it was given.
import type { CoreRadio } from "../wasm/core_module";
import type { VirtualRadio, VirtualRadioFaults } from "../wasm/halvex";

interface Pending {
  value: number;
  due: number;
}

export class VirtualRadioPort implements VirtualRadio {
  private readonly radio: CoreRadio;
  private pending: Pending[] = [];
  private timer: ReturnType<typeof setTimeout> | undefined;
  private output: ReadableStreamDefaultController<Uint8Array> | null = null;
  private carried = 0;
  readable: ReadableStream<Uint8Array> | null = null;
  writable: WritableStream<Uint8Array> | null = null;

  constructor(
    radio: CoreRadio,
    private readonly busy = false,
  ) {
    this.radio = radio;
  }

  get lineBytes(): number {
    return this.carried;
  }

  async open(options: { baudRate: number }): Promise<void> {
    if (this.readable) {
      throw new DOMException("The port is already open.", "InvalidStateError");
    }
    if (this.busy) {
      throw new DOMException("Failed to open serial port.", "NetworkError");
    }
    if (options.baudRate <= 0) {
      throw new TypeError("Requested baud rate is not valid.");
    }
    this.readable = new ReadableStream<Uint8Array>({
      start: (controller) => {
        this.output = controller;
      },
      cancel: () => {
        this.output = null;
      },
    });
    this.writable = new WritableStream<Uint8Array>({
      write: (chunk) => this.take(chunk),
    });
  }

  async close(): Promise<void> {
    clearTimeout(this.timer);
    this.timer = undefined;
    this.pending = [];
    this.output = null;
    this.readable = null;
    this.writable = null;
  }

  memory(): Uint8Array {
    return this.radio.memory();
  }

  memoryOf(number: number): Uint8Array {
    return this.radio.memoryOf(number);
  }

  setFaults(faults: VirtualRadioFaults): void {
    this.radio.setFaults(faults);
  }

  private take(chunk: Uint8Array): void {
    this.carried += chunk.length;
    const now = performance.now();
    const answer = this.radio.feed(chunk);
    answer.bytes.forEach((value, k) => this.pending.push({ value, due: now + answer.readyMs[k] }));
    this.schedule();
  }

  private schedule(): void {
    if (this.timer !== undefined || this.pending.length === 0) {
      return;
    }
    const wait = Math.max(0, this.pending[0].due - performance.now());
    this.timer = setTimeout(() => {
      this.timer = undefined;
      this.deliver();
    }, wait);
  }

  // Every byte due by now goes out in one chunk, as a serial driver hands over what it has.
  private deliver(): void {
    const now = performance.now();
    let count = 0;
    while (count < this.pending.length && this.pending[count].due <= now) {
      count += 1;
    }
    const due = this.pending.splice(0, count);
    if (due.length > 0 && this.output) {
      this.carried += due.length;
      this.output.enqueue(Uint8Array.from(due, (byte) => byte.value));
    }
    this.schedule();
  }
}
