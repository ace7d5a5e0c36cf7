// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text as a radio's text form: apply either lists errors, leaving the document
// untouched, or stores an image whose own dump applies again to the same bytes and text, with
// no value stored otherwise than the dump wrote it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/quiet_prompts.h"
#include "textform/radio_text.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
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
    const auto header = document.Header();
    std::vector<TextError> errors;
    if (!ApplyRadioText(text, false, &document, &errors)) {
        Require(!errors.empty());
        Require(document.Image().bytes == before && document.Header() == header);
        return 0;
    }
    Require(errors.empty());
    const std::string dumped = DumpRadioText(document);
    CHalvexDoc again(prompts, settings);
    again.OnNewDocument(true);
    // A dump writes what the document shows, so applying it changes no value.
    std::vector<TextError> notes;
    Require(ApplyRadioText(dumped, false, &again, &errors, &notes) && notes.empty());
    Require(again.Image().bytes == document.Image().bytes && again.Header() == document.Header());
    Require(DumpRadioText(again) == dumped);
    return 0;
}
