// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/shell_fixture.h"

#include <QDebug>
#include <QFile>

#include "app/halvex_app.h"
#include "app/recent_files.h"
#include "config/language_files.h"

namespace halvex::test {

bool SeamsDrained() {
    return !MessageBox::HasQueuedAnswers() && !FileDialog::HasQueuedFileNames();
}

ShellFixture::ShellFixture() {
    MessageBox::SetUnattended(true);
    FileDialog::SetUnattended(true);
}

ShellFixture::~ShellFixture() = default;

ModuleFolder& ShellFixture::NewFolder() {
    m_App.reset();
    m_Folder = std::make_unique<ModuleFolder>("halvex_shell");
    MessageBox::ClearShown();
    return *m_Folder;
}

ModuleFolder& ShellFixture::NewFolderInTestLanguage(const std::string& strings) {
    NewFolder();
    QFile::remove(RecentFileList::FilePath());
    m_Folder->WriteSettings({{"language", "test"}});
    m_Folder->Write("test.lang", LanguageFile("Test", "Title", strings));
    return *m_Folder;
}

bool ShellFixture::Start(const QStringList& files) {
    m_App = std::make_unique<CHalvexApp>();
    return m_App->InitInstance(m_Folder->Path(), QStringList{QStringLiteral("halvex")} + files);
}

bool ShellFixture::UseLanguage(const std::string& fileName) {
    std::string error;
    if (!SelectLanguageFile(m_Folder->File(fileName), &error)) {
        qWarning("%s", error.c_str());
        return false;
    }
    m_App->ApplyLanguage();
    return true;
}

bool ShellFixture::Finish() {
    m_App.reset();
    return SeamsDrained();
}

}  // namespace halvex::test
