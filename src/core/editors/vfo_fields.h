// SPDX-License-Identifier: GPL-3.0-or-later
// The VFO page's controls of F1 and F2: the record each shows, its lists with their entries
// and the setters they store through, its two frequency boxes stored as a pair, and the undo
// step an edit names. The desktop's page and the browser's both edit through these.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/document.h"
#include "editors/channel_commit.h"

// One VFO's controls; a control's id is also its label's resource key.
struct VfoControlIds {
    int record, group;
    int receive, transmit;
    int receiveTone, transmitTone, power, bcl, bandwidth, scanAdd, reverse, pttId, compander;
    int step;
};

// F1, then F2.
std::span<const VfoControlIds> VfoControls();
// nullptr for a control of neither VFO.
const VfoControlIds* VfoOfControl(int controlId);

// One list of a VFO and the record's value it shows.
struct VfoChoice {
    int VfoControlIds::*control;
    std::vector<std::string> (*entries)();  // in the language shown now
    int (*read)(const CHalvexDoc& document, int record);
    void (*write)(CHalvexDoc& document, int record, int index);
};

// In the order the desktop page fills them; the step list, filled after the frequencies,
// comes last.
std::span<const VfoChoice> VfoChoices();
// nullptr for a control that is no list.
const VfoChoice* VfoChoiceOf(int controlId);

// Stores entry index of choice into vfo's record and names the step; false, and nothing
// stored, for an index past the entries. The entry the list already showed, chosen again,
// changes no byte and makes no step.
bool ChooseVfoEntry(CHalvexDoc& document, const VfoControlIds& vfo, const VfoChoice& choice,
                    int index);

// What the transmit box shows of vfo's record.
std::string VfoTransmitBoxText(const CHalvexDoc& document, const VfoControlIds& vfo);

struct VfoFrequencyStore {
    bool changed = false;
    std::optional<FrequencyClamp> receiveClamp, transmitClamp;
};

// The two boxes' texts into vfo's record, as one step named by the receive box when its
// frequency changed, else by the transmit box. Passing through the boxes without a change
// stores no byte and makes no step.
VfoFrequencyStore StoreVfoFrequencies(CHalvexDoc& document, const VfoControlIds& vfo,
                                      std::string_view receive, std::string_view transmit);
