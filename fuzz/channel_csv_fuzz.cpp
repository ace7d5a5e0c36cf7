// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a channel list: the reader either refuses them, leaving the document
// untouched, or imports them into channels the table itself could have made, which export
// and import again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codeplug/document.h"
#include "editors/channel_csv.h"
#include "support/quiet_prompts.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool SameChannels(const CHalvexDoc& left, const CHalvexDoc& right) {
    const auto records = left.Image().bytes.begin() + static_cast<ptrdiff_t>(kChannelRecordBase);
    const auto names = left.Image().bytes.begin() + static_cast<ptrdiff_t>(kChannelNameBase);
    return std::equal(records, records + 16 * 129,
                      right.Image().bytes.begin() + static_cast<ptrdiff_t>(kChannelRecordBase)) &&
           std::equal(names, names + 5 * 128,
                      right.Image().bytes.begin() + static_cast<ptrdiff_t>(kChannelNameBase));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // No band lines: the documents take the 100-520 MHz fallback band.
    const DocumentSettings settings{{}, 128};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    halvex::test::QuietPrompts prompts;
    CHalvexDoc document(prompts, settings);
    document.OnNewDocument(true);
    const auto before = document.Image().bytes;
    ChannelImportResult result;
    std::string error;
    if (!ImportChannelCsv(text, document, 128, ChannelImportMode::Replace, EnglishWording, &result,
                          &error)) {
        Require(!error.empty());
        Require(document.Image().bytes == before);
        return 0;
    }
    Require(result.importedRows >= 0 && result.importedRows <= 128);
    std::vector<std::string> notes;
    const std::string csv = ExportChannelCsv(document, 128, EnglishWording, &notes);
    // Only the cross modes that older readers lack are noted for channels an import made.
    for (const std::string& note : notes) {
        Require(note.find("need the CrossMode column") != std::string::npos);
    }
    CHalvexDoc again(prompts, settings);
    again.OnNewDocument(true);
    ChannelImportResult second;
    Require(ImportChannelCsv(csv, again, 128, ChannelImportMode::Replace, EnglishWording, &second,
                             &error));
    Require(second.losses.empty());
    Require(SameChannels(document, again));
    return 0;
}
