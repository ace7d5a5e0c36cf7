// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace halvex::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. A folder that cannot be made stops the test program: every case after it
// would otherwise write into a path that is not there.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "halvex_test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string File(std::string_view name) const { return m_Path + "/" + std::string(name); }
    // Writes contents to the named file and gives its path; a file that cannot be written
    // stops the test program too.
    std::string Write(std::string_view name, std::string_view contents) const;

private:
    std::string m_Path;
};

// The whole file, or nothing when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace halvex::test
