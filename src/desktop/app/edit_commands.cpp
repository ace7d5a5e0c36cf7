// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/edit_commands.h"

#include <QAction>
#include <QMenu>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/document.h"
#include "config/language.h"
#include "resources/command_ids.h"
#include "view/main_view.h"

namespace {

void LabelItem(QAction* action, const char* plainKey, const char* namedKey, const std::string& name,
               bool enabled) {
    if (action == nullptr) {
        return;
    }
    QString text = QString::fromStdString(LoadLangString(plainKey));
    if (enabled && !name.empty()) {
        // A name is text, never a mnemonic.
        QString shown = StepText(name).replace(QLatin1Char('&'), QLatin1String("&&"));
        text = QString::fromStdString(LoadLangString(namedKey)).arg(shown);
    }
    action->setText(text);
    action->setEnabled(enabled);
}

void Step(CHalvexApp& app, bool undo) {
    CHalvexDoc& document = app.Document();
    if (!(undo ? document.Undo() : document.Redo())) {
        return;
    }
    CMainFrame* frame = app.MainFrame();
    frame->View()->ShowChange(document.LastUndoneRuns());
    UpdateEditMenu(*frame, document);
}

}  // namespace

void UpdateEditMenu(CMainFrame& frame, const CHalvexDoc& document) {
    LabelItem(frame.MenuAction(kCommandUndo), "Menu_Edit_Undo", "IDS_UNDO_STEP",
              document.UndoName(), document.CanUndo());
    LabelItem(frame.MenuAction(kCommandRedo), "Menu_Edit_Redo", "IDS_REDO_STEP",
              document.RedoName(), document.CanRedo());
}

void InstallEditCommands(CHalvexApp& app, CMainFrame& frame) {
    frame.SetCommandHandler(kCommandUndo, [&app] { Step(app, true); });
    frame.SetCommandHandler(kCommandRedo, [&app] { Step(app, false); });
    frame.SetCommandEnabler(kCommandUndo, [&app] { return app.Document().CanUndo(); });
    frame.SetCommandEnabler(kCommandRedo, [&app] { return app.Document().CanRedo(); });
    // The items say what they would undo; the history changes with every edit, so they are
    // brought up to date whenever the menu opens.
    if (auto* menu = qobject_cast<QMenu*>(frame.MenuAction(kCommandUndo)->parent())) {
        QObject::connect(menu, &QMenu::aboutToShow, &frame,
                         [&app, &frame] { UpdateEditMenu(frame, app.Document()); });
    }
    UpdateEditMenu(frame, app.Document());
}
