// Templates of the three pages of the main view. A label and the control it names share the
// control's id, so one "Resource" key relabels the label and the page finds its control by
// the same id and kind.
#include "resources/dialog_template.h"

namespace {

constexpr const char* kPageFont = "MS Sans Serif";

constexpr ControlTemplate kChannelPageControls[] = {
    {1018, ControlKind::Static, "型号", kStyleNone, 3, 9, 25, 11},
    {1019, ControlKind::Static, "RQ860", kStyleNone, 36, 7, 47, 14},
    {1020, ControlKind::Static, "Frequency Range", kStyleNone, 108, 9, 64, 11},
    {1021, ControlKind::DropDownList, "", kStyleNone, 177, 7, 102, 91},
    {1017, ControlKind::Grid, "", kStyleNone, 10, 29, 539, 245},
    {1022, ControlKind::Edit, "", kStyleHidden | kStyleDisabled, 299, 8, 20, 14},
    {1076, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 333, 8, 24, 230},
    {1077, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 361, 9, 24, 230},
    {1023, ControlKind::DropDownList, "", kStyleHidden | kStyleDisabled, 396, 7, 24, 209},
    {1024, ControlKind::Edit, "", kStyleHidden | kStyleDisabled, 435, 9, 16, 14},
};

constexpr ControlTemplate kFunctionPageControls[] = {
    {1028, ControlKind::Static, "扫描模式", kStyleNone, 21, 21, 88, 8},
    {1028, ControlKind::DropDownList, "", kStyleNone, 113, 19, 84, 100},
    {1049, ControlKind::Static, "发射限时", kStyleNone, 21, 46, 88, 8},
    {1049, ControlKind::DropDownList, "", kStyleNone, 113, 44, 84, 100},
    {1035, ControlKind::Static, "频率模式", kStyleNone, 21, 71, 88, 8},
    {1035, ControlKind::DropDownList, "", kStyleNone, 113, 69, 84, 100},
    {1043, ControlKind::Static, "对讲机工作方式(A信道)", kStyleNone, 21, 97, 88, 8},
    {1043, ControlKind::DropDownList, "", kStyleNone, 113, 95, 84, 100},
    {1045, ControlKind::Static, "对讲机工作方式(B信道)", kStyleNone, 21, 123, 88, 8},
    {1045, ControlKind::DropDownList, "", kStyleNone, 113, 121, 84, 100},
    {1054, ControlKind::Static, "F1信道显示", kStyleNone, 21, 149, 88, 8},
    {1054, ControlKind::DropDownList, "", kStyleNone, 113, 147, 84, 100},
    {1056, ControlKind::Static, "F2信道显示", kStyleNone, 21, 174, 88, 8},
    {1056, ControlKind::DropDownList, "", kStyleNone, 113, 172, 84, 100},
    {1037, ControlKind::Static, "PTT ID", kStyleNone, 21, 200, 88, 8},
    {1037, ControlKind::DropDownList, "", kStyleNone, 113, 198, 84, 100},
    {1061, ControlKind::Static, "PTT ID码", kStyleNone, 21, 226, 88, 8},
    {1061, ControlKind::Edit, "", kStyleUpperCase, 113, 224, 84, 12},
    {1026, ControlKind::Static, "静噪等级", kStyleNone, 274, 22, 66, 8},
    {1026, ControlKind::DropDownList, "", kStyleNone, 344, 20, 97, 100},
    {1059, ControlKind::Static, "VOX 等级", kStyleNone, 274, 48, 66, 8},
    {1059, ControlKind::DropDownList, "", kStyleNone, 344, 46, 97, 100},
    {1041, ControlKind::Static, "FM工作方式", kStyleNone, 274, 74, 66, 8},
    {1041, ControlKind::DropDownList, "", kStyleNone, 344, 72, 97, 100},
    {1051, ControlKind::Static, "双守发射", kStyleNone, 274, 101, 66, 8},
    {1051, ControlKind::DropDownList, "", kStyleNone, 344, 99, 97, 100},
    {1047, ControlKind::Static, "语音报号选择", kStyleNone, 274, 126, 66, 8},
    {1047, ControlKind::DropDownList, "", kStyleNone, 344, 124, 97, 100},
    {1029, ControlKind::CheckBox, "DTR(双守)", kStyleNone, 272, 149, 68, 10},
    {1038, ControlKind::CheckBox, "收音机功能", kStyleNone, 344, 149, 97, 10},
    {1030, ControlKind::CheckBox, "发话结束音", kStyleNone, 272, 175, 68, 10},
    {1031, ControlKind::CheckBox, "哔音", kStyleNone, 344, 175, 97, 10},
    {1032, ControlKind::CheckBox, "背景灯", kStyleNone, 272, 200, 68, 10},
    {1039, ControlKind::CheckBox, "语音报号", kStyleNone, 344, 200, 97, 10},
    {1033, ControlKind::CheckBox, "省电功能", kStyleNone, 272, 225, 68, 10},
    {1057, ControlKind::CheckBox, "侧音", kStyleNone, 344, 225, 97, 10},
    {1052, ControlKind::CheckBox, "Ani发射", kStyleHidden | kStyleDisabled, 273, 273, 68, 10},
};

constexpr ControlTemplate kVfoPageControls[] = {
    {1093, ControlKind::GroupBox, "F1模式VFO频率", kStyleNone, 32, 7, 162, 284},
    {1094, ControlKind::Static, "接收频率", kStyleNone, 40, 26, 64, 8},
    {1094, ControlKind::Edit, "", kStyleNone, 108, 24, 78, 12},
    {1098, ControlKind::Static, "CTC/DCS解码", kStyleNone, 40, 48, 64, 8},
    {1098, ControlKind::DropDownList, "", kStyleNone, 108, 46, 78, 160},
    {1096, ControlKind::Static, "发射频率", kStyleNone, 40, 70, 64, 8},
    {1096, ControlKind::Edit, "", kStyleNone, 108, 68, 78, 12},
    {1100, ControlKind::Static, "CTC/DCS编码", kStyleNone, 40, 92, 64, 8},
    {1100, ControlKind::DropDownList, "", kStyleNone, 108, 90, 78, 160},
    {1102, ControlKind::Static, "功率", kStyleNone, 40, 114, 64, 8},
    {1102, ControlKind::DropDownList, "", kStyleNone, 108, 112, 78, 80},
    {1104, ControlKind::Static, "BCL", kStyleNone, 40, 136, 64, 8},
    {1104, ControlKind::DropDownList, "", kStyleNone, 108, 134, 78, 80},
    {1106, ControlKind::Static, "宽/窄", kStyleNone, 40, 158, 64, 8},
    {1106, ControlKind::DropDownList, "", kStyleNone, 108, 156, 78, 80},
    {1112, ControlKind::Static, "倒频", kStyleNone, 40, 180, 64, 8},
    {1112, ControlKind::DropDownList, "", kStyleNone, 108, 178, 78, 80},
    {1114, ControlKind::Static, "PTT ID", kStyleNone, 40, 202, 64, 8},
    {1114, ControlKind::DropDownList, "", kStyleNone, 108, 200, 78, 80},
    {1110, ControlKind::Static, "步进", kStyleNone, 40, 224, 64, 8},
    {1110, ControlKind::DropDownList, "", kStyleNone, 108, 222, 78, 80},
    {1141, ControlKind::Static, "压扩", kStyleNone, 40, 246, 64, 8},
    {1141, ControlKind::DropDownList, "", kStyleNone, 108, 244, 78, 80},
    {1108, ControlKind::Static, "扫描添加", kStyleNone, 40, 268, 64, 8},
    {1108, ControlKind::DropDownList, "", kStyleNone, 108, 266, 78, 80},
    {1116, ControlKind::GroupBox, "F2模式VFO频率", kStyleNone, 260, 7, 162, 284},
    {1117, ControlKind::Static, "接收频率", kStyleNone, 268, 26, 64, 8},
    {1117, ControlKind::Edit, "", kStyleNone, 336, 24, 78, 12},
    {1121, ControlKind::Static, "CTC/DCS解码", kStyleNone, 268, 48, 64, 8},
    {1121, ControlKind::DropDownList, "", kStyleNone, 336, 46, 78, 160},
    {1119, ControlKind::Static, "发射频率", kStyleNone, 268, 70, 64, 8},
    {1119, ControlKind::Edit, "", kStyleNone, 336, 68, 78, 12},
    {1123, ControlKind::Static, "CTC/DCS编码", kStyleNone, 268, 92, 64, 8},
    {1123, ControlKind::DropDownList, "", kStyleNone, 336, 90, 78, 160},
    {1125, ControlKind::Static, "功率", kStyleNone, 268, 114, 64, 8},
    {1125, ControlKind::DropDownList, "", kStyleNone, 336, 112, 78, 80},
    {1127, ControlKind::Static, "BCL", kStyleNone, 268, 136, 64, 8},
    {1127, ControlKind::DropDownList, "", kStyleNone, 336, 134, 78, 80},
    {1129, ControlKind::Static, "宽/窄", kStyleNone, 268, 158, 64, 8},
    {1129, ControlKind::DropDownList, "", kStyleNone, 336, 156, 78, 80},
    {1135, ControlKind::Static, "倒频", kStyleNone, 268, 180, 64, 8},
    {1135, ControlKind::DropDownList, "", kStyleNone, 336, 178, 78, 80},
    {1137, ControlKind::Static, "PTT ID", kStyleNone, 268, 202, 64, 8},
    {1137, ControlKind::DropDownList, "", kStyleNone, 336, 200, 78, 80},
    {1133, ControlKind::Static, "步进", kStyleNone, 268, 224, 64, 8},
    {1133, ControlKind::DropDownList, "", kStyleNone, 336, 222, 78, 80},
    {1143, ControlKind::Static, "压扩", kStyleNone, 268, 246, 64, 8},
    {1143, ControlKind::DropDownList, "", kStyleNone, 336, 244, 78, 80},
    {1131, ControlKind::Static, "扫描添加", kStyleNone, 268, 268, 64, 8},
    {1131, ControlKind::DropDownList, "", kStyleNone, 336, 266, 78, 80},
};

constexpr DialogTemplate kPageTemplates[] = {
    {135, DialogKind::Child, "", kPageFont, 8, 468, 298, kVfoPageControls},
    {150, DialogKind::Child, "", kPageFont, 8, 559, 281, kChannelPageControls},
    {151, DialogKind::Child, "", kPageFont, 8, 475, 284, kFunctionPageControls},
};

}  // namespace

std::span<const DialogTemplate> PageDialogTemplates() {
    return kPageTemplates;
}
