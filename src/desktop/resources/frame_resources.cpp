// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/frame_resources.h"

#include "resources/command_ids.h"

namespace {

constexpr MenuItemResource kFileItems[] = {
    {kCommandNew, "Menu_File_New", "新建(&N)\tCtrl+N"},
    {kCommandOpen, "Menu_File_Open", "打开(&O)...\tCtrl+O"},
    {kCommandSave, "Menu_File_Save", "保存(&S)\tCtrl+S"},
    {kCommandSaveAs, "Menu_File_Save_As", "另存为(&A)..."},
    {0, nullptr, ""},
    {kCommandImportChannels, "Menu_File_Import_Channels", "导入信道(&I)..."},
    {kCommandExportChannels, "Menu_File_Export_Channels", "导出信道(&E)..."},
    {kCommandImportConfig, "Menu_File_Import_Config", "导入配置(&C)..."},
    {kCommandExportConfig, "Menu_File_Export_Config", "导出配置(&G)..."},
    {0, nullptr, ""},
    {kCommandPrint, "Menu_File_Print", "打印(&P)...\tCtrl+P"},
    {kCommandPrintPreview, "Menu_File_Print_Preview", "打印预览(&V)"},
    {kCommandPrintSetup, "Menu_File_Print_Setup", "打印设置(&R)..."},
    {0, nullptr, ""},
    {kCommandRecentFile, "Menu_File_Recent", "最近文件"},
    {0, nullptr, ""},
    {kCommandExit, "Menu_App_Exit", "退出(&X)"},
};

constexpr MenuItemResource kEditItems[] = {
    {kCommandUndo, "Menu_Edit_Undo", "撤销(&U)\tCtrl+Z"},
    {kCommandRedo, "Menu_Edit_Redo", "重做(&R)\tCtrl+Y"},
    {0, nullptr, ""},
    {kCommandCut, "Menu_Edit_Cut", "剪切(&T)\tCtrl+X"},
    {kCommandCopy, "Menu_Edit_Copy", "复制(&C)\tCtrl+Ins"},
    {kCommandPaste, "Menu_Edit_Paste", "粘贴(&P)\tCtrl+V"},
    {0, nullptr, ""},
    {kCommandInsertChannel, "Menu_Edit_Insert_Channel", "插入空信道(&I)"},
    {kCommandDeleteChannel, "Menu_Edit_Delete_Channel", "删除信道(&D)"},
    {kCommandMoveChannelUp, "Menu_Edit_Move_Up", "上移(&V)\tAlt+Up"},
    {kCommandMoveChannelDown, "Menu_Edit_Move_Down", "下移(&W)\tAlt+Down"},
    {kCommandClear, "Menu_Edit_Clear", "清除(&L)"},
    {0, nullptr, ""},
    {kCommandSetForSelected, "Menu_Edit_Set_For_Selected", "为所选信道设置(&S)..."},
    {kCommandSortChannels, "Menu_Edit_Sort", "信道排序(&O)..."},
    {kCommandFillFrequencies, "Menu_Edit_Fill", "填充频率(&F)..."},
    {0, nullptr, ""},
    {kCommandFind, "Menu_Edit_Find", "查找(&N)\tCtrl+F"},
    {kCommandFindNext, "Menu_Edit_Find_Next", "查找下一个\tF3"},
    {kCommandFindPrevious, "Menu_Edit_Find_Previous", "查找上一个\tShift+F3"},
};

constexpr MenuItemResource kProgramItems[] = {
    {kCommandReadRadio, "Menu_Program_ReadData", "从对讲机读取数据(&R)\tCtrl+R"},
    {kCommandWriteRadio, "Menu_Program_WriteData", "向对讲机写入数据(&W)\tCtrl+W"},
    {kCommandCompareRadio, "Menu_Program_Compare", "与对讲机比较(&C)..."},
    {kCommandCheckConnection, "Menu_Program_CheckConnection", "检查连接(&H)..."},
    {kCommandProgrammingStation, "Menu_Program_Station", "批量写频(&S)..."},
    {0, nullptr, ""},
    {kCommandRadiogram, "Menu_Program_Radiogram", "收音机频率"},
    {kCommandTestMode, "Menu_Program_TestMode", "测试模式(&T)\tCtrl+T"},
};

constexpr MenuItemResource kSettingItems[] = {
    {kCommandPort, "Menu_Setting_Port", "通信端口(&C)\tCtrl+C"},
    {kCommandLanguage, "Menu_Setting_Language", "语言转换(&L)\tCtrl+L"},
    {0, nullptr, ""},
    {kCommandCableDirect, "Menu_Setting_Cable_Direct", "写频线：直连(&D)"},
    {kCommandCableEcho, "Menu_Setting_Cable_Echo", "写频线：回显(&E)"},
};

constexpr MenuItemResource kHelpItems[] = {
    {kCommandHelp, "Menu_Help_Help", "帮助(&H)"},
    {kCommandAbout, "Menu_App_About", "关于(&A)..."},
};

constexpr MenuResource kMainMenu[] = {
    {"Menu_File", "文件(&F)", kFileItems},       {"Menu_Edit", "编辑(&E)", kEditItems},
    {"Menu_Program", "编程(&P)", kProgramItems}, {"Menu_Setting", "设置(&S)", kSettingItems},
    {"Menu_Help", "帮助(&H)", kHelpItems},
};

constexpr AcceleratorResource kAccelerators[] = {
    {"Ctrl+C", kCommandPort},
    {"Ctrl+L", kCommandLanguage},
    {"Ctrl+N", kCommandNew},
    {"Ctrl+O", kCommandOpen},
    {"Ctrl+P", kCommandPrint},
    {"Ctrl+R", kCommandReadRadio},
    {"Ctrl+S", kCommandSave},
    {"Ctrl+T", kCommandTestMode},
    {"Ctrl+W", kCommandWriteRadio},
    {"Ctrl+V", kCommandPaste},
    {"Shift+Ins", kCommandPaste},
    {"Ctrl+X", kCommandCut},
    {"Shift+Del", kCommandCut},
    {"Ctrl+Ins", kCommandCopy},
    {"Ctrl+Z", kCommandUndo},
    {"Alt+Backspace", kCommandUndo},
    {"Ctrl+Y", kCommandRedo},
    {"Ctrl+Shift+Z", kCommandRedo},
    {"F6", kCommandNextPane},
    {"Shift+F6", kCommandPreviousPane},
    {"Alt+Up", kCommandMoveChannelUp},
    {"Alt+Down", kCommandMoveChannelDown},
    {"Ctrl+F", kCommandFind},
    {"F3", kCommandFindNext},
    {"Shift+F3", kCommandFindPrevious},
};

constexpr ToolbarButtonResource kToolbar[] = {
    {kCommandNew, ":/icons/new.xpm"},
    {kCommandOpen, ":/icons/open.xpm"},
    {kCommandSave, ":/icons/save.xpm"},
    {0, nullptr},
    {kCommandReadRadio, ":/icons/read.xpm"},
    {kCommandWriteRadio, ":/icons/write.xpm"},
    {0, nullptr},
    {kCommandPrint, ":/icons/print.xpm"},
    {0, nullptr},
    {kCommandNextLanguage, ":/icons/language.xpm"},
    {kCommandHelp, ":/icons/help.xpm"},
};

}  // namespace

std::span<const MenuResource> MainMenuResource() {
    return kMainMenu;
}
std::span<const AcceleratorResource> AcceleratorTable() {
    return kAccelerators;
}
std::span<const ToolbarButtonResource> ToolbarResource() {
    return kToolbar;
}
