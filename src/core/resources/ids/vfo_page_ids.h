// SPDX-License-Identifier: GPL-3.0-or-later
// Template 135, the VFO page: one group of controls for F1 and one for F2. A label and the
// control it names share one id.
#pragma once

constexpr int kVfoPageTemplate = 135;

constexpr int kVfoF1GroupId = 1093;
constexpr int kVfoF1ReceiveId = 1094;
constexpr int kVfoF1TransmitId = 1096;
constexpr int kVfoF1ReceiveToneId = 1098;
constexpr int kVfoF1TransmitToneId = 1100;
constexpr int kVfoF1PowerId = 1102;
constexpr int kVfoF1BclId = 1104;
constexpr int kVfoF1BandwidthId = 1106;
constexpr int kVfoF1ScanAddId = 1108;
constexpr int kVfoF1StepId = 1110;
constexpr int kVfoF1ReverseId = 1112;
constexpr int kVfoF1PttIdId = 1114;
constexpr int kVfoF1CompanderId = 1141;

constexpr int kVfoF2GroupId = 1116;
constexpr int kVfoF2ReceiveId = 1117;
constexpr int kVfoF2TransmitId = 1119;
constexpr int kVfoF2ReceiveToneId = 1121;
constexpr int kVfoF2TransmitToneId = 1123;
constexpr int kVfoF2PowerId = 1125;
constexpr int kVfoF2BclId = 1127;
constexpr int kVfoF2BandwidthId = 1129;
constexpr int kVfoF2ScanAddId = 1131;
constexpr int kVfoF2StepId = 1133;
constexpr int kVfoF2ReverseId = 1135;
constexpr int kVfoF2PttIdId = 1137;
constexpr int kVfoF2CompanderId = 1143;
