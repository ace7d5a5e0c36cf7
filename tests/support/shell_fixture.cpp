// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/shell_fixture.h"

#include "app/halvex_app.h"

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

bool ShellFixture::Start(const QStringList& files) {
    m_App = std::make_unique<CHalvexApp>();
    return m_App->InitInstance(m_Folder->Path(), QStringList{QStringLiteral("halvex")} + files);
}

bool ShellFixture::Finish() {
    m_App.reset();
    return SeamsDrained();
}

}  // namespace halvex::test
