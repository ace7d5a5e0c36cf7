// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/text_shape.h"

#include <cstdio>
#include <string>
#include <vector>

#include "textform/radio_text.h"

namespace {

// A configuration needs three levels (channels, a channel, its values); the parser's stack
// holds far more, the sanitizers' less.
constexpr size_t kDeepestNesting = 16;

// Walks the text as YAML reads it: quoted scalars, comments and block scalars are content,
// not structure, so only the levels of block indentation and flow brackets count.
class ShapeScanner {
public:
    explicit ShapeScanner(std::string_view text) : m_Text(text) {}

    std::optional<TextError> Scan() {
        while (m_Position < m_Text.size()) {
            if (std::optional<TextError> problem = Line()) {
                return problem;
            }
        }
        return std::nullopt;
    }

private:
    TextError At(size_t position, const std::string& message) const {
        return {{m_Line, static_cast<int>(position - m_LineBegin + 1)}, "", message};
    }

    static std::optional<std::string> ControlProblem(unsigned char byte) {
        if (byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r') {
            return std::nullopt;
        }
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", byte);
        return std::string("the control character ") + code + (byte == 0 ? " (a NUL byte)" : "") +
               "; a radio's configuration is plain text";
    }

    bool InStructure() const { return m_Quote == 0 && m_FlowDepth == 0; }

    size_t Depth() const { return m_Indents.size() + m_FlowDepth; }

    // One line from m_Position, leaving m_Position at the start of the next.
    std::optional<TextError> Line() {
        m_LineBegin = m_Position;
        ++m_Line;
        size_t end = m_Text.find('\n', m_Position);
        end = end == std::string_view::npos ? m_Text.size() : end;
        const std::string_view line = m_Text.substr(m_Position, end - m_Position);
        m_Position = end + 1;
        for (size_t k = 0; k < line.size(); ++k) {
            if (auto problem = ControlProblem(static_cast<unsigned char>(line[k]))) {
                return At(m_LineBegin + k, *problem);
            }
        }
        size_t indent = line.find_first_not_of(' ');
        const bool blank = indent == std::string_view::npos ||
                           line.find_first_not_of(" \t\r") == std::string_view::npos;
        if (m_BlockScalar) {
            if (blank || indent > *m_BlockScalar) {
                return std::nullopt;
            }
            m_BlockScalar.reset();
        }
        if (blank || !InStructure()) {
            return Content(line, 0);
        }
        if (line[line.find_first_not_of(" \t")] == '#') {
            return std::nullopt;
        }
        if (line[indent] == '\t') {
            return At(m_LineBegin + indent, "a tab in the indentation; YAML indents with spaces");
        }
        while (!m_Indents.empty() && m_Indents.back() >= indent) {
            m_Indents.pop_back();
        }
        const size_t lineIndent = indent;
        m_Indents.push_back(indent);
        // "- - item" and "? key" open a level at each indicator.
        while (indent + 1 < line.size() && (line[indent] == '-' || line[indent] == '?') &&
               line[indent + 1] == ' ') {
            indent = line.find_first_not_of(' ', indent + 1);
            if (indent == std::string_view::npos) {
                break;
            }
            m_Indents.push_back(indent);
        }
        if (Depth() > kDeepestNesting) {
            return At(m_LineBegin + lineIndent, "nested too deeply for a radio's configuration");
        }
        std::optional<TextError> problem =
            Content(line, indent == std::string_view::npos ? 0 : indent);
        if (!problem && InStructure() && m_BlockScalarOpened) {
            m_BlockScalar = lineIndent;
        }
        return problem;
    }

    // Quotes, comments and brackets of line from column start on.
    std::optional<TextError> Content(std::string_view line, size_t start) {
        m_BlockScalarOpened = false;
        char previous = start == 0 ? ' ' : line[start - 1];
        for (size_t k = start; k < line.size(); previous = line[k], ++k) {
            const char character = line[k];
            if (m_Quote != 0) {
                if (m_Quote == '"' && character == '\\') {
                    ++k;
                } else if (character == m_Quote) {
                    // '' inside single quotes is one quote.
                    if (m_Quote == '\'' && k + 1 < line.size() && line[k + 1] == '\'') {
                        ++k;
                    } else {
                        m_Quote = 0;
                    }
                }
                continue;
            }
            const bool tokenStart =
                previous == ' ' || previous == '\t' ||
                (m_FlowDepth > 0 && (previous == '[' || previous == '{' || previous == ','));
            if (character == '#' && (previous == ' ' || previous == '\t' || k == 0)) {
                return std::nullopt;
            }
            if ((character == '\'' || character == '"') && (tokenStart || k == 0)) {
                m_Quote = character;
            } else if ((character == '[' || character == '{') &&
                       (m_FlowDepth > 0 || tokenStart || k == 0)) {
                ++m_FlowDepth;
                if (Depth() > kDeepestNesting) {
                    return At(m_LineBegin + k, "nested too deeply for a radio's configuration");
                }
            } else if ((character == ']' || character == '}') && m_FlowDepth > 0) {
                --m_FlowDepth;
            } else if ((character == '|' || character == '>') && tokenStart && m_FlowDepth == 0) {
                m_BlockScalarOpened = true;
            } else if (character != ' ' && character != '\t' && character != '\r' &&
                       character != '+' && character != '-' &&
                       !(character >= '0' && character <= '9')) {
                m_BlockScalarOpened = false;
            }
        }
        return std::nullopt;
    }

    std::string_view m_Text;
    size_t m_Position = 0;
    size_t m_LineBegin = 0;
    int m_Line = 0;
    char m_Quote = 0;
    size_t m_FlowDepth = 0;
    std::vector<size_t> m_Indents;
    // The indentation of the line that began a block scalar: deeper lines are its text.
    std::optional<size_t> m_BlockScalar;
    bool m_BlockScalarOpened = false;
};

}  // namespace

std::optional<TextError> TextShapeProblem(std::string_view text) {
    if (text.size() > kLargestRadioText) {
        return TextError{{},
                         "",
                         "the text is larger than 1 MiB; a radio's configuration is far "
                         "smaller"};
    }
    return ShapeScanner(text).Scan();
}
