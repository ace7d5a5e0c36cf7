// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/radio_text_emit.h"

#include <algorithm>
#include <cctype>

#include "textform/radio_text.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
// Bytes a reserved line holds, so a changed byte changes one short line.
constexpr size_t kReservedLineBytes = 32;

bool IsPlain(char character) {
    return std::isalnum(static_cast<unsigned char>(character)) != 0 || character == '.' ||
           character == '_' || character == '-' || character == ' ' || character == '(' ||
           character == ')';
}

// Plain when YAML reads it back as the same string, double-quoted otherwise.
std::string Scalar(const std::string& text, bool quote = false) {
    const bool plain = !quote && !text.empty() &&
                       std::isalnum(static_cast<unsigned char>(text.front())) != 0 &&
                       text.back() != ' ' && std::all_of(text.begin(), text.end(), IsPlain);
    if (plain) {
        return text;
    }
    std::string quoted = "\"";
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (character == '"' || character == '\\') {
            quoted += '\\';
            quoted += character;
        } else if (byte < 0x20 || byte >= 0x7F) {
            quoted += "\\x";
            quoted += kHexDigits[byte >> 4];
            quoted += kHexDigits[byte & 0x0F];
        } else {
            quoted += character;
        }
    }
    quoted += '"';
    return quoted;
}

std::string Hex(const uint8_t* bytes, size_t size) {
    std::string text;
    for (size_t index = 0; index < size; ++index) {
        text += kHexDigits[bytes[index] >> 4];
        text += kHexDigits[bytes[index] & 0x0F];
    }
    return text;
}

std::string Address(size_t offset) {
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += kHexDigits[offset >> shift & 0x0F];
    }
    return text;
}

std::string FlowMap(const TextFields& fields, const std::vector<std::string>& keys) {
    std::string line = "{";
    for (const std::string& key : keys) {
        auto found = fields.find(key);
        if (found == fields.end()) {
            continue;
        }
        if (line.size() > 1) {
            line += ", ";
        }
        line += key;
        line += ": ";
        line += Scalar(found->second.text, key == "name");
    }
    line += '}';
    return line;
}

std::string ColumnComment() {
    std::string text = "# Channel columns:";
    for (const std::string& key : ChannelKeys()) {
        text += ' ';
        text += key;
    }
    return text;
}

void EmitReserved(const RadioValues& values, std::string* out) {
    if (values.reserved.empty() && !values.emptyChannel) {
        return;
    }
    *out += "reserved:\n";
    if (values.emptyChannel) {
        const ChannelSlot& slot = *values.emptyChannel;
        *out += "  " + std::string(kEmptyChannelKey) + ": " +
                Hex(slot.record.data(), slot.record.size()) +
                Hex(slot.name.data(), slot.name.size()) + "\n";
    }
    for (const ReservedRun& run : values.reserved) {
        if (run.inHeader) {
            *out += "  header: ";
            *out += Hex(run.bytes.data(), run.bytes.size()) + "\n";
            continue;
        }
        for (size_t start = 0; start < run.bytes.size(); start += kReservedLineBytes) {
            const size_t size = std::min(kReservedLineBytes, run.bytes.size() - start);
            std::string key = Address(run.offset + start);
            if (size > 1) {
                key += '-';
                key += Address(run.offset + start + size - 1);
            }
            *out += "  ";
            *out += key + ": " + Hex(run.bytes.data() + start, size) + "\n";
        }
    }
}

}  // namespace

std::string EmitRadioText(const RadioValues& values, const FrequencyLimits& limits) {
    std::string out = "# RQ870 radio configuration, text form (YAML), format: ";
    out += std::to_string(kRadioTextFormat);
    out += '\n';
    out += ColumnComment();
    out += "\nformat: ";
    out += std::to_string(kRadioTextFormat);
    out += "\nmodel: RQ870\n";
    if (values.band) {
        out += "band: " + Scalar(values.band->text) + "  # " +
               FormatFrequencyValue(limits.m_FreqMin) + "-" +
               FormatFrequencyValue(limits.m_FreqMax) + " MHz\n";
    }
    out += values.channels.empty() ? "channels: {}\n" : "channels:\n";
    const std::vector<std::string> channelKeys = ChannelKeys();
    for (const auto& [n, entry] : values.channels) {
        out += "  ";
        out += std::to_string(n) + ": " +
               (entry.clear ? std::string("~") : FlowMap(entry.fields, channelKeys)) + "\n";
    }
    out += "vfos:\n";
    const std::vector<std::string> vfoKeys = VfoKeys();
    for (size_t vfo = 0; vfo < values.vfos.size(); ++vfo) {
        if (values.vfos[vfo]) {
            out += std::string("  ") + kVfoKeys[vfo] + ": " + FlowMap(*values.vfos[vfo], vfoKeys) +
                   "\n";
        }
    }
    out += "options:\n";
    for (const std::string& key : OptionKeys()) {
        auto found = values.options.find(key);
        if (found != values.options.end()) {
            out += "  ";
            out += key + ": " + Scalar(found->second.text, key == kPttIdCodeKey) + "\n";
        }
    }
    out += "fm:\n";
    if (values.fmFrequency) {
        out += "  frequency: " + Scalar(values.fmFrequency->text) + "\n";
    }
    std::string presets;
    for (const auto& [preset, value] : values.fmPresets) {
        presets += presets.empty() ? "{" : ", ";
        presets += std::to_string(preset) + ": " + Scalar(value.text);
    }
    out += "  presets: " + (presets.empty() ? std::string("{}") : presets + "}") + "\n";
    EmitReserved(values, &out);
    return out;
}
