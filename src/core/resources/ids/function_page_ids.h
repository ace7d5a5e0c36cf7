// SPDX-License-Identifier: GPL-3.0-or-later
// Template 151, the optional functions page. A label and the control it names share one id.
#pragma once

constexpr int kFunctionPageTemplate = 151;
constexpr int kSquelchId = 1026;
constexpr int kScanModeId = 1028;
constexpr int kDualWatchId = 1029;
constexpr int kEndToneId = 1030;
constexpr int kBeepId = 1031;
constexpr int kBacklightId = 1032;
constexpr int kPowerSaveId = 1033;
constexpr int kFrequencyModeId = 1035;
constexpr int kPttIdModeId = 1037;
constexpr int kRadioFunctionId = 1038;
constexpr int kVoicePromptId = 1039;
constexpr int kRadioWorkModeId = 1041;
constexpr int kWorkModeAId = 1043;
constexpr int kWorkModeBId = 1045;
constexpr int kVoiceSelectId = 1047;
constexpr int kTxTimeLimitId = 1049;
constexpr int kDualWatchTxId = 1051;
constexpr int kAniTxId = 1052;
constexpr int kDisplayF1Id = 1054;
constexpr int kDisplayF2Id = 1056;
constexpr int kSideToneId = 1057;
constexpr int kVoxLevelId = 1059;
constexpr int kPttIdCodeId = 1061;
