// SPDX-License-Identifier: GPL-3.0-or-later
// The factory test values: items are numbered by the language file, and the radio keeps
// them in three runs of the 64-byte test region, the adjust banks first.
#include "codeplug/radio_image.h"

#include <optional>

namespace {

constexpr int kAdjustItemCount = 32;
constexpr int kFirstMiddleRunItem = 42;
constexpr size_t kLowRunBase = 0x0FA0;
constexpr size_t kMiddleRunBase = 0x0FA6;

// Items past the last one would address bytes after the test region.
std::optional<size_t> TestItemOffset(int item) {
    if (!RadioImage::IsTestItem(item)) {
        return std::nullopt;
    }
    const auto index = static_cast<size_t>(item);
    if (item < kAdjustItemCount) {
        return kAdjustBankOffset + index;
    }
    if (item < kFirstMiddleRunItem) {
        return kLowRunBase + index;
    }
    return kMiddleRunBase + index;
}

}  // namespace

bool RadioImage::IsTestItem(int item) {
    return item >= 0 && item < kTestItemCount;
}

int RadioImage::GetTestItem(int item) const {
    const std::optional<size_t> offset = TestItemOffset(item);
    return offset ? bytes[*offset] : 0xFF;
}

void RadioImage::SetTestItem(int item, int value) {
    if (const std::optional<size_t> offset = TestItemOffset(item)) {
        bytes[*offset] = static_cast<uint8_t>(value);
    }
}
