// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/tty_records.h"

namespace fs = std::filesystem;

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The names in devRoot that lead to node, as udev's DEVLINKS would list them.
std::vector<std::string> LinksTo(const fs::path& devRoot, const fs::path& node) {
    std::vector<std::string> links;
    std::error_code error;
    fs::path target = fs::canonical(node, error);
    if (error) {
        return links;
    }
    for (fs::recursive_directory_iterator it(devRoot / "serial", error), end; !error && it != end;
         it.increment(error)) {
        std::error_code linkError;
        if (it->is_symlink(linkError) && fs::canonical(it->path(), linkError) == target &&
            !linkError) {
            links.push_back(it->path().string());
        }
    }
    std::sort(links.begin(), links.end());
    return links;
}

}  // namespace

std::vector<TtyRecord> ReadTtyRecords(const std::string& recordFolder, const std::string& devRoot) {
    std::vector<TtyRecord> records;
    std::error_code error;
    for (fs::directory_iterator it(recordFolder, error), end; !error && it != end;
         it.increment(error)) {
        TtyRecord record;
        record.name = it->path().filename().string();
        record.node = (fs::path(devRoot) / record.name).string();
        std::ifstream in(it->path());
        for (std::string line; std::getline(in, line);) {
            if (size_t equals = line.find('='); equals != std::string::npos && equals > 0) {
                record.properties[line.substr(0, equals)] = line.substr(equals + 1);
            }
        }
        record.links = LinksTo(devRoot, record.node);
        records.push_back(std::move(record));
    }
    return records;
}

std::string DecodeUdevText(const std::string& encoded) {
    std::string text;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '\\' && i + 3 < encoded.size() && encoded[i + 1] == 'x' &&
            HexDigit(encoded[i + 2]) >= 0 && HexDigit(encoded[i + 3]) >= 0) {
            text.push_back(
                static_cast<char>(HexDigit(encoded[i + 2]) * 16 + HexDigit(encoded[i + 3])));
            i += 3;
        } else {
            text.push_back(encoded[i]);
        }
    }
    return text;
}
