// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/radio_values.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <unordered_map>

#include "codeplug/document.h"
#include "codeplug/ptt_id_code.h"
#include "codeplug/radiogram_codes.h"
#include "editors/channel_commit.h"
#include "editors/vfo_frequencies.h"
#include "textform/value_rules.h"

namespace {

char Lower(char character) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
    return lowered;
}

bool IsUpper(char character) {
    return std::isupper(static_cast<unsigned char>(character)) != 0;
}

void PutFrequency(TextFields* fields, const std::string& key, const std::string& text,
                  const FrequencyLimits& limits, bool allowEmpty) {
    if (!FrequencyProblem(text, limits, allowEmpty)) {
        (*fields)[key] = {text, {}};
    }
}

void PutItem(TextFields* fields, const std::string& key, const std::vector<std::string>& items,
             int index) {
    if (index >= 0 && static_cast<size_t>(index) < items.size()) {
        (*fields)[key] = {items[static_cast<size_t>(index)], {}};
    }
}

}  // namespace

TextFields RecordFields(const CHalvexDoc& document, int index, bool vfo) {
    const ChannelTexts& texts = TextChannelTexts();
    const FrequencyLimits& limits = document.GetFrequencyLimits();
    TextFields fields;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        if (!(vfo ? IsVfoKey(column) : IsChannelKey(column))) {
            continue;
        }
        const std::string& key = ColumnKey(column);
        switch (column.kind) {
            case ColumnKind::Frequency: {
                std::string text = document.Image().GetFrequencyText(index, kDecodeSide);
                if (column.side == kEncodeSide) {
                    text = vfo ? VfoTransmitText(
                                     text, document.Image().GetFrequencyText(index, kEncodeSide),
                                     document.Image().GetShiftDirection(index))
                               : ShownTransmitText(document, index);
                }
                PutFrequency(&fields, key, text, limits, column.side == kEncodeSide);
                break;
            }
            case ColumnKind::Tone: {
                const int tone = vfo ? document.Image().GetTone(index, column.side)
                                     : column.value(document.Image(), index);
                fields[key] = {tone < 0 ? std::string() : texts.tones[static_cast<size_t>(tone)],
                               {}};
                break;
            }
            case ColumnKind::Choice:
                PutItem(&fields, key, texts.choices[column.id],
                        column.value(document.Image(), index));
                break;
            case ColumnKind::Name:
                fields[key] = {column.text(document, index), {}};
                break;
            case ColumnKind::Number:
                break;
        }
    }
    if (vfo) {
        PutItem(&fields, kStepKey, StepTexts(), document.Image().GetStep(index));
    }
    return fields;
}

std::string TextKey(std::string_view name) {
    std::string key;
    for (size_t position = 0; position < name.size(); ++position) {
        const char character = name[position];
        if (position > 0 && IsUpper(character) && !IsUpper(name[position - 1])) {
            key += '_';
        }
        key += Lower(character);
    }
    return key;
}

std::string SpelledItem(std::string_view english) {
    const bool oneWord =
        !english.empty() && std::all_of(english.begin(), english.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) != 0;
        });
    std::string text(english);
    if (oneWord) {
        std::transform(text.begin(), text.end(), text.begin(), Lower);
    }
    return text;
}

std::vector<std::string> SpelledItems(const std::vector<std::string>& english) {
    std::vector<std::string> items;
    for (const std::string& item : english) {
        items.push_back(SpelledItem(item));
    }
    return items;
}

const std::vector<std::string>& StepTexts() {
    static const std::vector<std::string> texts =
        SpelledItems({EnglishStepItems().begin(), EnglishStepItems().end()});
    return texts;
}

const std::vector<std::string>& OptionTexts(size_t k) {
    static const std::vector<std::vector<std::string>> texts = [] {
        std::vector<std::vector<std::string>> all;
        for (const RadioOptionDefinition& option : kRadioOptions) {
            all.push_back(SpelledItems(EnglishOptionItems(option)));
        }
        return all;
    }();
    return texts[k];
}

