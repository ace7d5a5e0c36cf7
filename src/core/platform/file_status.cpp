// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_status.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool CheckInputFile(const std::string& path, std::string* error) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) {
        return true;
    }
    *error = "cannot read " + path +
             (S_ISDIR(status.st_mode) ? ": it is a folder; give a file"
                                      : ": it is not a regular file (a pipe or a device)");
    return false;
}

bool ReadFileToEnd(const std::string& path, size_t limit, const std::string& what,
                   std::string* text, std::string* error) {
    int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        *error = "cannot read " + path + ": it is not a regular file";
        close(descriptor);
        return false;
    }
    text->clear();
    std::array<char, 65536> buffer{};
    while (true) {
        ssize_t got = read(descriptor, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            *error = "cannot read " + path + ": " + std::strerror(errno);
            close(descriptor);
            return false;
        }
        if (got == 0) {
            break;
        }
        if (text->size() + static_cast<size_t>(got) > limit) {
            *error = path + " is too large to be " + what;
            close(descriptor);
            return false;
        }
        text->append(buffer.data(), static_cast<size_t>(got));
    }
    close(descriptor);
    return true;
}
