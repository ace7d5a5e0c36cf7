// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "support/module_folder.h"
#include "support/quiet_prompts.h"

namespace halvex::test {

// What the channel page and FM preset tests share: the shipped settings and English texts
// loaded from a program folder of their own, message boxes that never wait for a user, and new
// documents whose questions answer themselves.
class ChannelFixture {
public:
    explicit ChannelFixture(const std::vector<std::string>& files = {"setting.ini",
                                                                     "english.lang"});

    // Loads the folder's settings and the English texts; false with the reason when it cannot.
    bool Start(std::string* error);
    ModuleFolder& Folder() { return m_Folder; }

    // A new document with nothing changed yet, or none when it cannot be made. The fixture
    // must outlive it.
    std::unique_ptr<CHalvexDoc> NewDocument();

private:
    ModuleFolder m_Folder;
    QuietPrompts m_Prompts;
};

}  // namespace halvex::test
