// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the shell's own dialogs and of the transfer, port and password dialogs.
#include "resources/dialog_template.h"
#include "resources/ids/about_ids.h"
#include "resources/ids/compare_ids.h"
#include "resources/ids/language_ids.h"
#include "resources/ids/main_form_ids.h"
#include "resources/ids/password_ids.h"
#include "resources/ids/port_ids.h"
#include "resources/ids/transfer_ids.h"

namespace {

constexpr const char* kDialogFont = "MS Sans Serif";

constexpr ControlTemplate kAboutControls[] = {
    {kUnnamedStaticId, ControlKind::Icon, "", kStyleNone, 11, 17, 20, 20},
    {kAboutProductId, ControlKind::Static, "Halvex %s 版", kStyleNone, 40, 10, 119, 8},
    {kAboutSoftwareId, ControlKind::Static, "RQ870 PC Software", kStyleNone, 40, 25, 119, 8},
    {kAboutLicenseId, ControlKind::Static,
     "自由软件，依据 GNU GPL 第 3 版或更新版本发布，不提供任何担保。", kStyleNone, 40, 37, 188, 28},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 178, 7, 50, 14},
};

constexpr ControlTemplate kMainFormControls[] = {
    {kMainFormTabsId, ControlKind::TabControl, "", kStyleNone, 8, 9, 577, 308},
};

// One port a row, the device it opens beside it; the devices found below.
constexpr ControlTemplate kPortControls[] = {
    {kPortGroupId, ControlKind::GroupBox, "通信端口", kStyleNone, 7, 5, 316, 124},
    {PortButtonId(1), ControlKind::RadioButton, "COM1", kStyleNone, 15, 20, 40, 10},
    {PortButtonId(2), ControlKind::RadioButton, "COM2", kStyleNone, 15, 33, 40, 10},
    {PortButtonId(3), ControlKind::RadioButton, "COM3", kStyleNone, 15, 46, 40, 10},
    {PortButtonId(4), ControlKind::RadioButton, "COM4", kStyleNone, 15, 59, 40, 10},
    {PortButtonId(5), ControlKind::RadioButton, "COM5", kStyleNone, 15, 72, 40, 10},
    {PortButtonId(6), ControlKind::RadioButton, "COM6", kStyleNone, 15, 85, 40, 10},
    {PortButtonId(7), ControlKind::RadioButton, "COM7", kStyleNone, 15, 98, 40, 10},
    {PortButtonId(8), ControlKind::RadioButton, "COM8", kStyleNone, 15, 111, 40, 10},
    {PortMappingId(1), ControlKind::Static, "", kStyleNone, 60, 21, 256, 8},
    {PortMappingId(2), ControlKind::Static, "", kStyleNone, 60, 34, 256, 8},
    {PortMappingId(3), ControlKind::Static, "", kStyleNone, 60, 47, 256, 8},
    {PortMappingId(4), ControlKind::Static, "", kStyleNone, 60, 60, 256, 8},
    {PortMappingId(5), ControlKind::Static, "", kStyleNone, 60, 73, 256, 8},
    {PortMappingId(6), ControlKind::Static, "", kStyleNone, 60, 86, 256, 8},
    {PortMappingId(7), ControlKind::Static, "", kStyleNone, 60, 99, 256, 8},
    {PortMappingId(8), ControlKind::Static, "", kStyleNone, 60, 112, 256, 8},
    {kPortDevicesGroupId, ControlKind::GroupBox, "找到的串口设备", kStyleNone, 7, 134, 316, 96},
    {kPortDeviceListId, ControlKind::ListBox, "", kStyleNone, 15, 146, 300, 78},
    {kPortInUseId, ControlKind::Static, "", kStyleNone, 7, 237, 316, 8},
    // Never shown: it lies under the OK button and keeps the search setting's value.
    {kSearchCheckBoxId, ControlKind::CheckBox, "搜索端口", kStyleHidden, 217, 253, 50, 14},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 217, 253, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 273, 253, 50, 14},
};

constexpr ControlTemplate kLanguageControls[] = {
    {kLanguagePromptId, ControlKind::Static, "请选择语言：", kStyleNone, 10, 12, 150, 8},
    // Open, the list shows every shipped language at once.
    {kLanguageListId, ControlKind::DropDownList, "", kStyleSorted, 10, 24, 150, 180},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 30, 48, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 90, 48, 50, 14},
};

constexpr ControlTemplate kTransferControls[] = {
    // Four lines: a failure, what the radio now holds and the blocks that differ.
    {kTransferMessageId, ControlKind::Static, "", kStyleNone, 10, 10, 200, 36},
    {kTransferProgressId, ControlKind::ProgressBar, "", kStyleNone, 10, 50, 200, 12},
    // Shown in the write direction only.
    {kTransferVerifyId, ControlKind::CheckBox, "写入后校验", kStyleNone, 10, 68, 200, 10},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 45, 84, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 125, 84, 50, 14},
};

constexpr ControlTemplate kCompareControls[] = {
    {kCompareSummaryId, ControlKind::Static, "", kStyleNone, 7, 7, 286, 10},
    {kCompareListId, ControlKind::ListBox, "", kStyleNone, 7, 20, 286, 150},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 125, 176, 50, 14},
};

constexpr ControlTemplate kPasswordControls[] = {
    {kPasswordPromptId, ControlKind::Static, "请输入密码", kStyleNone, 10, 12, 150, 8},
    {kPasswordEditId, ControlKind::Edit, "", kStylePassword, 10, 24, 150, 13},
    {kIdOk, ControlKind::DefaultPushButton, "OK", kStyleNone, 25, 46, 50, 14},
    {kIdCancel, ControlKind::PushButton, "Cancel", kStyleNone, 95, 46, 50, 14},
};

constexpr DialogTemplate kShellTemplates[] = {
    {kAboutTemplate, DialogKind::Modal, "关于 Halvex", kDialogFont, 8, 235, 72, kAboutControls},
    {kMainFormTemplate, DialogKind::Child, "", "宋体", 9, 599, 329, kMainFormControls},
    {kPortTemplate, DialogKind::Modal, "Communication Port", kDialogFont, 8, 330, 274,
     kPortControls},
    {kLanguageTemplate, DialogKind::Modal, "语言转换", kDialogFont, 8, 170, 70, kLanguageControls},
    {kTransferTemplate, DialogKind::Modal, "", kDialogFont, 8, 220, 106, kTransferControls},
    {kPasswordTemplate, DialogKind::Modal, "测试模式", kDialogFont, 8, 170, 68, kPasswordControls},
    {kCompareTemplate, DialogKind::Modal, "与对讲机的不同", kDialogFont, 8, 300, 196,
     kCompareControls},
};

}  // namespace

std::span<const DialogTemplate> ShellDialogTemplates() {
    return kShellTemplates;
}
