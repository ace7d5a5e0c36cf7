// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/value_scroll.h"

#include <algorithm>

int ScrolledPosition(ScrollCode code, int position, int trackedPosition) {
    switch (code) {
        case ScrollCode::LineLeft:
            return position <= kTestValueMinimum ? kTestValueMaximum : position - 1;
        case ScrollCode::LineRight:
            return position >= kTestValueMaximum ? kTestValueMinimum : position + 1;
        case ScrollCode::ThumbTrack:
            return std::clamp(trackedPosition, kTestValueMinimum, kTestValueMaximum);
        case ScrollCode::EndScroll:
        case ScrollCode::Other:
            break;
    }
    return position;
}
