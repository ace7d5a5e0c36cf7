// Templates of the FM presets dialog, the test mode dialog and the channel import dialog.
#include "resources/dialog_template.h"

namespace {

constexpr const char* kDialogFont = "MS Sans Serif";

constexpr ControlTemplate kRadiogramControls[] = {
    {1090, ControlKind::Static, "收音机频率", kStyleNone, 5, 8, 58, 8},
    {1091, ControlKind::DropDownList, "", kStyleNone, 66, 6, 48, 150},
    {1079, ControlKind::Grid, "", kStyleNone, 6, 32, 108, 189},
    {1078, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 66, 40, 48, 150},
    {1, ControlKind::DefaultPushButton, "确定", kStyleNone, 13, 228, 32, 14},
    {2, ControlKind::PushButton, "取消", kStyleNone, 83, 228, 32, 14},
};

constexpr ControlTemplate kTestModeControls[] = {
    {1150, ControlKind::ListBox, "", kStyleNone, 7, 7, 150, 186},
    {1151, ControlKind::Edit, "", kStyleReadOnly, 165, 7, 40, 13},
    {1152, ControlKind::HorizontalScrollBar, "", kStyleNone, 165, 25, 88, 10},
    {1138, ControlKind::PushButton, "启动调测模式", kStyleNone, 165, 45, 88, 14},
    {1139, ControlKind::PushButton, "全部写入", kStyleNone, 165, 65, 88, 14},
    {1153, ControlKind::PushButton, "全部读取", kStyleNone, 165, 85, 88, 14},
    {1154, ControlKind::PushButton, "打开数据", kStyleNone, 165, 105, 88, 14},
    {1155, ControlKind::PushButton, "保存数据", kStyleNone, 165, 125, 88, 14},
    {1156, ControlKind::ProgressBar, "", kStyleNone, 165, 152, 88, 10},
    {2, ControlKind::PushButton, "取消", kStyleNone, 165, 179, 88, 14},
};

constexpr ControlTemplate kChannelImportControls[] = {
    {1201, ControlKind::RadioButton, "替换整个信道表", kStyleNone, 7, 7, 140, 10},
    {1202, ControlKind::RadioButton, "只填充空信道", kStyleNone, 150, 7, 140, 10},
    {1203, ControlKind::Static, "", kStyleNone, 7, 22, 286, 8},
    {1204, ControlKind::ListBox, "", kStyleNone, 7, 33, 286, 140},
    {1205, ControlKind::PushButton, "保存报告...", kStyleNone, 7, 180, 60, 14},
    {1, ControlKind::DefaultPushButton, "确定", kStyleNone, 183, 180, 50, 14},
    {2, ControlKind::PushButton, "取消", kStyleNone, 243, 180, 50, 14},
};

constexpr DialogTemplate kToolTemplates[] = {
    {155, DialogKind::Modal, "收音机频率", kDialogFont, 8, 121, 248, kRadiogramControls},
    {156, DialogKind::Modal, "测试模式", kDialogFont, 8, 260, 200, kTestModeControls},
    {160, DialogKind::Modal, "导入信道", kDialogFont, 8, 300, 200, kChannelImportControls},
};

}  // namespace

std::span<const DialogTemplate> ToolDialogTemplates() {
    return kToolTemplates;
}
