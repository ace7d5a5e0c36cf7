// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog templates: every dialog and page of the program as data, in dialog units of the
// template's font. One builder turns them into widgets; nothing else lays out a dialog.
#pragma once

#include <cstdint>
#include <span>

enum class ControlKind {
    Static,
    Icon,
    GroupBox,
    PushButton,
    DefaultPushButton,
    CheckBox,
    RadioButton,
    Edit,
    DropDownList,
    ListBox,
    HorizontalScrollBar,
    ProgressBar,
    TabControl,
    Grid,
};

// Style bits of a control beyond its kind.
enum ControlStyle : uint32_t {
    kStyleNone = 0,
    kStyleHidden = 1u << 0,
    kStyleDisabled = 1u << 1,
    kStyleSorted = 1u << 2,
    kStylePassword = 1u << 3,
    kStyleReadOnly = 1u << 4,
    kStyleUpperCase = 1u << 5,
};

// The buttons that accept and reject a dialog.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// The id of static texts nobody addresses; a "Resource" key 65535 would relabel them all.
constexpr int kUnnamedStaticId = 65535;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* caption;  // UTF-8 resource text; empty for none
    uint32_t style;
    int x, y, width, height;  // dialog units; for drop-down lists the height includes the list
};

enum class DialogKind {
    Modal,  // a top-level dialog with a caption
    Child,  // a page or form inside another window, no caption
};

struct DialogTemplate {
    int id;
    DialogKind kind;
    const char* caption;
    const char* fontFace;
    int fontPoints;
    int width, height;  // dialog units
    std::span<const ControlTemplate> controls;
};

// The template with that id, or nullptr when the program has none.
const DialogTemplate* FindDialogTemplate(int id);

// The templates of each group of dialogs, kept beside their data.
std::span<const DialogTemplate> ShellDialogTemplates();
std::span<const DialogTemplate> PageDialogTemplates();
std::span<const DialogTemplate> ToolDialogTemplates();
std::span<const DialogTemplate> EditDialogTemplates();