const ChannelTexts& TextChannelTexts() {
    static const ChannelTexts texts =
        WordedChannelTexts([](const ColumnText& text) { return SpelledItem(text.english); });
    return texts;
}

bool IsChannelKey(const ChannelColumnDefinition& column) {
    return column.kind != ColumnKind::Number;
}

bool IsVfoKey(const ChannelColumnDefinition& column) {
    return column.vfoField;
}

int ItemIndex(const std::vector<std::string>& items, std::string_view text) {
    // Each list is searched for every value of every apply, so each gets an index once.
    static std::mutex mutex;
    static std::map<const std::vector<std::string>*, std::unordered_map<std::string, int>> indices;
    std::lock_guard lock(mutex);
    auto [found, added] = indices.try_emplace(&items);
    if (added) {
        for (size_t index = items.size(); index-- > 0;) {
            found->second[Lowered(items[index])] = static_cast<int>(index);
        }
    }
    auto item = found->second.find(Lowered(text));
    return item == found->second.end() ? -1 : item->second;
}

const std::string& ColumnKey(const ChannelColumnDefinition& column) {
    static const std::array<std::string, kChannelColumnCount> keys = [] {
        std::array<std::string, kChannelColumnCount> all;
        for (const ChannelColumnDefinition& each : kChannelColumns) {
            all[each.id] = TextKey(each.name);
        }
        return all;
    }();
    return keys[column.id];
}

const std::string& OptionKey(size_t k) {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all;
        for (const RadioOptionDefinition& option : kRadioOptions) {
            all.push_back(TextKey(option.name));
        }
        return all;
    }();
    return keys[k];
}

RadioValues ExtractRadioValues(const CHalvexDoc& document) {
    RadioValues values;
    values.band = TextValue{std::to_string(document.FindModelLine()), {}};
    for (int n = 1; n <= kImageChannelCount; ++n) {
        if (!document.Image().IsChannelEmpty(n)) {
            values.channels[n] = {{}, false, RecordFields(document, n, false)};
        }
    }
    for (size_t vfo = 0; vfo < values.vfos.size(); ++vfo) {
        values.vfos[vfo] = RecordFields(document, kVfoRecords[vfo], true);
    }
    for (size_t k = 0; k < kRadioOptions.size(); ++k) {
        PutItem(&values.options, OptionKey(k), OptionTexts(k),
                kRadioOptions[k].value(document.Image()));
    }
    values.options[kPttIdCodeKey] = {PttIdCodeText(document.Image().GetPttIdCode()), {}};
    const int frequency = document.Image().GetWord(kFmFrequencyOffset, 1);
    if (frequency >= 0 && frequency <= kFmHighestCode) {
        values.fmFrequency = TextValue{FmCodeText(frequency), {}};
    }
    for (int preset = 1; preset <= kFmPresetCount; ++preset) {
        const int code = document.Image().GetWord(kFmPresetBase, preset);
        if (code >= 0 && code <= kFmEmptyPreset) {
            values.fmPresets[preset] = {
                SpelledItem(code == kFmEmptyPreset ? kFmEmptyPresetText : FmCodeText(code)), {}};
        }
    }
    return values;
}

std::vector<std::string> ChannelKeys() {
    std::vector<std::string> keys;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        if (IsChannelKey(column)) {
            keys.push_back(TextKey(column.name));
        }
    }
    return keys;
}

std::vector<std::string> VfoKeys() {
    std::vector<std::string> keys;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        if (IsVfoKey(column)) {
            keys.push_back(TextKey(column.name));
        }
    }
    keys.push_back(kStepKey);
    return keys;
}

std::vector<std::string> OptionKeys() {
    std::vector<std::string> keys;
    for (const RadioOptionDefinition& option : kRadioOptions) {
        keys.push_back(TextKey(option.name));
    }
    keys.push_back(kPttIdCodeKey);
    return keys;
}
