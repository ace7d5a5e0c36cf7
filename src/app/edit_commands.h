// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Undo and Edit > Redo over the document's history, and the step names the pages
// give their changes in the user's language.
#pragma once

#include <QString>
#include <initializer_list>
#include <string>

class CHalvexApp;
class CHalvexDoc;
class CMainFrame;

void InstallEditCommands(CHalvexApp& app, CMainFrame& frame);

// "Undo <step>" or a greyed plain "Undo", and the same for Redo.
void UpdateEditMenu(CMainFrame& frame, const CHalvexDoc& document);

// The text of a dialog control's label, as a step name shows it: no mnemonic or colon.
QString ControlLabel(int controlId);

// The language text of key with %1, %2, ... filled in order.
std::string StepName(const char* key, std::initializer_list<QString> arguments = {});
