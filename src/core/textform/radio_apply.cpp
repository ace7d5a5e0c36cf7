// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/radio_apply.h"

#include <algorithm>
#include <cctype>

#include "codeplug/document.h"
#include "codeplug/ptt_id_code.h"
#include "codeplug/radiogram_codes.h"
#include "editors/channel_commit.h"
#include "editors/vfo_frequencies.h"
#include "textform/value_rules.h"

namespace {

struct Context {
    CHalvexDoc& document;
    std::vector<TextError>* errors;

    void Fail(const TextPlace& place, const std::string& path, const std::string& message) {
        errors->push_back({place, path, message});
    }
};

std::string Normalized(const std::string& frequency) {
    return frequency.empty() ? frequency : FormatFrequencyValue(FrequencyTextToValue(frequency));
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    quoted += text;
    quoted += "' ";
    return quoted;
}

const TextValue* Find(const TextFields& fields, const std::string& key) {
    auto found = fields.find(key);
    return found == fields.end() ? nullptr : &found->second;
}

const std::vector<std::string>& ItemsOf(const ChannelColumnDefinition& column) {
    return column.kind == ColumnKind::Tone ? TextChannelTexts().tones
                                           : TextChannelTexts().choices[column.id];
}

// Checks every field of a channel or VFO; true when all of them can be stored.
bool CheckRecord(Context& context, const TextFields& fields, const std::string& path, bool vfo) {
    const FrequencyLimits& limits = context.document.GetFrequencyLimits();
    bool good = true;
    auto fail = [&](const TextValue& value, const std::string& key, const std::string& message) {
        context.Fail(value.place, path + "." + key, message);
        good = false;
    };
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        const std::string& key = ColumnKey(column);
        const TextValue* value = Find(fields, key);
        if (value == nullptr || !(vfo ? IsVfoKey(column) : IsChannelKey(column))) {
            continue;
        }
        switch (column.kind) {
            case ColumnKind::Frequency:
                if (auto problem =
                        FrequencyProblem(value->text, limits, column.side == kEncodeSide)) {
                    fail(*value, key, *problem);
                }
                break;
            case ColumnKind::Tone:
            case ColumnKind::Choice: {
                const std::vector<std::string>& items = ItemsOf(column);
                const bool noEncodeTone = column.kind == ColumnKind::Tone &&
                                          column.side == kEncodeSide && !vfo && value->text.empty();
                if (!noEncodeTone && ItemIndex(items, value->text) < 0) {
                    fail(*value, key,
                         Quoted(value->text) + "is not a choice; " +
                             (column.kind == ColumnKind::Tone
                                  ? std::string("allowed: off, a CTCSS tone such as 88.5 or a "
                                                "DCS code such as D023N")
                                  : AllowedItems(items)));
                }
                break;
            }
            case ColumnKind::Name:
                if (auto problem = NameProblem(value->text)) {
                    fail(*value, key, *problem);
                }
                break;
            case ColumnKind::Number:
                break;
        }
    }
    if (const TextValue* step = vfo ? Find(fields, kStepKey) : nullptr) {
        const std::vector<std::string>& items = StepTexts();
        if (ItemIndex(items, step->text) < 0) {
            fail(*step, kStepKey, Quoted(step->text) + "is not a step; " + AllowedItems(items));
        }
    }
    return good;
}

