// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "support/file_dialog.h"
#include "support/message_box.h"
#include "support/module_folder.h"
#include "support/program_globals.h"

class CHalvexApp;

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
    ModuleFolder& Folder() const { return *m_Folder; }
    QString FilePath(const std::string& name) const {
        return QString::fromStdString(m_Folder->File(name));
    }

    // Starts the program in the folder, opening files as if named on its command line.
    bool Start(const QStringList& files = {});
    CHalvexApp& App() const { return *m_App; }
    // Closes the program; false when an answer or file name queued for it was never used.
    bool Finish();

private:
    UseConfigHome m_ConfigHome;
    std::unique_ptr<ModuleFolder> m_Folder;
    std::unique_ptr<CHalvexApp> m_App;
};

}  // namespace halvex::test
