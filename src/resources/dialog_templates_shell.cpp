// Templates of the shell's own dialogs and of the transfer, port and password dialogs.
#include "resources/dialog_template.h"

namespace {

constexpr const char* kDialogFont = "MS Sans Serif";

constexpr ControlTemplate kAboutControls[] = {
    {kUnnamedStaticId, ControlKind::Icon, "", kStyleNone, 11, 17, 20, 20},
    {1015, ControlKind::Static, "Halvex 1.02 版", kStyleNone, 40, 10, 119, 8},
    {kUnnamedStaticId, ControlKind::Static, "RQ870 PC Software", kStyleNone, 40, 25, 119, 8},
    {1, ControlKind::DefaultPushButton, "确定", kStyleNone, 178, 7, 50, 14},
};

constexpr ControlTemplate kMainFormControls[] = {
    {1016, ControlKind::TabControl, "", kStyleNone, 8, 9, 577, 308},
};

constexpr ControlTemplate kPortControls[] = {
    {1011, ControlKind::GroupBox, "通信端口", kStyleNone, 7, 5, 118, 78},
    {1001, ControlKind::RadioButton, "COM1", kStyleNone, 17, 22, 45, 10},
    {1002, ControlKind::RadioButton, "COM2", kStyleNone, 17, 37, 45, 10},
    {1003, ControlKind::RadioButton, "COM3", kStyleNone, 17, 52, 45, 10},
    {1004, ControlKind::RadioButton, "COM4", kStyleNone, 17, 67, 45, 10},
    {1005, ControlKind::RadioButton, "COM5", kStyleNone, 70, 22, 45, 10},
    {1006, ControlKind::RadioButton, "COM6", kStyleNone, 70, 37, 45, 10},
    {1007, ControlKind::RadioButton, "COM7", kStyleNone, 70, 52, 45, 10},
    {1008, ControlKind::RadioButton, "COM8", kStyleNone, 70, 67, 45, 10},
    // Never shown: it lies under the OK button and keeps the search setting's value.
    {1012, ControlKind::CheckBox, "搜索端口", kStyleHidden, 135, 11, 50, 14},
    {1, ControlKind::DefaultPushButton, "确定", kStyleNone, 135, 11, 50, 14},
    {2, ControlKind::PushButton, "取消", kStyleNone, 135, 31, 50, 14},
};

constexpr ControlTemplate kLanguageControls[] = {
    {1013, ControlKind::Static, "请选择语言：", kStyleNone, 10, 12, 70, 8},
    {1014, ControlKind::DropDownList, "", kStyleSorted, 10, 24, 150, 90},
    {1, ControlKind::DefaultPushButton, "确定", kStyleNone, 30, 48, 50, 14},
    {2, ControlKind::PushButton, "取消", kStyleNone, 90, 48, 50, 14},
};

constexpr ControlTemplate kTransferControls[] = {
    {1010, ControlKind::Static, "", kStyleNone, 10, 10, 200, 18},
    {1009, ControlKind::ProgressBar, "", kStyleNone, 10, 32, 200, 12},
    // Shown in the write direction only.
    {1160, ControlKind::CheckBox, "写入后校验", kStyleNone, 10, 50, 200, 10},
    {1, ControlKind::DefaultPushButton, "确定", kStyleNone, 45, 66, 50, 14},
    {2, ControlKind::PushButton, "取消", kStyleNone, 125, 66, 50, 14},
};

constexpr ControlTemplate kCompareControls[] = {
    {1162, ControlKind::Static, "", kStyleNone, 7, 7, 286, 10},
    {1161, ControlKind::ListBox, "", kStyleNone, 7, 20, 286, 150},
    {1, ControlKind::DefaultPushButton, "确定", kStyleNone, 125, 176, 50, 14},
};

constexpr ControlTemplate kPasswordControls[] = {
    {1062, ControlKind::Static, "请输入密码", kStyleNone, 10, 12, 150, 8},
    {1063, ControlKind::Edit, "", kStylePassword, 10, 24, 150, 13},
    {1, ControlKind::DefaultPushButton, "OK", kStyleNone, 25, 46, 50, 14},
    {2, ControlKind::PushButton, "Cancel", kStyleNone, 95, 46, 50, 14},
};

constexpr DialogTemplate kShellTemplates[] = {
    {100, DialogKind::Modal, "关于 Halvex", kDialogFont, 8, 235, 55, kAboutControls},
    {101, DialogKind::Child, "", "宋体", 9, 599, 329, kMainFormControls},
    {130, DialogKind::Modal, "Communication Port", kDialogFont, 8, 192, 88, kPortControls},
    {131, DialogKind::Modal, "语言转换", kDialogFont, 8, 170, 70, kLanguageControls},
    {132, DialogKind::Modal, "", kDialogFont, 8, 220, 88, kTransferControls},
    {134, DialogKind::Modal, "测试模式", kDialogFont, 8, 170, 68, kPasswordControls},
    {136, DialogKind::Modal, "与对讲机的不同", kDialogFont, 8, 300, 196, kCompareControls},
};

}  // namespace

std::span<const DialogTemplate> ShellDialogTemplates() {
    return kShellTemplates;
}
