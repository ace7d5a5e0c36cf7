// SPDX-License-Identifier: GPL-3.0-or-later
// Template 156, the test mode dialog.
#pragma once

constexpr int kTestModeTemplate = 156;
constexpr int kStartTestModeId = 1138;
constexpr int kWriteAllId = 1139;
constexpr int kTestItemListId = 1150;
constexpr int kTestValueEditId = 1151;
constexpr int kTestValueBarId = 1152;
constexpr int kReadAllId = 1153;
constexpr int kOpenDataId = 1154;
constexpr int kSaveDataId = 1155;
constexpr int kTestProgressId = 1156;
