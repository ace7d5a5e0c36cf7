// SPDX-License-Identifier: GPL-3.0-or-later
// Template 130, the port dialog: eight port buttons with consecutive ids, COM1 first, each with
// the device it opens beside it, and the list of serial devices found.
#pragma once

constexpr int kPortTemplate = 130;
constexpr int kFirstPortButtonId = 1001;
constexpr int kPortButtonCount = 8;
constexpr int kPortGroupId = 1011;
constexpr int kSearchCheckBoxId = 1012;

constexpr int kPortInUseId = 1301;
constexpr int kPortDevicesGroupId = 1302;
constexpr int kPortDeviceListId = 1303;
constexpr int kFirstPortMappingId = 1311;

// The radio button of COMn.
constexpr int PortButtonId(int n) {
    return kFirstPortButtonId - 1 + n;
}

// The text beside COMn: the device it opens and whether that is there.
constexpr int PortMappingId(int n) {
    return kFirstPortMappingId - 1 + n;
}
