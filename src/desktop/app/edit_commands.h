// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Undo and Edit > Redo over the document's history.
#pragma once

#include "common/step_names.h"

class CHalvexApp;
class CHalvexDoc;
class CMainFrame;

void InstallEditCommands(CHalvexApp& app, CMainFrame& frame);

// "Undo <step>" or a greyed plain "Undo", and the same for Redo.
void UpdateEditMenu(CMainFrame& frame, const CHalvexDoc& document);
