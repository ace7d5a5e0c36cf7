// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a settings or language file: every read must return, and a write must
// either succeed and read back or fail with a message, leaving the file as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "config/language.h"
#include "config/setting_definitions.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"
#include "support/program_globals.h"

namespace {

const std::string& ScratchFile() {
    static const std::string path = [] {
        std::string pattern = "/tmp/halvex_profile_fuzz_XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern + "/setting.ini";
    }();
    static const bool removedAtExit = [] {
        return std::atexit([] {
                   std::remove(path.c_str());
                   std::remove(path.substr(0, path.rfind('/')).c_str());
               }) == 0;
    }();
    (void)removedAtExit;
    return path;
}

std::string ReadBack(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& path = ScratchFile();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

    for (std::string_view section : {"setup", "String", "ScanType", ""}) {
        for (std::string_view key : {"com", "language", "IDS_WINDOWNAME", "0", "1", ""}) {
            std::string value = ReadProfileString(path, section, key, "default", 30);
            if (value.size() > 29) {
                std::abort();
            }
        }
    }
    for (const IntSetting* setting : settings::kIntSettings) {
        const int value = setting->Read(path);
        if (value < setting->minimum || value > setting->maximum) {
            std::abort();
        }
    }
    halvex::test::UseLanguagePath language(path);
    LoadLangString("IDS_WINDOWNAME");
    LoadLangList("ScanType");
    LoadResourceText(2);
    if (!IsValidUtf8(LoadLangText(path, "String", "IDS_WINDOWNAME", "", 100))) {
        std::abort();
    }

    // The first bytes choose the key and value written, so writes see odd names too.
    std::string key(bytes.substr(0, std::min<size_t>(size, 4)));
    std::string value(bytes.substr(std::min<size_t>(size, 4), 8));
    std::string error;
    if (WriteProfileString(path, "setup", key, value, &error)) {
        if (ReadProfileString(path, "setup", key, "", 260) != value) {
            std::abort();
        }
    } else if (error.empty() || ReadBack(path) != bytes) {
        std::abort();
    }
    return 0;
}
