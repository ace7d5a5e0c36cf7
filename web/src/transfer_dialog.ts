// SPDX-License-Identifier: GPL-3.0-or-later
// Read from Radio and Write to Radio: the desktop's transfer dialog as a modal <dialog>. OK
// starts the core's exchange on the chosen port; while it runs only its cancel and progress
// are touched, as the module is inside the exchange.
import { showMessageBox } from "./message_box";
import type { RadioPorts } from "./radio_ports";
import type { Texts } from "./texts";
import type {
  HalvexDocument,
  HalvexModule,
  Transfer,
  TransferKind,
  TransferOutcome,
} from "./wasm/halvex";

export interface TransferHost {
  module: HalvexModule;
  texts: Texts;
  ports: RadioPorts;
  document(): HalvexDocument;
  useVirtualRadio(): boolean;
  // After a transfer that ended well, and after a cancelled or failed one that changed the
  // radio, with the outcome.
  finished(kind: TransferKind, outcome: TransferOutcome): void;
}

// titleKey: the dialog's caption when it is not the transfer's own (Compare with Radio).
export function runTransferDialog(
  host: TransferHost,
  kind: TransferKind,
  titleKey = kind === "read" ? "IDS_READDATA" : "IDS_WRITEDATA",
): Promise<void> {
  const { texts } = host;
  const dialog = document.createElement("dialog");
  dialog.className = "transfer";
  const title = document.createElement("h2");
  title.id = "transfer-title";
  title.textContent = texts(titleKey);
  const message = document.createElement("p");
  message.id = "transfer-message";
  message.setAttribute("role", "status");
  message.textContent = texts.resource(1010);
  const progress = document.createElement("progress");
  progress.max = 100;
  progress.value = 0;
  progress.setAttribute("aria-labelledby", title.id);
  const ok = document.createElement("button");
  ok.type = "button";
  ok.textContent = texts.resource(1);
  const cancel = document.createElement("button");
  cancel.type = "button";
  cancel.textContent = texts.resource(2);
  const buttons = document.createElement("div");
  buttons.className = "buttons";
  buttons.append(ok, cancel);
  dialog.setAttribute("aria-labelledby", title.id);
  dialog.append(title, message, progress, buttons);
  document.body.append(dialog);

  let running: Transfer | null = null;
  let cancelling = false;

  return new Promise<void>((resolve) => {
    const close = () => {
      dialog.close();
      dialog.remove();
      resolve();
    };

    const start = async () => {
      ok.disabled = true;
      message.setAttribute("role", "status");
      let port;
      try {
        port = await host.ports.choose(host.useVirtualRadio());
      } catch (error) {
        message.setAttribute("role", "alert");
        message.textContent = `${texts("IDS_ERROR_PORTCONN")}\n${String(error)}`;
        ok.disabled = false;
        return;
      }
      if (!port) {
        ok.disabled = false;
        return;
      }
      progress.value = 0;
      message.textContent = texts(kind === "read" ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE");
      let outcome: TransferOutcome;
      try {
        running = host.module.startTransfer(host.document(), port, kind, {
          verify: host.module.verifyAfterWrite(),
          onProgress: (percent, line) => {
            progress.value = percent;
            message.textContent = line;
          },
        });
        outcome = await running.done;
      } catch (error) {
        outcome = { ok: false, cancelled: false, message: String(error), blocks: 0 };
      }
      running = null;
      if (outcome.ok) {
        close();
        host.finished(kind, outcome);
        return;
      }
      if (outcome.cancelled || cancelling) {
        close();
        if (kind === "write" && outcome.blocks > 0) {
          await showMessageBox(
            texts("IDS_PROMPT"),
            outcome.message,
            [{ text: texts.resource(1), value: 0 }],
            0,
          );
        }
        return;
      }
      message.setAttribute("role", "alert");
      message.textContent = outcome.message;
      ok.disabled = false;
      ok.focus();
    };

    const stop = async () => {
      if (!running) {
        close();
        return;
      }
      if (kind === "write") {
        const stopNow = await showMessageBox(
          texts("IDS_CONFIRM"),
          texts("IDS_ASK_STOPWRITE"),
          [
            { text: texts("IDS_YES"), value: true },
            { text: texts("IDS_NO"), value: false },
          ],
          false,
        );
        if (!stopNow || !running) {
          return;
        }
      }
      cancelling = true;
      cancel.disabled = true;
      running.cancel();
    };

    ok.addEventListener("click", () => void start());
    cancel.addEventListener("click", () => void stop());
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      void stop();
    });
    dialog.showModal();
    ok.focus();
  });
}
