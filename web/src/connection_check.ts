// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Check Connection: the port picked first (the browser asks only on a click), then
// the desktop's busy dialog while the core's doctor tries the radio, then its box with the
// finding in the desktop's words and, for a cable type that is wrong, the offer to switch it.
import { showMessageBox } from "./message_box";
import type { NamedPort, RadioPorts } from "./radio_ports";
import type { Texts } from "./texts";
import type { HalvexModule } from "./wasm/halvex";
import type { ConnectionFinding } from "./wasm/station";

export interface ConnectionCheckHost {
  module: HalvexModule;
  texts: Texts;
  ports: RadioPorts;
  useVirtualRadio(): boolean;
  // The cable type was switched as the finding offered.
  cableSwitched(): void;
}

function checking(host: ConnectionCheckHost, port: NamedPort): Promise<ConnectionFinding> {
  const { module, texts } = host;
  const dialog = document.createElement("dialog");
  dialog.className = "connection-check";
  const title = document.createElement("h2");
  title.id = "connection-check-title";
  title.textContent = texts("IDS_DOCTOR_TITLE");
  const message = document.createElement("p");
  message.setAttribute("role", "status");
  message.textContent = texts("IDS_DOCTOR_CHECKING");
  // A busy bar: the checks have no share of a whole to show.
  const progress = document.createElement("progress");
  progress.setAttribute("aria-labelledby", title.id);
  const cancel = document.createElement("button");
  cancel.type = "button";
  cancel.textContent = texts.resource(2);
  const buttons = document.createElement("div");
  buttons.className = "buttons";
  buttons.append(cancel);
  dialog.setAttribute("aria-labelledby", title.id);
  dialog.append(title, message, progress, buttons);
  document.body.append(dialog);
  const name = module.cableName(1, port.virtualRadio, port.usbVendor, port.usbProduct);
  const check = module.checkConnection(port.port, name);
  const stop = () => {
    cancel.disabled = true;
    check.cancel();
  };
  cancel.addEventListener("click", stop);
  dialog.addEventListener("cancel", (event) => {
    event.preventDefault();
    stop();
  });
  dialog.showModal();
  return check.done.finally(() => {
    dialog.close();
    dialog.remove();
  });
}

export async function runConnectionCheck(host: ConnectionCheckHost): Promise<void> {
  const { module, texts } = host;
  const ok = [{ text: texts.resource(1), value: false }];
  let port: NamedPort | null;
  try {
    port = await host.ports.chooseNamed(host.useVirtualRadio());
  } catch (error) {
    await showMessageBox(texts("IDS_ERROR"), String(error), ok, false);
    return;
  }
  const finding = port ? await checking(host, port) : module.noPortFinding();
  if (!finding.text) {
    return;
  }
  if (finding.found) {
    await showMessageBox(texts("IDS_PROMPT"), finding.text, ok, false);
    return;
  }
  if (!finding.cableSwitch) {
    await showMessageBox(texts("IDS_ERROR"), finding.text, ok, false);
    return;
  }
  const switchNow = await showMessageBox(
    texts("IDS_ERROR"),
    `${finding.text}\n\n${texts("IDS_DOCTOR_ASKSWITCH")}`,
    [
      { text: texts("IDS_YES"), value: true },
      { text: texts("IDS_NO"), value: false },
    ],
    false,
  );
  if (!switchNow) {
    return;
  }
  const refused = module.setCableType(finding.cableSwitch);
  if (refused) {
    await showMessageBox(texts("IDS_ERROR"), `${texts("IDS_WARN_SETTING")}${refused}`, ok, false);
    return;
  }
  host.cableSwitched();
}
