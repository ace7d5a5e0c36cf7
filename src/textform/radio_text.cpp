// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/radio_text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

#include "codeplug/band_lines.h"
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
    std::copy(document.m_Header.begin(), document.m_Header.end(), bytes.begin());
    std::copy(document.bytes.begin(), document.bytes.end(), bytes.begin() + kPgmHeaderSize);
    return bytes;
}

void Overlay(const std::vector<ReservedRun>& runs, CHalvexDoc* document) {
    for (const ReservedRun& run : runs) {
        uint8_t* target = run.inHeader ? document->m_Header.data() : document->bytes.data();
        std::copy(run.bytes.begin(), run.bytes.end(), target + run.offset);
    }
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

void MakeFresh(int band, CHalvexDoc* document) {
    document->DeleteContents();
    document->ApplyModelLine(band);
}

}  // namespace

std::string DumpRadioText(const CHalvexDoc& document) {
    RadioValues values = ExtractRadioValues(document);
    const int band = document.FindModelLine();
    const FileBytes target = BytesOf(document);
    NoPrompts prompts;
    CHalvexDoc fresh(prompts, FreshSettings(document));
    MakeFresh(band, &fresh);
    const FileBytes freshBytes = BytesOf(fresh);
    std::vector<bool> kept(kPgmFileSize, false);
    for (int attempt = 0;; ++attempt) {
        values.reserved = RunsOf(kept, target);
        CHalvexDoc rebuilt(fresh);
        Overlay(values.reserved, &rebuilt);
        std::vector<TextError> ignored;
        ApplyRadioValues(values, rebuilt, &ignored);
        const FileBytes bytes = BytesOf(rebuilt);
        bool same = true;
        for (size_t position = 0; position < kPgmFileSize; ++position) {
            if (bytes[position] != target[position]) {
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
                kept[position] = kept[position] || freshBytes[position] != target[position];
            }
            values.reserved = RunsOf(kept, target);
            break;
        }
    }
    return EmitRadioText(values, document.GetFrequencyLimits());
}

bool ApplyRadioText(std::string_view text, bool into, CHalvexDoc* document,
                    std::vector<TextError>* errors) {
    RadioValues values;
    if (!ParseRadioText(text, &values, errors)) {
        return false;
    }
    NoPrompts prompts;
    CHalvexDoc result(prompts, FreshSettings(*document));
    std::optional<int> band = BandOf(values, *document, errors);
    if (into) {
        result.m_Header = document->m_Header;
        result.bytes = document->bytes;
        result.ComputeFrequencyLimits();
        const int baseBand = result.FindModelLine();
        if (band && values.band && *band != baseBand) {
            errors->push_back({values.band->place, "band",
                               Quoted(values.band->text) + " is not the band of the file it " +
                                   "goes into (" + std::to_string(baseBand) +
                                   "); a new band needs a new document"});
        }
    } else if (band) {
        MakeFresh(*band, &result);
    }
    if (!errors->empty()) {
        return false;
    }
    Overlay(values.reserved, &result);
    ApplyRadioValues(values, result, errors);
    if (!errors->empty()) {
        std::stable_sort(errors->begin(), errors->end(),
                         [](const TextError& a, const TextError& b) {
                             return std::pair(a.place.line, a.place.column) <
                                    std::pair(b.place.line, b.place.column);
                         });
        return false;
    }
    document->m_Header = result.m_Header;
    document->bytes = result.bytes;
    document->RefreshLimitsAndViews();
    document->SetModifiedFlag();
    return true;
}

std::string TextErrorLine(const std::string& sourceName, const TextError& error) {
    std::string line = sourceName;
    line += ':';
    line += std::to_string(error.place.line);
    line += ':';
    line += std::to_string(error.place.column);
    line += ": ";
    if (!error.path.empty()) {
        line += error.path;
        line += ": ";
    }
    line += error.message;
    return line;
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
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    std::array<char, 4096> buffer{};
    text->clear();
    while (file.read(buffer.data(), buffer.size()) || file.gcount() > 0) {
        text->append(buffer.data(), static_cast<size_t>(file.gcount()));
        if (text->size() > kLargestRadioText) {
            *error = path + " is too large to be a radio's configuration";
            return false;
        }
    }
    if (file.bad()) {
        *error = "cannot read " + path;
        return false;
    }
    return true;
}
