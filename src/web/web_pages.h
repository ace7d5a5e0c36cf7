// SPDX-License-Identifier: GPL-3.0-or-later
// The Optional Functions and VFO pages as the page draws them: each control with its label,
// its choices and the value the image holds, in the desktop template's order, and a value
// stored through the same setters, step names and notes the desktop pages use.
#pragma once

#include <string>
#include <vector>

#include "codeplug/document.h"
#include "web_document.h"

enum class PageKind { Functions, Vfo };
enum class FieldKind { Choice, Switch, Text };

struct PageField {
    int id = 0;  // the control's id, which is also its label's resource key
    FieldKind kind = FieldKind::Choice;
    std::string label;
    std::vector<std::string> choices;
    int index = -1;  // the entry shown; -1 when the list has none for the stored value
    std::string text;
    size_t textLimit = 0;
    std::string accepted;  // the characters a text box lets in; empty for any
};

// A column of the functions page, or one VFO's group (titled).
struct PageGroup {
    int id = 0;
    std::string title;
    std::vector<PageField> fields;
};

std::vector<PageGroup> PageGroups(const CHalvexDoc& document, PageKind kind);

// A list's entry or a check box's state (index 0 off, 1 on), by control id.
CellCommit CommitPageChoice(CHalvexDoc& document, int id, int index);
// A typed text: the PTT ID code, or one of a VFO's frequencies, stored with the other as
// the page shows it.
CellCommit CommitPageText(CHalvexDoc& document, int id, const std::string& text);
