// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/channel_fixture.h"

#include "common/message_box.h"
#include "config/app_globals.h"
#include "config/settings.h"

namespace halvex::test {

ChannelFixture::ChannelFixture(const std::vector<std::string>& files)
    : m_Folder("halvex_channels") {
    m_Folder.CopyFromBin(files);
}

bool ChannelFixture::Start(std::string* error) {
    MessageBox::SetUnattended(true);
    if (!LoadStartupSettings(m_Folder.Path(), error)) {
        return false;
    }
    SetLanguageName("english");
    return true;
}

std::unique_ptr<CHalvexDoc> ChannelFixture::NewDocument() {
    auto document = std::make_unique<CHalvexDoc>(m_Prompts, StartupDocumentSettings());
    if (!document->OnNewDocument(true)) {
        return nullptr;
    }
    document->SetModifiedFlag(false);
    return document;
}

}  // namespace halvex::test
