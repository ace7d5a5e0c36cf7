// SPDX-License-Identifier: GPL-3.0-or-later
// The test dialog's session in an exchange instance for as long as the dialog is open, given
// the language shown so its item names and words are the page's. The instance takes one call
// at a time, so the calls are chained in the order made; a running exchange is followed every
// 20 ms through the progress address and cancelled by writing into its memory.
import type { CoreModule, CoreTestMode } from "./core_module";
import type { HalvexDocument } from "./halvex";
import type { LentLink } from "./station_link";
import type {
  TestExchange,
  TestModeChange,
  TestModeSession,
  TestModeView,
  TestScroll,
} from "./test_mode";

// The desktop's dialogs follow their workers on a 20 ms timer.
const FOLLOW_MS = 20;

function changeOf(stepKey: string, item: number): TestModeChange | null {
  return stepKey ? { stepKey, item } : null;
}

class ChainedSession implements TestModeSession {
  private chain: Promise<unknown> = Promise.resolve();
  private readonly cancelAt: number;
  private readonly progressAt: number;

  constructor(
    private readonly linkCore: CoreModule,
    private readonly mode: CoreTestMode,
  ) {
    this.cancelAt = mode.cancelAddress() >> 2;
    this.progressAt = mode.progressAddress() >> 2;
  }

  // Runs step after every call made before it; a failed call fails only its own promise.
  private queued<T>(step: () => Promise<T> | T): Promise<T> {
    const next = this.chain.then(step);
    this.chain = next.catch(() => undefined);
    return next;
  }

  private current(lines?: string[]): TestModeView {
    return {
      lines: lines ?? this.mode.itemLines(),
      selected: this.mode.selected(),
      position: this.mode.position(),
    };
  }

  view = () => this.queued(() => this.current());

  select = (item: number) =>
    this.queued(async () => {
      await this.mode.select(item);
      return this.current();
    });

  scroll = (code: TestScroll, tracked: number) =>
    this.queued(async () => {
      const scrolled = await this.mode.scroll(code, tracked);
      return { view: this.current(), change: changeOf(scrolled.stepKey, scrolled.item) };
    });

  exchange = (kind: TestExchange, onProgress: (percent: number) => void) =>
    this.queued(async () => {
      let shown = -1;
      const follow = setInterval(() => {
        const percent = this.linkCore.HEAP32[this.progressAt];
        if (percent !== shown) {
          shown = percent;
          onProgress(percent);
        }
      }, FOLLOW_MS);
      try {
        const ending = await this.mode.exchange(kind);
        return {
          box: ending.box,
          warning: ending.warning,
          readStopped: ending.readStopped,
          change: changeOf(ending.stepKey, -1),
          view: this.current(),
        };
      } finally {
        clearInterval(follow);
      }
    });

  cancel(): void {
    this.linkCore.HEAP32[this.cancelAt] = 1;
  }

  useImage = (image: Uint8Array) =>
    this.queued(() => {
      this.mode.useImage(image);
      return this.current(this.mode.fill());
    });

  image = () => this.queued(() => this.mode.image());

  close = () => this.queued(() => this.mode.close());
}

export async function runTestMode(
  core: CoreModule,
  lend: LentLink,
  name: string,
  document: HalvexDocument,
  use: (session: TestModeSession) => Promise<void>,
): Promise<void> {
  const shown = core.shownLanguage();
  const image = document.imageBytes();
  await lend(async (linkCore, line) => {
    linkCore.addLanguage(shown.fileName, shown.text);
    linkCore.useLanguage(shown.fileName);
    const mode = new linkCore.TestMode(line, name, image);
    mode.fill();
    const session = new ChainedSession(linkCore, mode);
    try {
      await use(session);
    } finally {
      // However the dialog ends, the radio is not left in test mode with the port held.
      await session.close();
      mode.delete();
    }
  });
}
