// SPDX-License-Identifier: GPL-3.0-or-later
// A station cable's radio and Check Connection, each in an exchange instance of its own, as
// the transfer's exchange runs: followed every 20 ms through the addresses taken before the
// run, cancelled by writing into that memory, and the outcome worded by the document's
// instance. The order of the steps (open, find the radio, take its number, write) is the
// station's, and so is the automatic mode's watch from radio to radio; no rule of its own.
import type { CoreModule, CoreStationCable } from "./core_module";
import type {
  AutomaticCable,
  ConnectionCheck,
  ConnectionFinding,
  StationCableRun,
  StationClaim,
  StationRadioEnd,
  StationRadioRun,
  StationRecord,
} from "./station";

export type LentLink = <T>(use: (linkCore: CoreModule, line: number) => Promise<T>) => Promise<T>;

// The desktop's dialogs follow their workers on a 20 ms timer.
const FOLLOW_MS = 20;

// Tells onState the cable's state line each time it changes, until the returned stop.
function followState(
  core: CoreModule,
  linkCore: CoreModule,
  link: CoreStationCable,
  onState: (line: string) => void,
): () => void {
  const phaseAt = link.phaseAddress() >> 2;
  const progressAt = link.progressAddress() >> 2;
  let shown = "";
  const follow = setInterval(() => {
    const state = core.cableStateText(linkCore.HEAP32[phaseAt], linkCore.HEAP32[progressAt]);
    if (state !== shown) {
      shown = state;
      onState(state);
    }
  }, FOLLOW_MS);
  return () => clearInterval(follow);
}

export function runAutomaticCable(
  core: CoreModule,
  lend: LentLink,
  cable: string,
  steps: AutomaticCable,
): StationCableRun {
  let ended: "stop" | "abandon" | null = null;
  let endLink: (() => void) | null = null;
  const done = lend(async (linkCore, line) => {
    const link = new linkCore.StationCable(line);
    const heap = () => linkCore.HEAP32;
    const stopAt = link.stopAddress() >> 2;
    const abandonAt = link.abandonAddress() >> 2;
    const cancelAt = link.cancelAddress() >> 2;
    endLink = () => {
      heap()[stopAt] = 1;
      if (ended === "abandon") {
        heap()[abandonAt] = 1;
        heap()[cancelAt] = 1;
      }
    };
    const stopFollowing = followState(core, linkCore, link, steps.onState);
    let opened = false;
    // The claim's refusal, which ends the run as the manual mode's does.
    let refusal: string | null = null;
    try {
      const openError = await link.open();
      if (openError) {
        return { kind: "refused" as const, message: core.portRefusedText(openError) };
      }
      opened = true;
      if (ended) {
        endLink();
      }
      await link.runAutomatic(
        cable,
        () => {
          const claimed = steps.claim();
          if (claimed.number === 0) {
            refusal = claimed.message;
          }
          return claimed;
        },
        (record) => steps.written(record),
        (record) => steps.done(record),
        (record) => steps.stillAnswering(record),
      );
      return refusal === null
        ? { kind: "stopped" as const }
        : { kind: "refused" as const, message: refusal };
    } finally {
      stopFollowing();
      endLink = null;
      if (opened) {
        await link.close();
      }
      link.delete();
    }
  });
  const end = (how: "stop" | "abandon") => {
    ended = ended === "abandon" ? ended : how;
    endLink?.();
  };
  return { done, stop: () => end("stop"), abandon: () => end("abandon") };
}

export function runStationRadio(
  core: CoreModule,
  lend: LentLink,
  cable: string,
  claim: () => StationClaim,
  written: (record: StationRecord) => void,
  onState: (line: string) => void,
): StationRadioRun {
  let abandoned = false;
  let abandonLink: (() => void) | null = null;
  const done = lend(async (linkCore, line): Promise<StationRadioEnd> => {
    const link = new linkCore.StationCable(line);
    const heap = () => linkCore.HEAP32;
    const cancelAt = link.cancelAddress() >> 2;
    const abandonAt = link.abandonAddress() >> 2;
    abandonLink = () => {
      heap()[abandonAt] = 1;
      heap()[cancelAt] = 1;
    };
    const stopFollowing = followState(core, linkCore, link, onState);
    let opened = false;
    try {
      const openError = await link.open();
      if (openError) {
        return { kind: "refused", message: core.portRefusedText(openError) };
      }
      opened = true;
      if (abandoned) {
        abandonLink();
      }
      const probe = await link.probe();
      if (probe !== "answered") {
        return probe === "silent" ? { kind: "no-radio" } : { kind: "cancelled" };
      }
      const claimed = claim();
      if (claimed.number === 0) {
        return { kind: "refused", message: claimed.message };
      }
      return { kind: "radio", record: await link.run(claimed, cable, written) };
    } finally {
      stopFollowing();
      abandonLink = null;
      if (opened) {
        await link.close();
      }
      link.delete();
    }
  });
  return {
    done,
    abandon: () => {
      abandoned = true;
      abandonLink?.();
    },
  };
}

export function checkConnection(core: CoreModule, lend: LentLink, name: string): ConnectionCheck {
  let cancelled = false;
  let cancelLink: (() => void) | null = null;
  const done = lend(async (linkCore, line): Promise<ConnectionFinding> => {
    const link = new linkCore.DoctorLink(line);
    const cancelAt = link.cancelAddress() >> 2;
    cancelLink = () => {
      linkCore.HEAP32[cancelAt] = 1;
    };
    if (cancelled) {
      cancelLink();
    }
    try {
      return core.connectionFinding(await link.run(name));
    } finally {
      cancelLink = null;
      link.delete();
    }
  });
  return {
    done,
    cancel: () => {
      cancelled = true;
      cancelLink?.();
    },
  };
}
