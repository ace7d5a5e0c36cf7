// SPDX-License-Identifier: GPL-3.0-or-later
// Command ids of the menu, toolbar and accelerator table. They are also the tool tip keys
// ("IDS_TIP_<id>") and the ids the frame's command table routes by.
#pragma once

constexpr int kCommandNew = 57600;
constexpr int kCommandOpen = 57601;
constexpr int kCommandSave = 57603;
constexpr int kCommandSaveAs = 57604;
constexpr int kCommandPrintSetup = 57606;
constexpr int kCommandPrint = 57607;
constexpr int kCommandPrintDirect = 57608;
constexpr int kCommandPrintPreview = 57609;
constexpr int kCommandRecentFile = 57616;
constexpr int kCommandAbout = 57664;
constexpr int kCommandExit = 57665;

constexpr int kCommandReadRadio = 32771;
constexpr int kCommandWriteRadio = 32772;
constexpr int kCommandPort = 32773;
constexpr int kCommandLanguage = 32774;
constexpr int kCommandHelp = 32775;
constexpr int kCommandNextLanguage = 32776;
constexpr int kCommandTestMode = 32779;
constexpr int kCommandRadiogram = 32780;
constexpr int kCommandCompareRadio = 32781;
constexpr int kCommandCheckConnection = 32815;
constexpr int kCommandProgrammingStation = 32840;
constexpr int kCommandImportChannels = 32801;
constexpr int kCommandExportChannels = 32802;
constexpr int kCommandImportConfig = 32841;
constexpr int kCommandExportConfig = 32842;
// The cable type, stored as `rwtype` 1 and 2.
constexpr int kCommandCableDirect = 32811;
constexpr int kCommandCableEcho = 32812;

// Edit commands: the edit history, and whole channels of the channel table.
constexpr int kCommandUndo = 57643;
constexpr int kCommandRedo = 57644;
constexpr int kCommandClear = 57632;
constexpr int kCommandCopy = 57634;
constexpr int kCommandCut = 57635;
constexpr int kCommandPaste = 57637;
constexpr int kCommandInsertChannel = 32821;
constexpr int kCommandDeleteChannel = 32822;
constexpr int kCommandMoveChannelUp = 32823;
constexpr int kCommandMoveChannelDown = 32824;
// Edits of many channels, and the channel table's find bar.
constexpr int kCommandSetForSelected = 32825;
constexpr int kCommandSortChannels = 32826;
constexpr int kCommandFillFrequencies = 32827;
constexpr int kCommandFind = 32828;
constexpr int kCommandFindNext = 32829;
constexpr int kCommandFindPrevious = 32830;

// Pane commands: in the accelerator table, handled by nobody.
constexpr int kCommandNextPane = 57680;
constexpr int kCommandPreviousPane = 57681;

// The recent-file list holds this many entries, from kCommandRecentFile on.
constexpr int kRecentFileCount = 4;
