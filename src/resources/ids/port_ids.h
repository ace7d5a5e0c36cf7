// Template 130, the port dialog: eight port buttons with consecutive ids, COM1 first.
#pragma once

constexpr int kPortTemplate = 130;
constexpr int kFirstPortButtonId = 1001;
constexpr int kPortButtonCount = 8;
constexpr int kPortGroupId = 1011;
constexpr int kSearchCheckBoxId = 1012;

// The radio button of COMn.
constexpr int PortButtonId(int n) {
    return kFirstPortButtonId - 1 + n;
}
