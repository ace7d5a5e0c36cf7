// SPDX-License-Identifier: GPL-3.0-or-later
// The example radio files File > Open Example offers.
#pragma once

#include <string>
#include <vector>

// The folders examples are looked for in, in order: examples/ in each data folder, then the
// installed documentation's examples beside executableDir.
std::vector<std::string> ExampleFolders(const std::string& executableDir,
                                        const std::vector<std::string>& dataDirs);

// The .pgm files (regular files, also through a link) of folders, sorted by name; a name
// found in an earlier folder hides the same name in later ones. Folders that are missing or
// cannot be read give none.
std::vector<std::string> FindExampleFiles(const std::vector<std::string>& folders);
