// SPDX-License-Identifier: GPL-3.0-or-later
// Words every page and dialog shares, on the desktop and in the browser: undo step names kept
// as what they are made of (language keys, control labels, numbers), not as text, so Undo
// names a step in the language shown now, whichever was shown when the step was made; a
// control's label as such a name has it; and the clamping note of a frequency.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/channel_commit.h"

class StepPart {
public:
    // Shown as it is: numbers and channel lists.
    static StepPart Literal(std::string_view text);
    // A dialog control's label or a dialog's title, without mnemonic or colon.
    static StepPart Control(int controlId);
    // A language text of the string table with %1, %2, ... filled from fillers.
    static StepPart Text(std::string_view key, const std::vector<std::string>& fillers = {});
    // The header of a channel table column.
    static StepPart ChannelColumn(int column);
    // The name of a test-mode item.
    static StepPart TestItem(int index);

    const std::string& Encoded() const { return m_Encoded; }

private:
    explicit StepPart(std::string encoded) : m_Encoded(std::move(encoded)) {}
    std::string m_Encoded;
};

// The step name of key with %1, %2, ... filled from parts, for CHalvexDoc::CommitEdit.
std::string MakeStepName(std::string_view key, const std::vector<StepPart>& parts = {});
// A step name in the language shown now; a name not made by MakeStepName is shown as it is.
std::string StepNameText(const std::string& name);

// Every %1 of text replaced by the first argument, %2 by the second, ...; the arguments'
// own texts are not searched again.
std::string FillPlaces(const std::string& text, const std::vector<std::string>& arguments);

// A dialog control's label: no mnemonic, no trailing colon, no surrounding white space.
std::string ControlLabelText(int controlId);
// The header of a channel table column in the language shown now.
std::string ChannelHeaderText(int column);

// IDS_CLAMP_HIGH or IDS_CLAMP_LOW filled in; "" for no clamp.
std::string ClampNoteText(const std::optional<FrequencyClamp>& clamp);