void ApplyChannel(Context& context, int n, const ChannelEntry& entry) {
    CHalvexDoc& doc = context.document;
    const std::string path = "channels." + std::to_string(n);
    if (entry.clear) {
        if (!doc.Image().IsChannelEmpty(n)) {
            CommitReceiveFrequency(doc, n, "");
        }
        return;
    }
    if (!CheckRecord(context, entry.fields, path, false)) {
        return;
    }
    if (doc.Image().IsChannelEmpty(n) && Find(entry.fields, "receive") == nullptr) {
        context.Fail(entry.place, path, "an empty channel needs a receive frequency");
        return;
    }
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        const TextValue* value = Find(entry.fields, ColumnKey(column));
        if (value == nullptr || !IsChannelKey(column)) {
            continue;
        }
        const std::string& text = value->text;
        switch (column.kind) {
            case ColumnKind::Frequency: {
                const std::string entered = Normalized(text);
                if (column.side == kDecodeSide) {
                    if (doc.Image().IsChannelEmpty(n) ||
                        entered != doc.Image().GetFrequencyText(n, kDecodeSide)) {
                        CommitReceiveFrequency(doc, n, entered);
                    }
                } else if (entered != ShownTransmitText(doc, n)) {
                    CommitTransmitFrequency(doc, n, entered);
                }
                break;
            }
            case ColumnKind::Tone: {
                const int tone = ItemIndex(TextChannelTexts().tones, text);
                if (column.side == kEncodeSide && doc.Image().IsTxAbsent(n)) {
                    // Without a transmit frequency there is no encode tone to store.
                    if (tone > 0) {
                        context.Fail(value->place, path + ".encode",
                                     Quoted(text) + "needs a transmit frequency; allowed: off");
                    }
                } else if (text.empty()) {
                    context.Fail(value->place, path + ".encode",
                                 "a channel that transmits needs an encode tone; allowed: off, a "
                                 "CTCSS tone or a DCS code");
                } else if (tone != column.value(doc.Image(), n)) {
                    CommitTone(doc, n, column.side, tone);
                }
                break;
            }
            case ColumnKind::Choice: {
                const int choice = ItemIndex(ItemsOf(column), text);
                if (choice != column.value(doc.Image(), n)) {
                    CommitChoice(doc, n, column.id, choice);
                }
                break;
            }
            case ColumnKind::Name:
                if (EncodeChannelName(text) != doc.Image().GetChannelNameBytes(n)) {
                    CommitChannelName(doc, n, text);
                }
                break;
            case ColumnKind::Number:
                break;
        }
    }
}

void ApplyVfoFrequencies(CHalvexDoc& doc, int record, const TextFields& fields) {
    const TextValue* receiveValue = Find(fields, "receive");
    const TextValue* transmitValue = Find(fields, "transmit");
    if (receiveValue == nullptr && transmitValue == nullptr) {
        return;
    }
    const std::string shownReceive = doc.Image().GetFrequencyText(record, kDecodeSide);
    const std::string shownTransmit =
        VfoTransmitText(shownReceive, doc.Image().GetFrequencyText(record, kEncodeSide),
                        doc.Image().GetShiftDirection(record));
    const std::string receive = receiveValue ? Normalized(receiveValue->text) : shownReceive;
    const std::string transmit = transmitValue ? Normalized(transmitValue->text) : shownTransmit;
    if (receive == shownReceive && transmit == shownTransmit) {
        return;
    }
    const VfoFrequencies stored =
        VfoFrequenciesFromTexts(receive, transmit, doc.GetFrequencyLimits());
    doc.SetFrequencyText(record, kDecodeSide, stored.receiveText);
    doc.EditImage().SetShiftDirection(record, stored.shift);
    doc.SetFrequencyText(record, kEncodeSide, stored.offsetText);
}

void ApplyVfo(Context& context, size_t vfo, const TextFields& fields) {
    CHalvexDoc& doc = context.document;
    const int record = kVfoRecords[vfo];
    if (!CheckRecord(context, fields, std::string("vfos.") + kVfoKeys[vfo], true)) {
        return;
    }
    ApplyVfoFrequencies(doc, record, fields);
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        const TextValue* value = Find(fields, ColumnKey(column));
        if (value == nullptr || !IsVfoKey(column)) {
            continue;
        }
        const int index = ItemIndex(ItemsOf(column), value->text);
        if (column.kind == ColumnKind::Tone && index != doc.Image().GetTone(record, column.side)) {
            doc.EditImage().SetTone(record, column.side, index);
        } else if (column.kind == ColumnKind::Choice &&
                   index != column.value(doc.Image(), record)) {
            column.store(doc.EditImage(), record, index);
        }
    }
    if (const TextValue* step = Find(fields, kStepKey)) {
        const int index = ItemIndex(StepTexts(), step->text);
        if (index != doc.Image().GetStep(record)) {
            doc.EditImage().SetStep(record, index);
        }
    }
}

void ApplyOptions(Context& context, const TextFields& options) {
    CHalvexDoc& doc = context.document;
    for (size_t k = 0; k < kRadioOptions.size(); ++k) {
        const RadioOptionDefinition& option = kRadioOptions[k];
        const std::string& key = OptionKey(k);
        const TextValue* value = Find(options, key);
        if (value == nullptr) {
            continue;
        }
        const std::vector<std::string>& items = OptionTexts(k);
        const int index = ItemIndex(items, value->text);
        if (index < 0) {
            context.Fail(value->place, "options." + key,
                         Quoted(value->text) + "is not a choice; " + AllowedItems(items));
        } else if (index != option.value(doc.Image())) {
            option.store(doc.EditImage(), index);
        }
    }
    if (const TextValue* code = Find(options, kPttIdCodeKey)) {
        if (auto problem = PttIdCodeProblem(code->text)) {
            context.Fail(code->place, std::string("options.") + kPttIdCodeKey, *problem);
        } else if (PttIdCodeFromText(code->text) != doc.Image().GetPttIdCode()) {
            doc.EditImage().SetPttIdCode(PttIdCodeFromText(code->text));
        }
    }
}

