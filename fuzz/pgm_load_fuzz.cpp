// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a .pgm file: opening must never crash, and a document that opened must
// save back exactly the bytes it was given (padded with 0xFF), while one that did not open is
// never bound to the file.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "config/settings.h"
#include "support/quiet_prompts.h"

namespace {

const std::string& ScratchDirectory() {
    static const std::string path = [] {
        std::string pattern = "/tmp/halvex_pgm_fuzz_XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        std::ofstream(pattern + "/setting.ini")
            << "[setup]\nchannelcount=128\n[ModelInfo]\ndata0=6013401700000000\n"
               "data1=601340170040005200220026\ndata2=60134\n";
        return pattern;
    }();
    static const bool removedAtExit =
        std::atexit([] { std::filesystem::remove_all(ScratchDirectory()); }) == 0;
    (void)removedAtExit;
    return path;
}

std::vector<uint8_t> ReadBack(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = ScratchDirectory() + "/input.pgm";
    const std::string output = ScratchDirectory() + "/output.pgm";
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    halvex::test::QuietPrompts prompts;
    CHalvexDoc document(prompts, DocumentSettingsFor(ScratchDirectory() + "/setting.ini", 128));
    std::string error;
    bool opened = document.OnOpenDocument(input, &error);
    Check(opened || (!error.empty() && document.GetPathName().empty()));
    for (int n = 1; n <= kImageChannelCount; ++n) {
        document.GetTransmitText(n);
    }
    const FrequencyLimits& limits = document.GetFrequencyLimits();
    Check(limits.m_FreqMin >= 0 && limits.m_FreqMax < 100000000);

    Check(document.OnSaveDocument(output, &error));
    std::vector<uint8_t> saved = ReadBack(output);
    Check(saved.size() == kPgmFileSize);
    if (opened && size >= kPgmHeaderSize) {
        size_t kept = std::min(size, kPgmFileSize);
        Check(std::equal(data, data + kept, saved.begin()));
        Check(std::all_of(saved.begin() + static_cast<std::ptrdiff_t>(kept), saved.end(),
                          [](uint8_t byte) { return byte == 0xFF; }));
    }
    document.EditImage().PrepareImage();
    document.ChangeFrequencyRange(document.FindModelLine());
    return 0;
}
