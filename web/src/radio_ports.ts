// SPDX-License-Identifier: GPL-3.0-or-later
// Where a transfer's port comes from: the cable the user picks through Web Serial, or the
// project's virtual radio in the page ("Try it without a radio"). The virtual radio lives as
// long as the page, so what was written to it can be read back.
import type {
  HalvexModule,
  SerialPortLike,
  VirtualRadio,
  VirtualRadioOptions,
} from "./wasm/halvex";

export function hasWebSerial(): boolean {
  return window.isSecureContext && navigator.serial !== undefined;
}

// The virtual radio as the address asks for it: ?radio=virtual, with paced, echo, silent,
// identification=N and noack=ADDRESS for the faults the tests and demonstrations need, and
// radios=N and swap-after=MS for radio-sim's sequence of radios at a station.
export function virtualRadioOptionsFrom(search: URLSearchParams): VirtualRadioOptions {
  const faults: NonNullable<VirtualRadioOptions["faults"]> = {};
  if (search.has("silent")) {
    faults.silent = true;
  }
  const identification = search.get("identification");
  if (identification !== null) {
    faults.identificationLength = Number(identification);
  }
  const noAck = search.get("noack");
  if (noAck !== null) {
    faults.noAckBlock = Number(noAck);
  }
  return {
    faults,
    paced: search.has("paced"),
    echo: search.has("echo"),
    busy: search.has("busy"),
    radios: Number(search.get("radios") ?? 1),
    swapAfterMs: Number(search.get("swap-after") ?? 1000),
  };
}

// A port as the station and Check Connection name it: the virtual radio's, or the USB
// identity the browser gives of the user's pick (0 when it gives none).
export interface NamedPort {
  port: SerialPortLike;
  virtualRadio: boolean;
  usbVendor: number;
  usbProduct: number;
}

export class RadioPorts {
  private virtualRadio: VirtualRadio | null = null;

  constructor(
    private readonly module: HalvexModule,
    private readonly virtualOptions: VirtualRadioOptions,
  ) {}

  // The virtual radio, made on first use; tests read its memory through the page's global.
  virtual(): VirtualRadio {
    if (!this.virtualRadio) {
      this.virtualRadio = this.module.newVirtualRadio(this.virtualOptions);
      (window as unknown as { halvexVirtualRadio: VirtualRadio }).halvexVirtualRadio =
        this.virtualRadio;
    }
    return this.virtualRadio;
  }

  // One more cable for the station: a virtual radio of its own, or the user's pick; tests
  // read each virtual radio's memory through the page's global.
  async another(useVirtualRadio: boolean): Promise<NamedPort | null> {
    if (useVirtualRadio) {
      const radio = this.module.newVirtualRadio(this.virtualOptions);
      const kept = window as unknown as { halvexStationRadios?: VirtualRadio[] };
      kept.halvexStationRadios = [...(kept.halvexStationRadios ?? []), radio];
      return { port: radio, virtualRadio: true, usbVendor: 0, usbProduct: 0 };
    }
    return this.named(await this.choose(false), false);
  }

  // The port for Check Connection, with its name's parts.
  async chooseNamed(useVirtualRadio: boolean): Promise<NamedPort | null> {
    return this.named(await this.choose(useVirtualRadio), useVirtualRadio);
  }

  private named(port: SerialPortLike | null, virtualRadio: boolean): NamedPort | null {
    if (!port) {
      return null;
    }
    const serial = port as { getInfo?: () => { usbVendorId?: number; usbProductId?: number } };
    const info = (!virtualRadio && serial.getInfo?.()) || {};
    return {
      port,
      virtualRadio,
      usbVendor: info.usbVendorId ?? 0,
      usbProduct: info.usbProductId ?? 0,
    };
  }

  // The port for one transfer; null when the user closed the browser's port chooser.
  async choose(useVirtualRadio: boolean): Promise<SerialPortLike | null> {
    if (useVirtualRadio) {
      return this.virtual();
    }
    try {
      return await navigator.serial!.requestPort();
    } catch (error) {
      if (error instanceof DOMException && error.name === "NotFoundError") {
        return null;
      }
      throw error;
    }
  }
}
