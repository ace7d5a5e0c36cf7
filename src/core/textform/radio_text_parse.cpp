// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/radio_text_parse.h"

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <sstream>

#include "codeplug/pgm_file.h"
#include "textform/radio_text.h"
#include "textform/text_shape.h"

namespace {

constexpr const char* kTopKeys[] = {"format", "model",   "band", "channels",
                                    "vfos",   "options", "fm",   "reserved"};
constexpr const char* kFmKeys[] = {"frequency", "presets"};
constexpr const char* kModel = "RQ870";

struct Reader {
    std::vector<TextError>* errors;

    void Fail(const YAML::Node& node, const std::string& path, const std::string& message) {
        errors->push_back({PlaceOf(node), path, message});
    }

    static TextPlace PlaceOf(const YAML::Node& node) {
        const YAML::Mark mark = node.Mark();
        return mark.is_null() ? TextPlace{} : TextPlace{mark.line + 1, mark.column + 1};
    }

    // A tag asks for a type or a decoding ("!!binary") the text form does not have; the value
    // would be read as its bare text.
    bool Untagged(const YAML::Node& node, const std::string& path) {
        const std::string& tag = node.Tag();
        if (tag.empty() || tag == "?" || tag == "!") {
            return true;
        }
        constexpr std::string_view kStandard = "tag:yaml.org,2002:";
        const std::string shown =
            tag.starts_with(kStandard) ? "!!" + tag.substr(kStandard.size()) : tag;
        Fail(node, path, "the tag " + shown + " is not allowed; write the value itself");
        return false;
    }

    // A single value: a scalar, or nothing ("name:") for an empty text.
    bool Scalar(const YAML::Node& node, const std::string& path, TextValue* value) {
        if (!Untagged(node, path)) {
            return false;
        }
        if (node.IsNull()) {
            *value = {std::string(), PlaceOf(node)};
            return true;
        }
        if (!node.IsScalar()) {
            Fail(node, path, "expected a single value, not a list or a mapping");
            return false;
        }
        *value = {node.Scalar(), PlaceOf(node)};
        return true;
    }

    // Calls take for each key of a mapping once; unknown and repeated keys are errors.
    // allowed describes the known keys when listing them all would not help.
    template <typename Take>
    void Mapping(const YAML::Node& node, const std::string& path,
                 const std::vector<std::string>& known, Take take,
                 const std::string& allowed = std::string()) {
        if (!Untagged(node, path)) {
            return;
        }
        // A section with nothing under it names nothing.
        if (node.IsNull() && !path.empty()) {
            return;
        }
        if (!node.IsMap()) {
            Fail(node, path, "expected a mapping of keys to values");
            return;
        }
        std::set<std::string> seen;
        for (const auto& pair : node) {
            const std::string where = path.empty() ? std::string() : path + ".";
            if (!pair.first.IsScalar()) {
                Fail(pair.first, path, "a key must be a single word");
                continue;
            }
            if (!Untagged(pair.first, where + pair.first.Scalar())) {
                continue;
            }
            const std::string key = pair.first.Scalar();
            if (!known.empty() && std::find(known.begin(), known.end(), key) == known.end()) {
                Fail(pair.first, where + key,
                     "unknown key; allowed: " + (allowed.empty() ? KeyList(known) : allowed));
                continue;
            }
            if (!seen.insert(key).second) {
                Fail(pair.first, where + key, "repeated key; each key is given once");
                continue;
            }
            take(key, pair.first, pair.second, where + key);
        }
    }

    static std::string KeyList(const std::vector<std::string>& keys) {
        std::string text;
        for (const std::string& key : keys) {
            if (!text.empty()) {
                text += ", ";
            }
            text += key;
        }
        return text;
    }

    void Fields(const YAML::Node& node, const std::string& path,
                const std::vector<std::string>& known, TextFields* fields) {
        Mapping(node, path, known,
                [&](const std::string& key, const YAML::Node&, const YAML::Node& value,
                    const std::string& where) {
                    TextValue text;
                    if (Scalar(value, where, &text)) {
                        (*fields)[key] = text;
                    }
                });
    }
};

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    quoted += text;
    quoted += "'";
    return quoted;
}

std::optional<int> Number(const std::string& text, int lowest, int highest) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> Keys(std::span<const char* const> keys) {
    return {keys.begin(), keys.end()};
}

std::vector<std::string> NumberKeys(int count) {
    std::vector<std::string> keys;
    for (int k = 1; k <= count; ++k) {
        keys.push_back(std::to_string(k));
    }
    return keys;
}

void ReadChannels(Reader& reader, const YAML::Node& node, RadioValues* values) {
    const std::vector<std::string> keys = ChannelKeys();
    reader.Mapping(
        node, "channels", NumberKeys(kImageChannelCount),
        [&](const std::string& key, const YAML::Node& keyNode, const YAML::Node& value,
            const std::string& path) {
            ChannelEntry entry;
            entry.place = Reader::PlaceOf(keyNode);
            if (value.IsNull()) {
                entry.clear = true;
            } else {
                reader.Fields(value, path, keys, &entry.fields);
            }
            values->channels[*Number(key, 1, kImageChannelCount)] = entry;
        },
        "channel numbers 1-" + std::to_string(kImageChannelCount));
}

