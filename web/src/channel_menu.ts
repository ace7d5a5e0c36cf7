// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table's context menu as the desktop's channel page builds it: the Edit commands
// in its order, with its separators and menu texts, greyed as the toolbar greys them. A right
// click on a channel not chosen chooses it first; the ContextMenu key and Shift+F10 open it on
// the focus cell. It runs the toolbar's commands and decides nothing itself.
import "./channel_menu.css";
import { channelRowOf } from "./row_selection";
import type { Texts } from "./texts";

export interface MenuCommand {
  // The desktop's keys, as aria-keyshortcuts names them.
  keys: string[];
  enabled(): boolean;
  run(): void;
}

export interface MenuHost {
  table: HTMLTableElement;
  texts: Texts;
  command(menuKey: string): MenuCommand;
  // Chooses the channel and gives it the focus, unless it is chosen already.
  chooseRow(row: number): void;
}

// The desktop's items by their menu keys; "" is a separator.
const menuKeys = [
  "Menu_Edit_Cut",
  "Menu_Edit_Copy",
  "Menu_Edit_Paste",
  "",
  "Menu_Edit_Insert_Channel",
  "Menu_Edit_Delete_Channel",
  "Menu_Edit_Move_Up",
  "Menu_Edit_Move_Down",
  "Menu_Edit_Clear",
  "",
  "Menu_Edit_Set_For_Selected",
  "Menu_Edit_Sort",
  "Menu_Edit_Fill",
];

interface MenuItem {
  element: HTMLElement;
  command: MenuCommand;
  mnemonic: string;
}

// A menu text as the desktop draws it: the accelerator's letter underlined ("Cu&t",
// "剪切(&T)"), the shortcut after the tab apart on the right.
function itemContent(menuText: string): { nodes: Node[]; mnemonic: string } {
  const [caption, shortcut = ""] = menuText.split("\t");
  const marked = /&([^&])/.exec(caption);
  const nodes: Node[] = [];
  const name = document.createElement("span");
  if (marked) {
    const letter = document.createElement("u");
    letter.textContent = marked[1];
    name.append(caption.slice(0, marked.index), letter, caption.slice(marked.index + 2));
  } else {
    name.textContent = caption;
  }
  nodes.push(name);
  if (shortcut) {
    const keys = document.createElement("span");
    keys.className = "shortcut";
    keys.setAttribute("aria-hidden", "true");
    keys.textContent = shortcut;
    nodes.push(keys);
  }
  return { nodes, mnemonic: marked ? marked[1].toLowerCase() : "" };
}

export class ChannelMenu {
  private readonly element = document.createElement("div");
  private items: MenuItem[] = [];
  private returnFocus: HTMLElement | null = null;

  constructor(private readonly host: MenuHost) {
    this.element.className = "context-menu";
    this.element.setAttribute("role", "menu");
    this.element.tabIndex = -1;
    this.element.hidden = true;
    this.element.addEventListener("keydown", (event) => this.onKey(event));
    this.element.addEventListener("contextmenu", (event) => event.preventDefault());
    this.element.addEventListener("click", (event) => {
      const item = this.items.find((entry) => entry.element.contains(event.target as Node));
      if (item) {
        this.activate(item);
      }
    });
    this.element.addEventListener("mouseover", (event) => {
      this.enabledItems()
        .find((entry) => entry.element.contains(event.target as Node))
        ?.element.focus();
    });
    document.body.append(this.element);

    const { table } = host;
    // As on the desktop, a right press moves neither the focus nor the chosen channels.
    table.addEventListener("mousedown", (event) => {
      if (event.button === 2) {
        event.preventDefault();
      }
    });
    table.addEventListener("contextmenu", (event) => {
      event.preventDefault();
      if (this.element.hidden) {
        this.open(event.target, event.button === 2 ? event : null);
      }
    });
    table.addEventListener("keydown", (event) => {
      const menuKey =
        event.key === "ContextMenu" ||
        (event.key === "F10" && event.shiftKey && !event.ctrlKey && !event.altKey);
      if (menuKey) {
        event.preventDefault();
        this.open(event.target, null);
      }
    });
    document.addEventListener(
      "mousedown",
      (event) => {
        if (!this.element.hidden && !this.element.contains(event.target as Node)) {
          this.close(false);
        }
      },
      true,
    );
    window.addEventListener("blur", () => this.close(false));
    window.addEventListener("resize", () => this.close(false));
  }

