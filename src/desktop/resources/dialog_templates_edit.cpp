// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the Edit menu's dialogs over many channels.
#include "resources/dialog_template.h"
#include "resources/ids/channel_edit_ids.h"

namespace {

constexpr const char* kDialogFont = "MS Sans Serif";

constexpr ControlTemplate kSetColumnControls[] = {
    {kSetColumnLabelId, ControlKind::Static, "栏目:", kStyleNone, 7, 9, 50, 8},
    {kSetColumnListId, ControlKind::DropDownList, "", kStyleNone, 60, 7, 153, 150},
    {kSetValueLabelId, ControlKind::Static, "值:", kStyleNone, 7, 27, 50, 8},
    {kSetValueListId, ControlKind::DropDownList, "", kStyleNone, 60, 25, 153, 150},
    {kSetOffsetEditId, ControlKind::Edit, "", kStyleHidden, 60, 25, 153, 13},
    {kSetOffsetHintId, ControlKind::Static, "", kStyleNone, 7, 43, 206, 18},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 106, 66, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 163, 66, 50, 14},
};

constexpr ControlTemplate kSortControls[] = {
    {kSortKeyLabelId, ControlKind::Static, "排序依据:", kStyleNone, 7, 9, 70, 8},
    {kSortKeyListId, ControlKind::DropDownList, "", kStyleNone, 80, 7, 113, 60},
    {kSortAscendingId, ControlKind::RadioButton, "升序", kStyleNone, 7, 26, 95, 10},
    {kSortDescendingId, ControlKind::RadioButton, "降序", kStyleNone, 105, 26, 88, 10},
    {kSortSelectionId, ControlKind::RadioButton, "所选信道", kStyleNone, 7, 41, 95, 10},
    {kSortAllId, ControlKind::RadioButton, "全部信道", kStyleNone, 105, 41, 88, 10},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 86, 58, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 143, 58, 50, 14},
};

constexpr ControlTemplate kFillControls[] = {
    {kFillFirstLabelId, ControlKind::Static, "起始频率 (MHz):", kStyleNone, 7, 9, 110, 8},
    {kFillFirstEditId, ControlKind::Edit, "", kStyleNone, 120, 7, 50, 13},
    {kFillStepLabelId, ControlKind::Static, "步进 (kHz):", kStyleNone, 7, 27, 110, 8},
    {kFillStepEditId, ControlKind::Edit, "", kStyleNone, 120, 25, 50, 13},
    {kFillShiftLabelId, ControlKind::Static, "差频 (MHz):", kStyleNone, 7, 45, 110, 8},
    {kFillShiftEditId, ControlKind::Edit, "", kStyleNone, 120, 43, 50, 13},
    {kIdOk, ControlKind::DefaultPushButton, "确定", kStyleNone, 63, 64, 50, 14},
    {kIdCancel, ControlKind::PushButton, "取消", kStyleNone, 120, 64, 50, 14},
};

constexpr DialogTemplate kEditTemplates[] = {
    {kSetColumnTemplate, DialogKind::Modal, "为所选信道设置", kDialogFont, 8, 220, 86,
     kSetColumnControls},
    {kSortTemplate, DialogKind::Modal, "信道排序", kDialogFont, 8, 200, 78, kSortControls},
    {kFillTemplate, DialogKind::Modal, "填充频率", kDialogFont, 8, 177, 84, kFillControls},
};

}  // namespace

std::span<const DialogTemplate> EditDialogTemplates() {
    return kEditTemplates;
}