bool SameIgnoringCase(std::string_view left, std::string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

constexpr const char* kAllowedFmFrequencies =
    "allowed: 65.0-108.0 MHz in steps of 0.1, as 87.5 or 87M5";

void ApplyFm(Context& context, const RadioValues& values) {
    CHalvexDoc& doc = context.document;
    if (values.fmFrequency) {
        const std::optional<int> code = FmCodeFromText(values.fmFrequency->text);
        if (!code) {
            context.Fail(values.fmFrequency->place, "fm.frequency",
                         Quoted(values.fmFrequency->text) + "is not an FM frequency; " +
                             kAllowedFmFrequencies);
        } else if (*code != doc.Image().GetWord(kFmFrequencyOffset, 1)) {
            doc.EditImage().SetWord(kFmFrequencyOffset, 1, *code);
        }
    }
    for (const auto& [preset, value] : values.fmPresets) {
        const std::optional<int> code = SameIgnoringCase(value.text, kFmEmptyPresetText)
                                            ? std::optional<int>(kFmEmptyPreset)
                                            : FmCodeFromText(value.text);
        if (!code) {
            context.Fail(
                value.place, "fm.presets." + std::to_string(preset),
                Quoted(value.text) + "is not an FM preset; " + kAllowedFmFrequencies + ", or off");
        } else if (*code != doc.Image().GetWord(kFmPresetBase, preset)) {
            doc.EditImage().SetWord(kFmPresetBase, preset, *code);
        }
    }
}

// Whether what the text wrote for key reads as what the document shows: frequencies by value,
// names and codes exactly, choices and tones without regard to case ("off" for no tone).
bool MeansTheSame(const std::string& key, const std::string& written, const std::string& shown) {
    if (key == "receive" || key == "transmit") {
        return written.empty() == shown.empty() &&
               (written.empty() || FrequencyTextToValue(written) == FrequencyTextToValue(shown));
    }
    if (key == "name" || key == kPttIdCodeKey) {
        return written == shown;
    }
    if ((key == "decode" || key == "encode") && shown.empty()) {
        return written.empty() || SameIgnoringCase(written, "off");
    }
    return SameIgnoringCase(written, shown);
}

void ReportFields(const TextFields& written, const TextFields& shown, const std::string& path,
                  std::vector<TextError>* notes) {
    for (const auto& [key, value] : written) {
        auto stored = shown.find(key);
        if (stored != shown.end() && !MeansTheSame(key, value.text, stored->second.text)) {
            notes->push_back({value.place, path + "." + key,
                              "\"" + value.text + "\" stored as \"" + stored->second.text + "\""});
        }
    }
}

}  // namespace

void ReportStoredValues(const RadioValues& values, const CHalvexDoc& document,
                        std::vector<TextError>* notes) {
    const RadioValues shown = ExtractRadioValues(document);
    for (const auto& [n, entry] : values.channels) {
        auto stored = shown.channels.find(n);
        if (!entry.clear && stored != shown.channels.end()) {
            ReportFields(entry.fields, stored->second.fields, "channels." + std::to_string(n),
                         notes);
        }
    }
    for (size_t vfo = 0; vfo < values.vfos.size(); ++vfo) {
        if (values.vfos[vfo] && shown.vfos[vfo]) {
            ReportFields(*values.vfos[vfo], *shown.vfos[vfo], std::string("vfos.") + kVfoKeys[vfo],
                         notes);
        }
    }
    ReportFields(values.options, shown.options, "options", notes);
}

void ApplyRadioValues(const RadioValues& values, CHalvexDoc& document,
                      std::vector<TextError>* errors) {
    Context context{document, errors};
    for (const auto& [n, entry] : values.channels) {
        ApplyChannel(context, n, entry);
    }
    for (size_t vfo = 0; vfo < values.vfos.size(); ++vfo) {
        if (values.vfos[vfo]) {
            ApplyVfo(context, vfo, *values.vfos[vfo]);
        }
    }
    ApplyOptions(context, values.options);
    ApplyFm(context, values);
}