  // Opens at the pointer, or below the focus cell when the keyboard asked.
  private open(target: EventTarget | null, pointer: MouseEvent | null): void {
    const row = channelRowOf(target);
    if (row > 0) {
      this.host.chooseRow(row);
    }
    const active = document.activeElement;
    this.returnFocus = active instanceof HTMLElement && active !== document.body ? active : null;
    this.build();
    this.element.hidden = false;
    const place = pointer
      ? { x: pointer.clientX, y: pointer.clientY }
      : (() => {
          const box = (this.returnFocus ?? this.host.table).getBoundingClientRect();
          return { x: box.left, y: box.bottom };
        })();
    const size = this.element.getBoundingClientRect();
    this.element.style.left = `${Math.max(0, Math.min(place.x, innerWidth - size.width))}px`;
    this.element.style.top = `${Math.max(0, Math.min(place.y, innerHeight - size.height))}px`;
    (this.enabledItems()[0]?.element ?? this.element).focus();
  }

  private build(): void {
    this.items = [];
    this.element.replaceChildren();
    for (const menuKey of menuKeys) {
      if (!menuKey) {
        const separator = document.createElement("div");
        separator.setAttribute("role", "separator");
        this.element.append(separator);
        continue;
      }
      const command = this.host.command(menuKey);
      const element = document.createElement("div");
      element.setAttribute("role", "menuitem");
      element.tabIndex = -1;
      element.dataset.menuKey = menuKey;
      if (command.keys.length > 0) {
        element.setAttribute("aria-keyshortcuts", command.keys.join(" "));
      }
      element.setAttribute("aria-disabled", String(!command.enabled()));
      const content = itemContent(this.host.texts(menuKey));
      element.append(...content.nodes);
      this.element.append(element);
      this.items.push({ element, command, mnemonic: content.mnemonic });
    }
  }

  private enabledItems(): MenuItem[] {
    return this.items.filter((item) => item.element.getAttribute("aria-disabled") === "false");
  }

  private close(restoreFocus: boolean): void {
    if (this.element.hidden) {
      return;
    }
    this.element.hidden = true;
    if (restoreFocus) {
      this.returnFocus?.focus();
    }
  }

  private activate(item: MenuItem): void {
    if (!this.enabledItems().includes(item)) {
      return;
    }
    this.close(true);
    item.command.run();
  }

  // The keys of a desktop menu: disabled items are passed over, the ends wrap round.
  private onKey(event: KeyboardEvent): void {
    event.stopPropagation();
    const enabled = this.enabledItems();
    const current = enabled.findIndex((item) => item.element === document.activeElement);
    const focusAt = (index: number) =>
      enabled[(index + enabled.length) % enabled.length]?.element.focus();
    const plain = !event.ctrlKey && !event.altKey && !event.metaKey;
    if (event.key === "ArrowDown") {
      focusAt(current + 1);
    } else if (event.key === "ArrowUp") {
      focusAt(current < 0 ? -1 : current - 1);
    } else if (event.key === "Home") {
      focusAt(0);
    } else if (event.key === "End") {
      focusAt(-1);
    } else if ((event.key === "Enter" || event.key === " ") && current >= 0) {
      this.activate(enabled[current]);
    } else if (event.key === "Escape" || event.key === "Tab") {
      this.close(true);
    } else if (plain && event.key.length === 1) {
      const item = enabled.find((entry) => entry.mnemonic === event.key.toLowerCase());
      if (item) {
        this.activate(item);
      }
    } else {
      return;
    }
    event.preventDefault();
  }
}
