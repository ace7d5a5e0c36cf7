// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_status.h"

#include <sys/stat.h>

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
