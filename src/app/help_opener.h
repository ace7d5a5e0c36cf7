// SPDX-License-Identifier: GPL-3.0-or-later
// Hands a help file to the desktop's opener. Tests replace the opener to see what would open.
#pragma once

#include <functional>
#include <string>

class HelpOpener {
public:
    using Opener = std::function<bool(const std::string& path)>;

    // Opens the file in the user's browser; onFailure runs, possibly later, when no program
    // could show it (no opener, or the opener found no browser).
    static void Open(const std::string& path, std::function<void()> onFailure);
    // An empty opener restores the desktop's.
    static void SetOpener(Opener opener);

private:
    static Opener& Replacement();
};
