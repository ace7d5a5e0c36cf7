// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_words.h"

#include <cstdlib>
#include <utility>

#include "config/language.h"

namespace {

// Names and texts never hold these control characters, so they can separate the parts.
constexpr char kPageStepMark = '\x02';
constexpr char kPartSeparator = '\x1f';
constexpr char kFillerSeparator = '\x1e';
constexpr char kControlTag = 'C';
constexpr char kTextTag = 'K';

void Fill(std::string& text, const std::string& mark, const std::string& value) {
    const size_t at = text.find(mark);
    if (at != std::string::npos) {
        text.replace(at, mark.size(), value);
    }
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string PartText(const std::string& encoded) {
    if (encoded.empty()) {
        return {};
    }
    const std::string payload = encoded.substr(1);
    if (encoded[0] == kControlTag) {
        return ControlLabel(std::atoi(payload.c_str()));
    }
    const std::vector<std::string> pieces = Split(payload, kFillerSeparator);
    std::string text = LoadLangString(pieces[0]);
    if (pieces.size() > 1) {
        Fill(text, "%1", pieces[1]);
    }
    return text;
}

}  // namespace

std::string ClampNote(const std::optional<FrequencyClamp>& clamp) {
    if (!clamp) {
        return {};
    }
    // %1 the entry, %2 and %3 the band's limits, %4 what was stored.
    std::string text = LoadLangString(clamp->above ? "IDS_CLAMP_HIGH" : "IDS_CLAMP_LOW");
    for (const auto& [mark, value] :
         {std::pair{"%1", clamp->entry}, std::pair{"%2", clamp->lowest},
          std::pair{"%3", clamp->highest}, std::pair{"%4", clamp->stored}}) {
        Fill(text, mark, value);
    }
    return text;
}

StepPart ControlPart(int controlId) {
    return {controlId, {}, {}};
}

StepPart TextPart(std::string key, std::string filler) {
    return {0, std::move(key), std::move(filler)};
}

std::string PageStepName(const std::string& key, const std::vector<StepPart>& parts) {
    std::string name = std::string(1, kPageStepMark) + key;
    for (const StepPart& part : parts) {
        name += kPartSeparator;
        name += part.key.empty() ? kControlTag + std::to_string(part.controlId)
                                 : kTextTag + part.key + kFillerSeparator + part.filler;
    }
    return name;
}

bool IsPageStepName(const std::string& name) {
    return !name.empty() && name[0] == kPageStepMark;
}

std::string PageStepText(const std::string& name) {
    const std::vector<std::string> parts = Split(name.substr(1), kPartSeparator);
    std::string text = LoadLangString(parts[0]);
    for (size_t k = 1; k < parts.size(); ++k) {
        Fill(text, "%" + std::to_string(k), PartText(parts[k]));
    }
    return text;
}

std::string ControlLabel(int controlId) {
    std::string text;
    for (const char character : LoadResourceText(controlId)) {
        if (character != '&') {
            text += character;
        }
    }
    // The ASCII colon and the full-width one of the Chinese files.
    for (const std::string colon : {":", "\xEF\xBC\x9A"}) {
        while (text.ends_with(colon)) {
            text.erase(text.size() - colon.size());
        }
    }
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}
