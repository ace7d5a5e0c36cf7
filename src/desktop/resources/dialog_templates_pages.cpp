// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the three pages of the main view. A label and the control it names share the
// control's id, so one "Resource" key relabels the label and the page finds its control by
// the same id and kind.
#include "resources/dialog_template.h"
#include "resources/ids/channel_page_ids.h"
#include "resources/ids/function_page_ids.h"
#include "resources/ids/vfo_page_ids.h"

namespace {

constexpr const char* kPageFont = "MS Sans Serif";

constexpr ControlTemplate kChannelPageControls[] = {
    {kModelLabelId, ControlKind::Static, "型号", kStyleNone, 3, 9, 32, 11},
    {kModelNameId, ControlKind::Static, "RQ860", kStyleNone, 37, 7, 47, 14},
    {kRangeLabelId, ControlKind::Static, "Frequency Range", kStyleNone, 96, 9, 78, 11},
    {kRangeSelectorId, ControlKind::DropDownList, "", kStyleNone, 177, 7, 102, 91},
    {kChannelGridId, ControlKind::Grid, "", kStyleNone, 10, 29, 545, 245},
    {kFrequencyEditorId, ControlKind::Edit, "", kStyleHidden | kStyleDisabled, 299, 8, 20, 14},
    {kDecodeListId, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 333, 8, 24, 230},
    {kEncodeListId, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 361, 9, 24, 230},
    {kChoiceListId, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 396, 7, 24, 209},
    {kNameEditorId, ControlKind::Edit, "", kStyleHidden | kStyleDisabled, 435, 9, 16, 14},
};

constexpr ControlTemplate kFunctionPageControls[] = {
    {kScanModeId, ControlKind::Static, "扫描模式", kStyleNone, 21, 21, 125, 8},
    {kScanModeId, ControlKind::DropDownList, "", kStyleNone, 150, 19, 84, 100},
    {kTxTimeLimitId, ControlKind::Static, "发射限时", kStyleNone, 21, 46, 125, 8},
    {kTxTimeLimitId, ControlKind::DropDownList, "", kStyleNone, 150, 44, 84, 100},
    {kFrequencyModeId, ControlKind::Static, "频率模式", kStyleNone, 21, 71, 125, 8},
    {kFrequencyModeId, ControlKind::DropDownList, "", kStyleNone, 150, 69, 84, 100},
    {kWorkModeAId, ControlKind::Static, "对讲机工作方式(A信道)", kStyleNone, 21, 97, 125, 8},
    {kWorkModeAId, ControlKind::DropDownList, "", kStyleNone, 150, 95, 84, 100},
    {kWorkModeBId, ControlKind::Static, "对讲机工作方式(B信道)", kStyleNone, 21, 123, 125, 8},
    {kWorkModeBId, ControlKind::DropDownList, "", kStyleNone, 150, 121, 84, 100},
    {kDisplayF1Id, ControlKind::Static, "F1信道显示", kStyleNone, 21, 149, 125, 8},
    {kDisplayF1Id, ControlKind::DropDownList, "", kStyleNone, 150, 147, 84, 100},
    {kDisplayF2Id, ControlKind::Static, "F2信道显示", kStyleNone, 21, 174, 125, 8},
    {kDisplayF2Id, ControlKind::DropDownList, "", kStyleNone, 150, 172, 84, 100},
    {kPttIdModeId, ControlKind::Static, "PTT ID", kStyleNone, 21, 200, 125, 8},
    {kPttIdModeId, ControlKind::DropDownList, "", kStyleNone, 150, 198, 84, 100},
    {kPttIdCodeId, ControlKind::Static, "PTT ID码", kStyleNone, 21, 226, 125, 8},
    {kPttIdCodeId, ControlKind::Edit, "", kStyleUpperCase, 150, 224, 84, 12},
    {kSquelchId, ControlKind::Static, "静噪等级", kStyleNone, 246, 22, 94, 8},
    {kSquelchId, ControlKind::DropDownList, "", kStyleNone, 344, 20, 97, 100},
    {kVoxLevelId, ControlKind::Static, "VOX 等级", kStyleNone, 246, 48, 94, 8},
    {kVoxLevelId, ControlKind::DropDownList, "", kStyleNone, 344, 46, 97, 100},
    {kRadioWorkModeId, ControlKind::Static, "FM工作方式", kStyleNone, 246, 74, 94, 8},
    {kRadioWorkModeId, ControlKind::DropDownList, "", kStyleNone, 344, 72, 97, 100},
    {kDualWatchTxId, ControlKind::Static, "双守发射", kStyleNone, 246, 101, 94, 8},
    {kDualWatchTxId, ControlKind::DropDownList, "", kStyleNone, 344, 99, 97, 100},
    {kVoiceSelectId, ControlKind::Static, "语音报号选择", kStyleNone, 246, 126, 94, 8},
    {kVoiceSelectId, ControlKind::DropDownList, "", kStyleNone, 344, 124, 97, 100},
    {kDualWatchId, ControlKind::CheckBox, "DTR(双守)", kStyleNone, 246, 149, 96, 10},
    {kRadioFunctionId, ControlKind::CheckBox, "收音机功能", kStyleNone, 344, 149, 97, 10},
    {kEndToneId, ControlKind::CheckBox, "发话结束音", kStyleNone, 246, 175, 96, 10},
    {kBeepId, ControlKind::CheckBox, "哔音", kStyleNone, 344, 175, 97, 10},
    {kBacklightId, ControlKind::CheckBox, "背景灯", kStyleNone, 246, 200, 96, 10},
    {kVoicePromptId, ControlKind::CheckBox, "语音报号", kStyleNone, 344, 200, 97, 10},
    {kPowerSaveId, ControlKind::CheckBox, "省电功能", kStyleNone, 246, 225, 96, 10},
    {kSideToneId, ControlKind::CheckBox, "侧音", kStyleNone, 344, 225, 97, 10},
    {kAniTxId, ControlKind::CheckBox, "Ani发射", kStyleHidden | kStyleDisabled, 246, 273, 96, 10},
};

constexpr ControlTemplate kVfoPageControls[] = {
    {kVfoF1GroupId, ControlKind::GroupBox, "F1模式VFO频率", kStyleNone, 32, 7, 162, 284},
    {kVfoF1ReceiveId, ControlKind::Static, "接收频率", kStyleNone, 40, 26, 74, 8},
    {kVfoF1ReceiveId, ControlKind::Edit, "", kStyleNone, 118, 24, 70, 12},
    {kVfoF1ReceiveToneId, ControlKind::Static, "CTC/DCS解码", kStyleNone, 40, 48, 74, 8},
    {kVfoF1ReceiveToneId, ControlKind::DropDownList, "", kStyleNone, 118, 46, 70, 160},
    {kVfoF1TransmitId, ControlKind::Static, "发射频率", kStyleNone, 40, 70, 74, 8},
    {kVfoF1TransmitId, ControlKind::Edit, "", kStyleNone, 118, 68, 70, 12},
    {kVfoF1TransmitToneId, ControlKind::Static, "CTC/DCS编码", kStyleNone, 40, 92, 74, 8},
    {kVfoF1TransmitToneId, ControlKind::DropDownList, "", kStyleNone, 118, 90, 70, 160},
    {kVfoF1PowerId, ControlKind::Static, "功率", kStyleNone, 40, 114, 74, 8},
    {kVfoF1PowerId, ControlKind::DropDownList, "", kStyleNone, 118, 112, 70, 80},
    {kVfoF1BclId, ControlKind::Static, "BCL", kStyleNone, 40, 136, 74, 8},
    {kVfoF1BclId, ControlKind::DropDownList, "", kStyleNone, 118, 134, 70, 80},
    {kVfoF1BandwidthId, ControlKind::Static, "宽/窄", kStyleNone, 40, 158, 74, 8},
    {kVfoF1BandwidthId, ControlKind::DropDownList, "", kStyleNone, 118, 156, 70, 80},
    {kVfoF1ReverseId, ControlKind::Static, "倒频", kStyleNone, 40, 180, 74, 8},
    {kVfoF1ReverseId, ControlKind::DropDownList, "", kStyleNone, 118, 178, 70, 80},
    {kVfoF1PttIdId, ControlKind::Static, "PTT ID", kStyleNone, 40, 202, 74, 8},
    {kVfoF1PttIdId, ControlKind::DropDownList, "", kStyleNone, 118, 200, 70, 80},
    {kVfoF1StepId, ControlKind::Static, "步进", kStyleNone, 40, 224, 74, 8},
    {kVfoF1StepId, ControlKind::DropDownList, "", kStyleNone, 118, 222, 70, 80},
    {kVfoF1CompanderId, ControlKind::Static, "压扩", kStyleNone, 40, 246, 74, 8},
    {kVfoF1CompanderId, ControlKind::DropDownList, "", kStyleNone, 118, 244, 70, 80},
    {kVfoF1ScanAddId, ControlKind::Static, "扫描添加", kStyleNone, 40, 268, 74, 8},
    {kVfoF1ScanAddId, ControlKind::DropDownList, "", kStyleNone, 118, 266, 70, 80},
    {kVfoF2GroupId, ControlKind::GroupBox, "F2模式VFO频率", kStyleNone, 260, 7, 162, 284},
    {kVfoF2ReceiveId, ControlKind::Static, "接收频率", kStyleNone, 268, 26, 74, 8},
    {kVfoF2ReceiveId, ControlKind::Edit, "", kStyleNone, 346, 24, 70, 12},
    {kVfoF2ReceiveToneId, ControlKind::Static, "CTC/DCS解码", kStyleNone, 268, 48, 74, 8},
    {kVfoF2ReceiveToneId, ControlKind::DropDownList, "", kStyleNone, 346, 46, 70, 160},
    {kVfoF2TransmitId, ControlKind::Static, "发射频率", kStyleNone, 268, 70, 74, 8},
    {kVfoF2TransmitId, ControlKind::Edit, "", kStyleNone, 346, 68, 70, 12},
    {kVfoF2TransmitToneId, ControlKind::Static, "CTC/DCS编码", kStyleNone, 268, 92, 74, 8},
    {kVfoF2TransmitToneId, ControlKind::DropDownList, "", kStyleNone, 346, 90, 70, 160},
    {kVfoF2PowerId, ControlKind::Static, "功率", kStyleNone, 268, 114, 74, 8},
    {kVfoF2PowerId, ControlKind::DropDownList, "", kStyleNone, 346, 112, 70, 80},
    {kVfoF2BclId, ControlKind::Static, "BCL", kStyleNone, 268, 136, 74, 8},
    {kVfoF2BclId, ControlKind::DropDownList, "", kStyleNone, 346, 134, 70, 80},
    {kVfoF2BandwidthId, ControlKind::Static, "宽/窄", kStyleNone, 268, 158, 74, 8},
    {kVfoF2BandwidthId, ControlKind::DropDownList, "", kStyleNone, 346, 156, 70, 80},
    {kVfoF2ReverseId, ControlKind::Static, "倒频", kStyleNone, 268, 180, 74, 8},
    {kVfoF2ReverseId, ControlKind::DropDownList, "", kStyleNone, 346, 178, 70, 80},
    {kVfoF2PttIdId, ControlKind::Static, "PTT ID", kStyleNone, 268, 202, 74, 8},
    {kVfoF2PttIdId, ControlKind::DropDownList, "", kStyleNone, 346, 200, 70, 80},
    {kVfoF2StepId, ControlKind::Static, "步进", kStyleNone, 268, 224, 74, 8},
    {kVfoF2StepId, ControlKind::DropDownList, "", kStyleNone, 346, 222, 70, 80},
    {kVfoF2CompanderId, ControlKind::Static, "压扩", kStyleNone, 268, 246, 74, 8},
    {kVfoF2CompanderId, ControlKind::DropDownList, "", kStyleNone, 346, 244, 70, 80},
    {kVfoF2ScanAddId, ControlKind::Static, "扫描添加", kStyleNone, 268, 268, 74, 8},
    {kVfoF2ScanAddId, ControlKind::DropDownList, "", kStyleNone, 346, 266, 70, 80},
};

constexpr DialogTemplate kPageTemplates[] = {
    {kVfoPageTemplate, DialogKind::Child, "", kPageFont, 8, 468, 298, kVfoPageControls},
    {kChannelPageTemplate, DialogKind::Child, "", kPageFont, 8, 559, 281, kChannelPageControls},
    {kFunctionPageTemplate, DialogKind::Child, "", kPageFont, 8, 475, 284, kFunctionPageControls},
};

}  // namespace

std::span<const DialogTemplate> PageDialogTemplates() {
    return kPageTemplates;
}
