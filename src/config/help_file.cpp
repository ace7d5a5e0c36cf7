// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/help_file.h"

#include <fstream>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/file_status.h"

namespace {

std::string WithExtension(const std::string& path, const std::string& extension) {
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    // A dot in a directory name is not the file's extension.
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

std::string EscapedHtml(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string FileUrl(const std::string& path) {
    static const char* kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '/' || c == '.' || c == '_' || c == '-' || c == '~';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> FindHelpFile(const std::string& languagePath,
                                        const std::vector<std::string>& dataDirs,
                                        std::string* missingPath) {
    std::string compiledHelp = WithExtension(languagePath, ".chm");
    size_t slash = languagePath.rfind('/');
    std::string name = slash == std::string::npos ? languagePath : languagePath.substr(slash);
    std::vector<std::string> places = {languagePath};
    for (const std::string& dir : dataDirs) {
        places.push_back(dir + (name.starts_with('/') ? "" : "/") + name);
    }
    for (const std::string& place : places) {
        for (const char* extension : {".chm", ".html"}) {
            if (std::string candidate = WithExtension(place, extension); IsRegularFile(candidate)) {
                return candidate;
            }
        }
    }
    if (missingPath != nullptr) {
        *missingPath = compiledHelp;
    }
    return std::nullopt;
}

std::optional<std::string> FindEnglishHelpPage(const std::string& languagePath,
                                               const std::vector<std::string>& dataDirs) {
    std::vector<std::string> places = {FolderOf(languagePath)};
    places.insert(places.end(), dataDirs.begin(), dataDirs.end());
    for (const std::string& dir : places) {
        if (std::string candidate = dir + "/english.html"; IsRegularFile(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool WriteUntranslatedHelp(const std::string& englishPage, const std::string& note,
                           const std::string& languageCode, const std::string& outputPath,
                           std::string* error) {
    std::ifstream in(englishPage, std::ios::binary);
    std::ostringstream page;
    if (!(page << in.rdbuf())) {
        if (error != nullptr) {
            *error = englishPage + " cannot be read";
        }
        return false;
    }
    std::string text = page.str();
    std::string lang = languageCode.substr(0, languageCode.find('_'));
    // Without a note the page is the English one as it is.
    std::string paragraph =
        note.empty() ? std::string()
                     : "<p class=\"untranslated\"" +
                           (lang.empty() ? std::string() : " lang=\"" + EscapedHtml(lang) + "\"") +
                           "><strong>" + EscapedHtml(note) + "</strong></p>\n";
    // Relative links and pictures of the page are found where the page lives.
    std::string base = "<base href=\"" + FileUrl(FolderOf(englishPage)) + "/\">\n";
    size_t head = text.find("<head>");
    if (head != std::string::npos) {
        text.insert(head + 6, "\n" + base);
    }
    size_t body = text.find("<body");
    size_t bodyEnd = body == std::string::npos ? std::string::npos : text.find('>', body);
    if (bodyEnd == std::string::npos) {
        text.insert(0, paragraph);
    } else {
        text.insert(bodyEnd + 1, "\n" + paragraph);
    }
    return ReplaceFileContents(outputPath, text, error);
}
