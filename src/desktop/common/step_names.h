// SPDX-License-Identifier: GPL-3.0-or-later
// The core's undo step names (editors/page_words) in the desktop's strings.
#pragma once

#include <QString>
#include <initializer_list>
#include <string>

#include "editors/page_words.h"

class StepArg {
public:
    // Shown as it is: numbers and channel lists.
    StepArg(const QString& text);  // NOLINT(google-explicit-constructor): most arguments are text
    // A dialog control's label or a dialog's title, without mnemonic or colon.
    static StepArg Control(int controlId);
    // A language text of the string table with %1, %2, ... filled from arguments.
    static StepArg Text(const char* key, std::initializer_list<QString> arguments = {});
    // The header of a channel table column.
    static StepArg ChannelColumn(int column);
    // The name of a test-mode item.
    static StepArg TestItem(int index);

    const StepPart& Part() const { return m_Part; }

private:
    explicit StepArg(StepPart part) : m_Part(std::move(part)) {}
    StepPart m_Part;
};

// The step name of key with %1, %2, ... filled from arguments, for CHalvexDoc::CommitEdit.
std::string StepName(const char* key, std::initializer_list<StepArg> arguments = {});

// A step name in the language shown now; a name not made by StepName is shown as it is.
QString StepText(const std::string& name);

// The language text of key with %1, %2, ... filled in order, for texts shown at once.
QString LangText(const char* key, std::initializer_list<QString> arguments = {});

// The text of a dialog control's label, as a step name shows it: no mnemonic or colon.
QString ControlLabel(int controlId);

// The header of a channel table column in the language shown now.
QString LoadChannelHeader(int column);
