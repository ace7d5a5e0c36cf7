// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop and command-line link tests share: the virtual radio's settings and memory,
// and a programs' folder the globals point at.
#pragma once

#include <string>

#include "support/program_globals.h"
#include "support/virtual_radio_fixture.h"

using halvex::test::LinkSettings;
using halvex::test::PatternMemory;
using halvex::test::Setting;

// The programs' folder of the desktop and command-line link tests; the globals point at it
// while it lives.
class TemporaryModuleDir : public halvex::test::ModuleFolder {
public:
    explicit TemporaryModuleDir(const std::string& name)
        : ModuleFolder("halvex-" + name), m_Globals(*this) {}

private:
    halvex::test::UseModuleFolder m_Globals;
};
