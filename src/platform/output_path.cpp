// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/output_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

// The file is written as a temporary file in its folder, then renamed: make one now, so a
// folder that takes no new files fails before anything slow starts.
bool FolderTakesNewFiles(const std::string& path, const std::string& folder, std::string* error) {
    std::string probe = folder + "/.halvex-probe-XXXXXX";
    int descriptor = mkstemp(probe.data());
    if (descriptor < 0) {
        return Fail(error, "cannot write " + path + ": no new file can be made in " + folder +
                               " (" + std::strerror(errno) + ")");
    }
    close(descriptor);
    unlink(probe.c_str());
    return true;
}

}  // namespace

bool IsFollowableOutputLink(const std::string& path, std::string* error) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return true;
    }
    struct stat folder {};
    if (stat(FolderOf(path).c_str(), &folder) != 0) {
        return true;
    }
    bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (!shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid) {
        return true;
    }
    return Fail(error, path +
                           " is a symbolic link owned by another user in a shared folder; it was "
                           "not followed, choose another file name");
}

bool CheckOutputPath(const std::string& path, const std::vector<std::string>& inputs,
                     std::string* error) {
    if (path.empty()) {
        return Fail(error, "the output file name is empty");
    }
    std::string folder = FolderOf(path);
    struct stat folderStatus {};
    if (stat(folder.c_str(), &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode)) {
        return Fail(error, "cannot write " + path + ": the folder " + folder + " does not exist");
    }
    if (!IsFollowableOutputLink(path, error)) {
        return false;
    }
    struct stat output {};
    if (stat(path.c_str(), &output) != 0) {
        return FolderTakesNewFiles(path, folder, error);
    }
    if (S_ISDIR(output.st_mode)) {
        return Fail(error, "cannot write " + path + ": it is a folder; give a file name");
    }
    if (!S_ISREG(output.st_mode)) {
        return Fail(error, "cannot write " + path + ": it is not a regular file");
    }
    for (const std::string& input : inputs) {
        struct stat inputStatus {};
        if (stat(input.c_str(), &inputStatus) == 0 && inputStatus.st_dev == output.st_dev &&
            inputStatus.st_ino == output.st_ino) {
            return Fail(error, "cannot write " + path + ": it is " + input +
                                   ", which this command reads; give another file name");
        }
    }
    // Replacing it by rename would work, but a save keeps a read-only file as it is.
    if (access(path.c_str(), W_OK) != 0 || (output.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return Fail(error, "cannot write " + path + ": the file is read-only");
    }
    return FolderTakesNewFiles(path, folder, error);
}
