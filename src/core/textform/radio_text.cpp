// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/radio_text.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "codeplug/band_lines.h"
#include "codeplug/channel_row_ops.h"
#include "codeplug/ptt_id_code.h"
#include "codeplug/radio_options.h"
#include "platform/file_status.h"
#include "textform/radio_text_emit.h"
#include "textform/radio_text_parse.h"

namespace {

// Tries before a dump keeps every differing byte: each try keeps the bytes the values alone
// did not give back, and a value kept that way is no longer stored over them.
constexpr int kReservedTries = 4;

class NoPrompts : public DocumentPrompts {
public:
    bool AskOkCancel(const DocumentMessage&) override { return true; }
    void ShowStopMessage(const DocumentMessage&) override {}
    std::optional<std::string> AskSavePath() override { return std::nullopt; }
};

// The .pgm file as one run of bytes, header first, so that reserved bytes have one address.
using FileBytes = std::array<uint8_t, kPgmFileSize>;

FileBytes BytesOf(const CHalvexDoc& document) {
    FileBytes bytes{};
    std::copy(document.Header().begin(), document.Header().end(), bytes.begin());
    std::copy(document.Image().bytes.begin(), document.Image().bytes.end(),
              bytes.begin() + kPgmHeaderSize);
    return bytes;
}

void Overlay(const std::vector<ReservedRun>& runs, CHalvexDoc* document) {
    std::array<uint8_t, kPgmHeaderSize> header = document->Header();
    for (const ReservedRun& run : runs) {
        uint8_t* target = run.inHeader ? header.data() : document->EditImage().bytes.data();
        std::copy(run.bytes.begin(), run.bytes.end(), target + run.offset);
    }
    document->SetHeader(header);
}

// A fresh document covers all 128 channels whatever the settings show, so a text means the
// same under any channel count.
DocumentSettings FreshSettings(const CHalvexDoc& document) {
    DocumentSettings settings = document.GetSettings();
    settings.channelCount = kImageChannelCount;
    return settings;
}

std::vector<ReservedRun> RunsOf(const std::vector<bool>& kept, const FileBytes& bytes) {
    std::vector<ReservedRun> runs;
    if (std::find(kept.begin(), kept.begin() + kPgmHeaderSize, true) !=
        kept.begin() + kPgmHeaderSize) {
        runs.push_back({true, 0, {bytes.begin(), bytes.begin() + kPgmHeaderSize}, {}});
    }
    for (size_t position = kPgmHeaderSize; position < kPgmFileSize; ++position) {
        if (!kept[position]) {
            continue;
        }
        const size_t offset = position - kPgmHeaderSize;
        if (runs.empty() || runs.back().inHeader ||
            runs.back().offset + runs.back().bytes.size() != offset) {
            runs.push_back({false, offset, {}, {}});
        }
        runs.back().bytes.push_back(bytes[position]);
    }
    return runs;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    quoted += text;
    quoted += "'";
    return quoted;
}

// The band line of the text, checked against the settings; nothing after an error.
std::optional<int> BandOf(const RadioValues& values, const CHalvexDoc& document,
                          std::vector<TextError>* errors) {
    if (!values.band) {
        return 0;
    }
    int band = -1;
    const std::string& text = values.band->text;
    if (text.size() <= 2 && !text.empty() &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        band = std::stoi(text);
    }
    const DocumentSettings& settings = document.GetSettings();
    std::optional<std::string> line;
    if (band >= 0 && band < kBandLineCount && settings.bandLines) {
        line = settings.bandLines(band, kBandLineMatchBufferSize);
    }
    if (band == 0 || (line && IsUsableBandLine(*line))) {
        return band;
    }
    errors->push_back({values.band->place, "band",
                       Quoted(text) + " is not a usable band line of the settings; allowed: " +
                           "0 and the numbers of the band lines with data"});
    return std::nullopt;
}

bool SameTexts(const TextFields& left, const TextFields& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](const auto& a, const auto& b) {
                          return a.first == b.first && a.second.text == b.second.text;
                      });
}

