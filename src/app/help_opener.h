// Hands a help file to the desktop's opener. Tests replace the opener to see what would open.
#pragma once

#include <functional>
#include <string>

class HelpOpener {
public:
    using Opener = std::function<bool(const std::string& path)>;

    // False when the desktop has no program for the file.
    static bool Open(const std::string& path);
    // An empty opener restores the desktop's.
    static void SetOpener(Opener opener);

private:
    static Opener& Replacement();
};
