// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the FM presets dialog, the test mode dialog, the channel import dialog and the
// programming station.
#include "resources/dialog_template.h"
#include "resources/ids/channel_import_ids.h"
#include "resources/ids/config_import_ids.h"
#include "resources/ids/radiogram_ids.h"
#include "resources/ids/station_ids.h"
#include "resources/ids/test_mode_ids.h"

namespace {

constexpr const char* kDialogFont = "MS Sans Serif";

constexpr ControlTemplate kRadiogramControls[] = {
    // Wider than its controls, centred in it: the title bar must not cut "FM Radio Presets".
    {kFmFrequencyLabelId, ControlKind::Static, "收音机频率", kStyleNone, 20, 8, 58, 8},
    {kFmFrequencyListId, ControlKind::DropDownList, "", kStyleNone, 81, 6, 48, 150},
    {kPresetGridId, ControlKind::Grid, "", kStyleNone, 21, 32, 108, 189},
    {kPresetListId, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 81, 40, 48, 150},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 23, 228, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 79, 228, 50, 14},
};

constexpr ControlTemplate kTestModeControls[] = {
    {kTestItemListId, ControlKind::ListBox, "", kStyleNone, 7, 7, 150, 186},
    {kTestValueEditId, ControlKind::Edit, "", kStyleReadOnly, 165, 7, 40, 13},
    {kTestValueBarId, ControlKind::HorizontalScrollBar, "", kStyleNone, 165, 25, 88, 10},
    {kStartTestModeId, ControlKind::PushButton, "启动调测模式", kStyleNone, 165, 45, 88, 14},
    {kWriteAllId, ControlKind::PushButton, "全部写入", kStyleNone, 165, 65, 88, 14},
    {kReadAllId, ControlKind::PushButton, "全部读取", kStyleNone, 165, 85, 88, 14},
    {kOpenDataId, ControlKind::PushButton, "打开数据", kStyleNone, 165, 105, 88, 14},
    {kSaveDataId, ControlKind::PushButton, "保存数据", kStyleNone, 165, 125, 88, 14},
    {kTestProgressId, ControlKind::ProgressBar, "", kStyleNone, 165, 152, 88, 10},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 165, 179, 88, 14},
};

constexpr ControlTemplate kChannelImportControls[] = {
    {kImportReplaceId, ControlKind::RadioButton, "替换整个信道表", kStyleNone, 7, 7, 140, 10},
    {kImportFillEmptyId, ControlKind::RadioButton, "只填充空信道", kStyleNone, 150, 7, 140, 10},
    {kImportSummaryId, ControlKind::Static, "", kStyleNone, 7, 22, 286, 8},
    {kImportReportId, ControlKind::ListBox, "", kStyleNone, 7, 33, 286, 140},
    {kImportSaveReportId, ControlKind::PushButton, "保存报告...", kStyleNone, 7, 180, 90, 14},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 183, 180, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 243, 180, 50, 14},
};

constexpr ControlTemplate kConfigImportControls[] = {
    {kConfigImportSummaryId, ControlKind::Static, "", kStyleNone, 7, 7, 286, 10},
    {kConfigImportListId, ControlKind::ListBox, "", kStyleNone, 7, 20, 286, 150},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 183, 176, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 243, 176, 50, 14},
};

constexpr ControlTemplate kStationControls[] = {
    {kStationFileId, ControlKind::Static, "", kStyleNone, 7, 7, 376, 8},
    {kStationDevicesLabelId, ControlKind::Static, "写频线：", kStyleNone, 7, 20, 200, 8},
    {kStationDeviceListId, ControlKind::ListBox, "", kStyleNone, 7, 30, 200, 44},
    {kStationOtherLabelId, ControlKind::Static, "其他设备：", kStyleNone, 214, 20, 169, 8},
    {kStationOtherEditId, ControlKind::Edit, "", kStyleNone, 214, 30, 169, 13},
    {kStationAutoId, ControlKind::CheckBox, "自动发现下一台", kStyleNone, 214, 48, 169, 10},
    {kStationVerifyId, ControlKind::CheckBox, "写入后校验", kStyleNone, 214, 62, 169, 10},
    {kStationCheckOnlyId, ControlKind::CheckBox, "只读取比较，不写入", kStyleNone, 214, 76, 169,
     10},
    {kStationLogLabelId, ControlKind::Static, "记录文件：", kStyleNone, 7, 96, 70, 8},
    {kStationLogEditId, ControlKind::Edit, "", kStyleNone, 80, 94, 303, 13},
    {kStationCodeLabelId, ControlKind::Static, "首台PTT ID码：", kStyleNone, 7, 112, 200, 8},
    {kStationCodeEditId, ControlKind::Edit, "", kStyleNone, 214, 110, 60, 13},
    // The rows of the cables are made inside it when a run starts.
    {kStationRowsGroupId, ControlKind::GroupBox, "对讲机", kStyleNone, 7, 128, 376, 120},
    {kStationLogListId, ControlKind::ListBox, "", kStyleNone, 7, 252, 376, 56},
    {kStationStartId, ControlKind::DefaultPushButton, "开始", kStyleNone, 7, 314, 50, 14},
    {kStationStopId, ControlKind::PushButton, "停止", kStyleNone, 63, 314, 50, 14},
    {kIdCancel, ControlKind::PushButton, "关闭", kStyleNone, 333, 314, 50, 14},
};

constexpr DialogTemplate kToolTemplates[] = {
    {kRadiogramTemplate, DialogKind::Modal, "收音机频率", kDialogFont, 8, 151, 248,
     kRadiogramControls},
    {kTestModeTemplate, DialogKind::Modal, "测试模式", kDialogFont, 8, 260, 200, kTestModeControls},
    {kChannelImportTemplate, DialogKind::Modal, "导入信道", kDialogFont, 8, 300, 200,
     kChannelImportControls},
    {kConfigImportTemplate, DialogKind::Modal, "导入配置", kDialogFont, 8, 300, 196,
     kConfigImportControls},
    {kStationTemplate, DialogKind::Modal, "批量写频", kDialogFont, 8, 390, 334, kStationControls},
};

}  // namespace

std::span<const DialogTemplate> ToolDialogTemplates() {
    return kToolTemplates;
}
