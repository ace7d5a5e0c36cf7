// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/file_dialog.h"
#include "common/main_view_page.h"
#include "common/message_box.h"
#include "support/module_folder.h"
#include "support/next_modal.h"
#include "support/program_globals.h"
#include "view/main_view.h"

namespace halvex::test {

// Every queued answer and file name was used, so no box was left to a real user.
bool SeamsDrained();

// What the desktop shell's tests share: a configuration folder of their own, so the recent-file
// list stays away from the user's; message boxes and file dialogs that answer from their queues
// instead of waiting for a user; and per case a fresh program folder with the program started in
// it, closed again before the next case.
class ShellFixture {
public:
    ShellFixture();
    ~ShellFixture();
    ShellFixture(const ShellFixture&) = delete;
    ShellFixture& operator=(const ShellFixture&) = delete;

    // A fresh program folder, with no message shown yet.
    ModuleFolder& NewFolder();
    // A fresh program folder in the language "Test" (window title "Title") with strings, and no
    // recent file left from an earlier case.
    ModuleFolder& NewFolderInTestLanguage(const std::string& strings);
    ModuleFolder& Folder() const { return *m_Folder; }
    QString FilePath(const std::string& name) const {
        return QString::fromStdString(m_Folder->File(name));
    }

    // Starts the program in the folder, opening files as if named on its command line.
    bool Start(const QStringList& files = {});
    CHalvexApp& App() const { return *m_App; }
    // Switches the running program to the folder's language file, as the Language menu does;
    // false, with the reason printed, when the file is refused.
    bool UseLanguage(const std::string& fileName);
    // Runs command in the main window with act on the modal Dialog it opens; false when no
    // such dialog came.
    template <typename Dialog>
    bool RunWithDialog(int command, std::function<void(Dialog&)> act) {
        NextModal<Dialog> next(std::move(act));
        m_App->MainFrame()->OnCommand(command);
        return next.Shown();
    }
    // The main view's page of class Page, or nullptr.
    template <typename Page>
    Page* FindPage() const {
        for (MainViewPage* page : m_App->MainFrame()->View()->Pages()) {
            if (auto* found = dynamic_cast<Page*>(page)) {
                return found;
            }
        }
        return nullptr;
    }
    // Closes the program; false when an answer or file name queued for it was never used.
    bool Finish();

private:
    UseConfigHome m_ConfigHome;
    std::unique_ptr<ModuleFolder> m_Folder;
    std::unique_ptr<CHalvexApp> m_App;
};

}  // namespace halvex::test