void ReadVfos(Reader& reader, const YAML::Node& node, RadioValues* values) {
    const std::vector<std::string> keys = VfoKeys();
    reader.Mapping(node, "vfos", Keys(kVfoKeys),
                   [&](const std::string& key, const YAML::Node&, const YAML::Node& value,
                       const std::string& path) {
                       TextFields fields;
                       reader.Fields(value, path, keys, &fields);
                       values->vfos[key == kVfoKeys[0] ? 0 : 1] = fields;
                   });
}

void ReadFm(Reader& reader, const YAML::Node& node, RadioValues* values) {
    reader.Mapping(node, "fm", Keys(kFmKeys),
                   [&](const std::string& key, const YAML::Node&, const YAML::Node& value,
                       const std::string& path) {
                       if (key == "frequency") {
                           TextValue text;
                           if (reader.Scalar(value, path, &text)) {
                               values->fmFrequency = text;
                           }
                           return;
                       }
                       TextFields presets;
                       reader.Fields(value, path, NumberKeys(kFmPresetCount), &presets);
                       for (const auto& [preset, text] : presets) {
                           values->fmPresets[*Number(preset, 1, kFmPresetCount)] = text;
                       }
                   });
}

std::optional<std::vector<uint8_t>> HexBytes(const std::string& text) {
    if (text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    for (size_t position = 0; position < text.size(); position += 2) {
        uint8_t byte = 0;
        auto [end, error] =
            std::from_chars(text.data() + position, text.data() + position + 2, byte, 16);
        if (error != std::errc() || end != text.data() + position + 2) {
            return std::nullopt;
        }
        bytes.push_back(byte);
    }
    return bytes;
}

std::optional<size_t> Address(const std::string& text) {
    if (text.size() < 3 || text.size() > 6 || text[0] != '0' ||
        (text[1] != 'x' && text[1] != 'X')) {
        return std::nullopt;
    }
    size_t value = 0;
    auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || value >= kImageSize) {
        return std::nullopt;
    }
    return value;
}

void ReadEmptyChannel(Reader& reader, const YAML::Node& value, const std::string& path,
                      const TextValue& text, RadioValues* values) {
    constexpr size_t kSize = kRecordSize + kChannelNameSize;
    std::optional<std::vector<uint8_t>> bytes = HexBytes(text.text);
    if (!bytes || bytes->size() != kSize) {
        reader.Fail(value, path,
                    "expected " + std::to_string(kSize) + " bytes as " + std::to_string(2 * kSize) +
                        " hexadecimal digits");
        return;
    }
    ChannelSlot slot;
    std::copy_n(bytes->begin(), kRecordSize, slot.record.begin());
    std::copy_n(bytes->begin() + kRecordSize, kChannelNameSize, slot.name.begin());
    RadioImage scratch;
    WriteChannelSlot(scratch, 1, slot);
    if (!scratch.IsChannelEmpty(1)) {
        reader.Fail(value, path,
                    "these bytes hold a receive frequency, so the channels they fill would not be "
                    "empty; allowed: a record whose 4th byte is above 99, as FF");
        return;
    }
    values->emptyChannel = slot;
}

// Which bytes of the file the reserved runs read so far give, the header's first.
using GivenBytes = std::vector<bool>;

void ReadReservedRun(Reader& reader, const std::string& key, const YAML::Node& keyNode,
                     const YAML::Node& value, const std::string& path, GivenBytes* given,
                     RadioValues* values) {
    TextValue text;
    if (!reader.Scalar(value, path, &text)) {
        return;
    }
    if (key == kEmptyChannelKey) {
        ReadEmptyChannel(reader, value, path, text, values);
        return;
    }
    ReservedRun run;
    run.place = text.place;
    size_t size = kPgmHeaderSize;
    if (key == "header") {
        run.inHeader = true;
    } else {
        const size_t dash = key.find('-');
        const std::optional<size_t> first = Address(key.substr(0, dash));
        const std::optional<size_t> last =
            dash == std::string::npos ? first : Address(key.substr(dash + 1));
        if (!first || !last || *last < *first) {
            reader.Fail(keyNode, path,
                        "not an address range; allowed: empty_channel, header, 0xNNNN or "
                        "0xNNNN-0xNNNN within 0x0000-0x1FFF");
            return;
        }
        run.offset = *first;
        size = *last - *first + 1;
    }
    const size_t begin = run.inHeader ? 0 : kPgmHeaderSize + run.offset;
    if (std::find(given->begin() + static_cast<ptrdiff_t>(begin),
                  given->begin() + static_cast<ptrdiff_t>(begin + size),
                  true) != given->begin() + static_cast<ptrdiff_t>(begin + size)) {
        reader.Fail(keyNode, path, "repeated key; each byte is given once");
        return;
    }
    std::fill_n(given->begin() + static_cast<ptrdiff_t>(begin), size, true);
    std::optional<std::vector<uint8_t>> bytes = HexBytes(text.text);
    if (!bytes || bytes->size() != size) {
        reader.Fail(value, path,
                    "expected " + std::to_string(size) + " bytes as " + std::to_string(2 * size) +
                        " hexadecimal digits");
        return;
    }
    run.bytes = std::move(*bytes);
    values->reserved.push_back(std::move(run));
}

