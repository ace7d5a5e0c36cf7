#pragma once

#include <string>

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
    std::string File(const std::string& name) const { return m_Path + "/" + name; }

private:
    std::string m_Path;
};

}  // namespace halvex::test
