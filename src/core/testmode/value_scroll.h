// SPDX-License-Identifier: GPL-3.0-or-later
// The test dialog's scroll bar: one value 0..255 that wraps at both ends, and is stored
// into the item only when the user lets go.
#pragma once

constexpr int kTestValueMinimum = 0;
constexpr int kTestValueMaximum = 255;

enum class ScrollCode { LineLeft, LineRight, ThumbTrack, EndScroll, Other };

// The position after code; trackedPosition (kept within 0..255) is used only by ThumbTrack. Codes
// that do not move the bar (EndScroll, Other) keep the position.
int ScrolledPosition(ScrollCode code, int position, int trackedPosition);
