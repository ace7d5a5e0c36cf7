// SPDX-License-Identifier: GPL-3.0-or-later
// The page tabs of the desktop's main view: Channels, Optional Functions and VFO, as an ARIA
// tab list (arrow keys, Home and End move between the tabs; Tab goes into the page shown).
import type { Texts } from "./texts";

interface Tab {
  key: string;
  button: HTMLButtonElement;
  panel: HTMLElement;
}

export class PageTabs {
  readonly element = document.createElement("div");
  private readonly list = document.createElement("div");
  private readonly tabs: Tab[] = [];
  private shown = 0;

  constructor(private readonly texts: Texts) {
    this.element.className = "page-tabs";
    this.list.setAttribute("role", "tablist");
    this.list.className = "tab-list";
    this.list.addEventListener("keydown", (event) => this.onKey(event));
    this.element.append(this.list);
  }

  // A page under the tab titled by the language text key; the first added is shown first.
  add(key: string, panel: HTMLElement): void {
    const index = this.tabs.length;
    const button = document.createElement("button");
    button.type = "button";
    button.setAttribute("role", "tab");
    button.id = `tab-${index}`;
    panel.id = `page-${index}`;
    panel.setAttribute("role", "tabpanel");
    panel.setAttribute("aria-labelledby", button.id);
    panel.classList.add("tab-panel");
    button.setAttribute("aria-controls", panel.id);
    button.addEventListener("click", () => this.show(index));
    this.tabs.push({ key, button, panel });
    this.list.append(button);
    this.element.append(panel);
    this.show(this.shown);
  }

  relabel(): void {
    for (const tab of this.tabs) {
      tab.button.textContent = this.texts(tab.key);
    }
  }

  show(index: number): void {
    this.shown = index;
    this.tabs.forEach((tab, k) => {
      const selected = k === index;
      tab.button.setAttribute("aria-selected", String(selected));
      tab.button.tabIndex = selected ? 0 : -1;
      tab.panel.hidden = !selected;
    });
  }

  private onKey(event: KeyboardEvent): void {
    const last = this.tabs.length - 1;
    const next: Record<string, number> = {
      ArrowRight: this.shown === last ? 0 : this.shown + 1,
      ArrowLeft: this.shown === 0 ? last : this.shown - 1,
      Home: 0,
      End: last,
    };
    if (!(event.key in next)) {
      return;
    }
    event.preventDefault();
    this.show(next[event.key]);
    this.tabs[this.shown].button.focus();
  }
}
