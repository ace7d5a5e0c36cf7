// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar's commands: buttons captioned with the menu's words, greyed while they cannot
// run, and their Ctrl shortcuts on the page.
import { label, type Texts } from "./texts";

export interface CommandEntry {
  run(): unknown;
  // Always, unless given.
  enabled?(): boolean;
  // Ctrl+<key> on the page, when the browser leaves that key to pages.
  key?: string;
}

interface Command extends CommandEntry {
  button: HTMLButtonElement;
  menuKey: string;
}

export class CommandBar {
  readonly element = document.createElement("div");
  private readonly commands: Command[] = [];

  constructor(
    private readonly texts: Texts,
    // Runs a command when no other is running.
    private readonly guarded: (run: () => unknown) => Promise<void>,
  ) {
    this.element.className = "toolbar";
    this.element.setAttribute("role", "toolbar");
  }

  group(...elements: HTMLElement[]): void {
    const part = document.createElement("div");
    part.className = "group";
    part.append(...elements);
    this.element.append(part);
  }

  command(menuKey: string, entry: CommandEntry): HTMLButtonElement {
    const button = document.createElement("button");
    button.type = "button";
    button.addEventListener("click", () => void this.guarded(entry.run));
    if (entry.key) {
      button.setAttribute("aria-keyshortcuts", `Control+${entry.key.toUpperCase()}`);
    }
    this.commands.push({ ...entry, button, menuKey });
    return button;
  }

  button(menuKey: string): HTMLButtonElement {
    return this.commands.find((command) => command.menuKey === menuKey)!.button;
  }

  relabel(): void {
    for (const command of this.commands) {
      command.button.textContent = label(this.texts(command.menuKey));
    }
  }

  update(busy: boolean): void {
    for (const command of this.commands) {
      command.button.disabled = busy || !(command.enabled?.() ?? true);
    }
  }

  // The command Ctrl+key gives, when there is one and it may run now.
  shortcut(event: KeyboardEvent): (CommandEntry & { key: string }) | undefined {
    if (!event.ctrlKey || event.altKey || event.metaKey) {
      return undefined;
    }
    const command = this.commands.find((entry) => entry.key === event.key.toLowerCase());
    return command?.key && (command.enabled?.() ?? true)
      ? { ...command, key: command.key }
      : undefined;
  }
}