void ReadReserved(Reader& reader, const YAML::Node& node, RadioValues* values) {
    GivenBytes given(kPgmFileSize, false);
    reader.Mapping(node, "reserved", {},
                   [&](const std::string& key, const YAML::Node& keyNode, const YAML::Node& value,
                       const std::string& path) {
                       ReadReservedRun(reader, key, keyNode, value, path, &given, values);
                   });
}

void ReadTop(Reader& reader, const YAML::Node& root, RadioValues* values) {
    bool sawFormat = false;
    reader.Mapping(root, "", Keys(kTopKeys),
                   [&](const std::string& key, const YAML::Node&, const YAML::Node& value,
                       const std::string& path) {
                       TextValue text;
                       if (key == "format") {
                           sawFormat = true;
                           if (reader.Scalar(value, path, &text) &&
                               text.text != std::to_string(kRadioTextFormat)) {
                               reader.Fail(value, path,
                                           Quoted(text.text) +
                                               " is not a format this program reads; allowed: " +
                                               std::to_string(kRadioTextFormat));
                           }
                       } else if (key == "model") {
                           if (reader.Scalar(value, path, &text) && text.text != kModel) {
                               reader.Fail(
                                   value, path,
                                   Quoted(text.text) + " is another radio; allowed: " + kModel);
                           }
                       } else if (key == "band") {
                           if (reader.Scalar(value, path, &text)) {
                               values->band = text;
                           }
                       } else if (key == "channels") {
                           values->channelsGiven = true;
                           ReadChannels(reader, value, values);
                       } else if (key == "vfos") {
                           ReadVfos(reader, value, values);
                       } else if (key == "options") {
                           reader.Fields(value, path, OptionKeys(), &values->options);
                       } else if (key == "fm") {
                           ReadFm(reader, value, values);
                       } else {
                           ReadReserved(reader, value, values);
                       }
                   });
    if (root.IsMap() && !sawFormat) {
        reader.Fail(root, "format",
                    "missing; this program reads format " + std::to_string(kRadioTextFormat));
    }
}

// Where a second document begins, if the text holds one. The parser is asked for two
// documents at most: on some broken texts it reports document after document without reading
// on, so the parser's own load-all would never end.
class DocumentStarts : public YAML::EventHandler {
public:
    void OnDocumentStart(const YAML::Mark& mark) override { m_Start = mark; }
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark&, YAML::anchor_t) override {}
    void OnAlias(const YAML::Mark&, YAML::anchor_t) override {}
    void OnScalar(const YAML::Mark&, const std::string&, YAML::anchor_t,
                  const std::string&) override {}
    void OnSequenceStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                         YAML::EmitterStyle::value) override {}
    void OnSequenceEnd() override {}
    void OnMapStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                    YAML::EmitterStyle::value) override {}
    void OnMapEnd() override {}

    YAML::Mark m_Start;
};

std::optional<YAML::Mark> SecondDocumentStart(std::string_view text) {
    std::istringstream input{std::string(text)};
    YAML::Parser parser(input);
    DocumentStarts starts;
    if (!parser.HandleNextDocument(starts) || !parser.HandleNextDocument(starts)) {
        return std::nullopt;
    }
    return starts.m_Start;
}

}  // namespace

bool ParseRadioText(std::string_view text, RadioValues* values, std::vector<TextError>* errors) {
    if (std::optional<TextError> refused = TextShapeProblem(text)) {
        errors->push_back(*refused);
        return false;
    }
    YAML::Node root;
    std::optional<YAML::Mark> secondDocument;
    try {
        root = YAML::Load(std::string(text));
        secondDocument = SecondDocumentStart(text);
    } catch (const YAML::Exception& exception) {
        const YAML::Mark& mark = exception.mark;
        errors->push_back({mark.is_null() ? TextPlace{} : TextPlace{mark.line + 1, mark.column + 1},
                           "", "not YAML: " + exception.msg});
        return false;
    }
    Reader reader{errors};
    if (secondDocument) {
        // A second document would be read by nobody: its channels would be lost unseen.
        errors->push_back({{secondDocument->line + 1, secondDocument->column + 1},
                           "",
                           "a second YAML document; a radio's configuration is one document"});
        return false;
    }
    if (!root.IsMap()) {
        reader.Fail(root, "", "expected a radio configuration (a mapping beginning format: 1)");
        return false;
    }
    try {
        ReadTop(reader, root, values);
    } catch (const YAML::Exception& exception) {
        errors->push_back({{}, "", "not YAML: " + exception.msg});
        return false;
    }
    return true;
}
