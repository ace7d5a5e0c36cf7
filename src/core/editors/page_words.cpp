// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/page_words.h"

#include <cstdlib>

#include "codeplug/channel_columns.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "testmode/mode_items.h"

namespace {

// Names and texts never hold these control characters, so they can separate the parts.
constexpr char kNameMark = '\x01';
constexpr char kPartSeparator = '\x1f';
constexpr char kInnerSeparator = '\x1e';

constexpr char kLiteral = 'T';
constexpr char kControl = 'C';
constexpr char kLanguageText = 'K';
constexpr char kColumn = 'H';
constexpr char kTestItem = 'I';

// White space as the desktop's toolkit trims it, in UTF-8: French puts a no-break space
// before its colons, Chinese may pad with the ideographic space.
constexpr std::string_view kSpaces[] = {" ",  "\t",       "\n",           "\v",          "\f",
                                        "\r", "\xC2\xA0", "\xE2\x80\xAF", "\xE3\x80\x80"};
constexpr std::string_view kColons[] = {":", "\xEF\xBC\x9A"};

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (;;) {
        const size_t end = text.find(separator);
        parts.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(end + 1);
    }
}

template <size_t N>
bool StripEnd(std::string& text, const std::string_view (&endings)[N]) {
    for (std::string_view ending : endings) {
        if (text.ends_with(ending)) {
            text.erase(text.size() - ending.size());
            return true;
        }
    }
    return false;
}

template <size_t N>
bool StripStart(std::string& text, const std::string_view (&starts)[N]) {
    for (std::string_view start : starts) {
        if (text.starts_with(start)) {
            text.erase(0, start.size());
            return true;
        }
    }
    return false;
}

std::string TestItemName(int index) {
    const std::vector<std::string> names = LoadTestItemNames(g_LanguagePath);
    return index >= 0 && index < static_cast<int>(names.size()) ? names[size_t(index)]
                                                                : std::to_string(index);
}

std::string PartText(const std::string& encoded) {
    if (encoded.empty()) {
        return {};
    }
    const std::string payload = encoded.substr(1);
    switch (encoded.front()) {
        case kControl:
            return ControlLabelText(std::atoi(payload.c_str()));
        case kColumn:
            return ChannelHeaderText(std::atoi(payload.c_str()));
        case kTestItem:
            return TestItemName(std::atoi(payload.c_str()));
        case kLanguageText: {
            std::vector<std::string> pieces = Split(payload, kInnerSeparator);
            const std::string key = pieces.front();
            pieces.erase(pieces.begin());
            return FillPlaces(LoadLangString(key), pieces);
        }
        default:
            return payload;
    }
}

}  // namespace

StepPart StepPart::Literal(std::string_view text) {
    return StepPart(kLiteral + std::string(text));
}

StepPart StepPart::Control(int controlId) {
    return StepPart(kControl + std::to_string(controlId));
}

StepPart StepPart::Text(std::string_view key, const std::vector<std::string>& fillers) {
    std::string encoded = kLanguageText + std::string(key);
    for (const std::string& filler : fillers) {
        encoded += kInnerSeparator + filler;
    }
    return StepPart(std::move(encoded));
}

StepPart StepPart::ChannelColumn(int column) {
    return StepPart(kColumn + std::to_string(column));
}

StepPart StepPart::TestItem(int index) {
    return StepPart(kTestItem + std::to_string(index));
}

std::string MakeStepName(std::string_view key, const std::vector<StepPart>& parts) {
    std::string name = kNameMark + std::string(key);
    for (const StepPart& part : parts) {
        name += kPartSeparator;
        name += part.Encoded();
    }
    return name;
}

std::string StepNameText(const std::string& name) {
    if (name.empty() || name.front() != kNameMark) {
        return name;
    }
    const std::vector<std::string> parts = Split(std::string_view(name).substr(1), kPartSeparator);
    std::vector<std::string> arguments;
    for (size_t k = 1; k < parts.size(); ++k) {
        arguments.push_back(PartText(parts[k]));
    }
    return FillPlaces(LoadLangString(parts.front()), arguments);
}

std::string FillPlaces(const std::string& text, const std::vector<std::string>& arguments) {
    std::string filled;
    for (size_t at = 0; at < text.size(); ++at) {
        // A mark is "%" and one or two digits, as the desktop's toolkit reads them.
        size_t number = 0;
        size_t end = at + 1;
        while (text[at] == '%' && end < text.size() && end < at + 3 && text[end] >= '0' &&
               text[end] <= '9') {
            number = number * 10 + size_t(text[end] - '0');
            ++end;
        }
        if (number >= 1 && number <= arguments.size()) {
            filled += arguments[number - 1];
            at = end - 1;
        } else {
            filled += text[at];
        }
    }
    return filled;
}

std::string ControlLabelText(int controlId) {
    std::string text;
    for (const char character : LoadResourceText(controlId)) {
        if (character != '&') {
            text += character;
        }
    }
    while (StripEnd(text, kColons)) {
    }
    while (StripEnd(text, kSpaces)) {
    }
    while (StripStart(text, kSpaces)) {
    }
    return text;
}

std::string ChannelHeaderText(int column) {
    return LoadLangText(g_LanguagePath, kChannelHeaderSection,
                        kChannelColumns[size_t(column)].headerKey, "", kListBufferSize);
}

std::string ClampNoteText(const std::optional<FrequencyClamp>& clamp) {
    if (!clamp) {
        return {};
    }
    // %1 the entry, %2 and %3 the band's limits, %4 what was stored.
    return FillPlaces(LoadLangString(clamp->above ? "IDS_CLAMP_HIGH" : "IDS_CLAMP_LOW"),
                      {clamp->entry, clamp->lowest, clamp->highest, clamp->stored});
}
