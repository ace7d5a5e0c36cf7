// SPDX-License-Identifier: GPL-3.0-or-later
// Menu 128, accelerator table 128, toolbar 128 and the string table of the main frame.
#pragma once

#include <span>

struct MenuItemResource {
    int commandId;        // 0 for a separator
    const char* langKey;  // nullptr: never relabelled
    const char* caption;  // UTF-8 resource text; a tab separates the shortcut text
};

struct MenuResource {
    const char* langKey;
    const char* caption;
    std::span<const MenuItemResource> items;
};

struct AcceleratorResource {
    const char* keys;  // portable key sequence text, e.g. "Ctrl+C"
    int commandId;
};

struct ToolbarButtonResource {
    int commandId;     // 0 for a separator
    const char* icon;  // resource path of the 16 x 18 button image
};

constexpr int kToolbarButtonWidth = 16;
constexpr int kToolbarButtonHeight = 18;

// String 128: title, document name, new-file name, filter name, extension, type id, type name.
constexpr const char* kDocumentTypeString =
    "PC Software\nItem\n\nRadio Program Data Files(*.pgm)\n.pgm\nRQ870\nRadio Data Files";
// String 129: the port pane's initial text, which also fixes the pane's width.
constexpr const char* kPortPaneText = "COMX";

constexpr const char* kApplicationIcon = ":/icons/halvex.xpm";

std::span<const MenuResource> MainMenuResource();
std::span<const AcceleratorResource> AcceleratorTable();
std::span<const ToolbarButtonResource> ToolbarResource();
