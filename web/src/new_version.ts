// SPDX-License-Identifier: GPL-3.0-or-later
// The page as an installed, offline app: it registers the build's service worker, and when a
// newer build has installed beside it, says so in a line with a button. The new version takes
// over only from that button, and only once the open document is saved or let go as the
// desktop asks before replacing unsaved work.
import type { Texts } from "./texts";

export interface VersionHost {
  texts: Texts;
  // The desktop's question for unsaved work; true when the document may go.
  releaseDocument(): Promise<boolean>;
}

// The browser looks for a new build at each visit; an app left open looks again when the
// network comes back, and this often.
const CHECK_EVERY_MS = 60 * 60 * 1000;

export class NewVersionNotice {
  private readonly element = document.createElement("div");
  private readonly line = document.createElement("span");
  private readonly button = document.createElement("button");
  private waiting: ServiceWorker | null = null;

  constructor(private readonly host: VersionHost) {
    this.element.className = "new-version";
    this.element.setAttribute("role", "status");
    this.element.hidden = true;
    this.button.type = "button";
    this.button.addEventListener("click", () => void this.takeNewVersion());
    this.element.append(this.line, this.button);
    document.body.prepend(this.element);
    this.relabel();
  }

  relabel(): void {
    this.line.textContent = this.host.texts("IDS_WEB_NEW_VERSION");
    this.button.textContent = this.host.texts("IDS_WEB_USE_NEW_VERSION");
  }

  // Registers the site's worker; a browser without service workers simply stays online-only.
  async register(workerUrl: URL): Promise<void> {
    if (!("serviceWorker" in navigator)) {
      return;
    }
    const registration = await navigator.serviceWorker.register(workerUrl);
    const follow = (worker: ServiceWorker | null) => {
      if (!worker) {
        return;
      }
      const check = () => {
        // Without a controller this is the first install, which is no new version.
        if (worker.state === "installed" && navigator.serviceWorker.controller) {
          this.announce(worker);
        }
      };
      worker.addEventListener("statechange", check);
      check();
    };
    follow(registration.waiting);
    registration.addEventListener("updatefound", () => follow(registration.installing));
    navigator.serviceWorker.addEventListener("controllerchange", () => {
      if (this.waiting) {
        location.reload();
      }
    });
    // Without a network there is nothing newer to find, and the next look tries again.
    const look = () => void registration.update().catch(() => undefined);
    window.addEventListener("online", look);
    setInterval(look, CHECK_EVERY_MS);
  }

  private announce(worker: ServiceWorker): void {
    this.waiting = worker;
    this.element.hidden = false;
  }

  private async takeNewVersion(): Promise<void> {
    if (!this.waiting || !(await this.host.releaseDocument())) {
      return;
    }
    this.button.disabled = true;
    this.waiting.postMessage("take-new-version");
  }
}