// Where a kept byte changed what an item the text names shows, the item's stored value wins:
// the byte belonged to the value the user replaced.
void KeepNamedValues(const RadioValues& values, const CHalvexDoc& stored, CHalvexDoc* document) {
    // Only a channel some kept byte falls into can have changed.
    std::array<bool, kImageChannelCount + 1> touched{};
    for (const ReservedRun& run : values.reserved) {
        for (size_t offset = run.offset; !run.inHeader && offset < run.offset + run.bytes.size();
             ++offset) {
            if (const std::optional<int> n = RadioImage::ChannelAt(offset)) {
                touched[static_cast<size_t>(*n)] = true;
            }
        }
    }
    for (const auto& [n, entry] : values.channels) {
        if (!touched[static_cast<size_t>(n)]) {
            continue;
        }
        if (stored.Image().IsChannelEmpty(n) != document->Image().IsChannelEmpty(n) ||
            !SameTexts(RecordFields(stored, n, false), RecordFields(*document, n, false))) {
            document->EditImage().SetRecord(n, stored.Image().GetRecord(n));
            document->EditImage().SetChannelNameBytes(n, stored.Image().GetChannelNameBytes(n));
        }
    }
    for (size_t vfo = 0; vfo < values.vfos.size(); ++vfo) {
        const int record = kVfoRecords[vfo];
        if (values.vfos[vfo] &&
            !SameTexts(RecordFields(stored, record, true), RecordFields(*document, record, true))) {
            document->EditImage().SetRecord(record, stored.Image().GetRecord(record));
        }
    }
    for (size_t k = 0; k < kRadioOptions.size(); ++k) {
        const RadioOptionDefinition& option = kRadioOptions[k];
        if (values.options.count(OptionKey(k)) != 0 &&
            option.value(stored.Image()) != option.value(document->Image())) {
            option.store(document->EditImage(), option.value(stored.Image()));
        }
    }
    if (values.options.count(kPttIdCodeKey) != 0 &&
        PttIdCodeText(stored.Image().GetPttIdCode()) !=
            PttIdCodeText(document->Image().GetPttIdCode())) {
        document->EditImage().SetPttIdCode(stored.Image().GetPttIdCode());
    }
    auto keepWord = [&](size_t base, int k) {
        if (stored.Image().GetWord(base, k) != document->Image().GetWord(base, k)) {
            document->EditImage().SetWord(base, k, stored.Image().GetWord(base, k));
        }
    };
    if (values.fmFrequency) {
        keepWord(kFmFrequencyOffset, 1);
    }
    for (const auto& [preset, value] : values.fmPresets) {
        keepWord(kFmPresetBase, preset);
    }
}

// Only the channels the text leaves empty: a channel it names starts as a new document's.
void FillEmptyChannels(const RadioValues& values, CHalvexDoc* document) {
    if (!values.emptyChannel) {
        return;
    }
    for (int n = 1; n <= kImageChannelCount; ++n) {
        if (values.channels.count(n) == 0 && document->Image().IsChannelEmpty(n)) {
            WriteChannelSlot(document->EditImage(), n, *values.emptyChannel);
        }
    }
}

// The bytes most empty channels share, when they are not what a new document gives them.
std::optional<ChannelSlot> CommonEmptyChannel(const CHalvexDoc& document, const CHalvexDoc& fresh) {
    const ChannelSlot freshSlot = ReadChannelSlot(fresh.Image(), 1);
    std::vector<std::pair<ChannelSlot, int>> counts = {{freshSlot, 0}};
    for (int n = 1; n <= kImageChannelCount; ++n) {
        if (!document.Image().IsChannelEmpty(n)) {
            continue;
        }
        ChannelSlot slot = ReadChannelSlot(document.Image(), n);
        slot.emptyBit = freshSlot.emptyBit;
        auto found = std::find_if(counts.begin(), counts.end(),
                                  [&slot](const auto& count) { return count.first == slot; });
        if (found == counts.end()) {
            counts.emplace_back(slot, 1);
        } else {
            ++found->second;
        }
    }
    // The first of the most shared, so a tie keeps the new document's and the text says less.
    auto common = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
    });
    if (common == counts.begin()) {
        return std::nullopt;
    }
    return common->first;
}

// The kept bytes go in before the values, so a value that reads the same is not stored over
// them, and again after, where a commit rule rewrote a byte the value does not show.
void StoreValues(const RadioValues& values, CHalvexDoc* document, std::vector<TextError>* errors) {
    FillEmptyChannels(values, document);
    Overlay(values.reserved, document);
    ApplyRadioValues(values, *document, errors);
    if (values.reserved.empty()) {
        return;
    }
    const CHalvexDoc stored(*document);
    Overlay(values.reserved, document);
    KeepNamedValues(values, stored, document);
}

void InTextOrder(std::vector<TextError>* errors) {
    std::stable_sort(errors->begin(), errors->end(), [](const TextError& a, const TextError& b) {
        return std::pair(a.place.line, a.place.column) < std::pair(b.place.line, b.place.column);
    });
}

// What Save and Write store: the values, then the areas derived from them.
void Rebuild(const RadioValues& values, CHalvexDoc* document, std::vector<TextError>* errors) {
    StoreValues(values, document, errors);
    document->EditImage().PrepareImage();
}

void MakeFresh(int band, CHalvexDoc* document) {
    document->DeleteContents();
    document->ApplyModelLine(band);
}

// A channel the text's channel table leaves out is emptied as the table's own clear does; one
// already empty keeps its bytes.
void EmptyChannelsLeftOut(const RadioValues& values, CHalvexDoc* document) {
    if (!values.channelsGiven) {
        return;
    }
    for (int n = 1; n <= kImageChannelCount; ++n) {
        if (values.channels.count(n) == 0 && !document->Image().IsChannelEmpty(n)) {
            WriteChannelSlot(document->EditImage(), n, EmptyChannelSlot());
        }
    }
}

}  // namespace

