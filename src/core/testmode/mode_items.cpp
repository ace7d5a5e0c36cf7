// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/mode_items.h"

#include "config/language.h"
#include "link/clone_frames.h"

namespace {

constexpr int kBankSize = 16;
constexpr int kLowBankAddress = static_cast<int>(kAdjustBankOffset);
constexpr int kHighBankAddress = kLowBankAddress + kBankSize;
constexpr uint8_t kAdjustCount = 0x10;

}  // namespace

std::vector<std::string> LoadTestItemNames(const std::string& languagePath) {
    std::vector<std::string> names = LoadLangList(languagePath, "TestData");
    if (names.size() > static_cast<size_t>(kTestItemCount)) {
        names.resize(kTestItemCount);
    }
    return names;
}

std::string TestItemLine(const std::string& name, int value) {
    return name + "-(" + std::to_string(value) + ")";
}

std::vector<std::string> TestItemLines(const std::vector<std::string>& names,
                                       const RadioImage& image) {
    std::vector<std::string> lines;
    lines.reserve(names.size());
    for (size_t item = 0; item < names.size(); ++item) {
        lines.push_back(TestItemLine(names[item], image.GetTestItem(static_cast<int>(item))));
    }
    return lines;
}

std::optional<AdjustFrame> BuildAdjustFrame(int item, int value) {
    if (item < 0 || item >= kAdjustableItemCount) {
        return std::nullopt;
    }
    const bool highBank = item >= kBankSize;
    const int bank = highBank ? kHighBankAddress : kLowBankAddress;
    AdjustFrame frame;
    // Past the item's number and bank the radio reads nothing; 0xFF is what it expects
    // in unused bytes everywhere else.
    frame.fill(0xFF);
    clone_frames::SetFrameHead(frame.data(), clone_frames::kAdjustCommand, bank, kAdjustCount);
    frame[4] = static_cast<uint8_t>(value);
    frame[5] = static_cast<uint8_t>(highBank ? item - kBankSize : item);
    frame[6] = highBank ? 0x01 : 0x00;
    return frame;
}