std::string DumpRadioText(const CHalvexDoc& document) {
    // The derived areas are what the next save or write makes of them, so no text keeps them.
    CHalvexDoc prepared(document);
    prepared.EditImage().PrepareImage();
    RadioValues values = ExtractRadioValues(prepared);
    const int band = prepared.FindModelLine();
    const FileBytes target = BytesOf(prepared);
    NoPrompts prompts;
    CHalvexDoc fresh(prompts, FreshSettings(document));
    MakeFresh(band, &fresh);
    fresh.EditImage().PrepareImage();
    values.emptyChannel = CommonEmptyChannel(prepared, fresh);
    const FileBytes freshBytes = BytesOf(fresh);
    std::vector<bool> kept(kPgmFileSize, false);
    auto keepable = [&prepared](size_t position) {
        return position < kPgmHeaderSize ||
               !prepared.Image().IsDerivedByte(position - kPgmHeaderSize);
    };
    for (int attempt = 0;; ++attempt) {
        values.reserved = RunsOf(kept, target);
        CHalvexDoc rebuilt(fresh);
        std::vector<TextError> ignored;
        Rebuild(values, &rebuilt, &ignored);
        const FileBytes bytes = BytesOf(rebuilt);
        bool same = true;
        for (size_t position = 0; position < kPgmFileSize; ++position) {
            if (bytes[position] != target[position] && keepable(position)) {
                kept[position] = true;
                same = false;
            }
        }
        if (same) {
            break;
        }
        // Keeping every byte that differs from a fresh document leaves no value to store.
        if (attempt == kReservedTries) {
            for (size_t position = 0; position < kPgmFileSize; ++position) {
                kept[position] = kept[position] ||
                                 (freshBytes[position] != target[position] && keepable(position));
            }
            values.reserved = RunsOf(kept, target);
            break;
        }
    }
    return EmitRadioText(values, prepared.GetFrequencyLimits());
}

bool PreviewRadioText(std::string_view text, bool into, const CHalvexDoc& document,
                      RadioTextResult* preview, std::vector<TextError>* errors,
                      std::vector<TextError>* notes) {
    RadioValues values;
    if (!ParseRadioText(text, &values, errors)) {
        return false;
    }
    NoPrompts prompts;
    CHalvexDoc result(prompts, FreshSettings(document));
    std::optional<int> band = BandOf(values, document, errors);
    if (into) {
        result.SetHeader(document.Header());
        result.EditImage().bytes = document.Image().bytes;
        result.ComputeFrequencyLimits();
        const int baseBand = result.FindModelLine();
        if (band && values.band && *band != baseBand) {
            errors->push_back({values.band->place, "band",
                               Quoted(values.band->text) + " is not the band of the file it " +
                                   "goes into (" + std::to_string(baseBand) +
                                   "); a new band needs a new document"});
        }
        EmptyChannelsLeftOut(values, &result);
    } else {
        // Values are still checked against some band, so that every error is listed at once.
        MakeFresh(band.value_or(0), &result);
    }
    Rebuild(values, &result, errors);
    if (!errors->empty()) {
        InTextOrder(errors);
        return false;
    }
    if (notes != nullptr) {
        ReportStoredValues(values, result, notes);
        InTextOrder(notes);
    }
    preview->header = result.Header();
    preview->image = result.Image().bytes;
    return true;
}

bool ApplyRadioText(std::string_view text, bool into, CHalvexDoc* document,
                    std::vector<TextError>* errors, std::vector<TextError>* notes) {
    RadioTextResult result;
    if (!PreviewRadioText(text, into, *document, &result, errors, notes)) {
        return false;
    }
    document->SetHeader(result.header);
    document->EditImage().bytes = result.image;
    document->RefreshLimitsAndViews();
    document->SetModifiedFlag();
    return true;
}

std::string TextErrorLine(const std::string& sourceName, const TextError& error) {
    std::string line = sourceName;
    if (error.place.line > 0) {
        line += ':';
        line += std::to_string(error.place.line);
        line += ':';
        line += std::to_string(error.place.column);
    }
    line += ": ";
    if (!error.path.empty()) {
        line += error.path;
        line += ": ";
    }
    line += error.message;
    return line;
}

std::vector<std::string> TextErrorLines(const std::string& sourceName,
                                        const std::vector<TextError>& errors, size_t shown) {
    std::vector<std::string> lines;
    for (size_t index = 0; index < errors.size() && index < shown; ++index) {
        lines.push_back(TextErrorLine(sourceName, errors[index]));
    }
    if (errors.size() > shown) {
        lines.push_back(sourceName + ": and " + std::to_string(errors.size() - shown) + " more");
    }
    return lines;
}

bool IsRadioTextPath(const std::string& path) {
    auto endsWith = [&path](std::string_view ending) {
        return path.size() > ending.size() &&
               std::equal(ending.rbegin(), ending.rend(), path.rbegin(), [](char a, char b) {
                   return a == std::tolower(static_cast<unsigned char>(b));
               });
    };
    return endsWith(".yaml") || endsWith(".yml");
}

bool ReadRadioTextFile(const std::string& path, std::string* text, std::string* error) {
    return ReadFileToEnd(path, kLargestRadioText, "a radio's configuration", text, error);
}
