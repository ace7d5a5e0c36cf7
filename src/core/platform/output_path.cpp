// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/output_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// As many links as the kernel follows in one lookup.
constexpr int kLongestLinkChain = 40;

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

bool NameFits(const std::string& path, const std::string& target, std::string* error) {
    if (target.size() >= PATH_MAX) {
        return Fail(error, "cannot write " + path + ": the path is " +
                               std::to_string(target.size()) + " bytes long, more than the " +
                               std::to_string(PATH_MAX - 1) + " the system allows");
    }
    std::string name = NameOf(target);
    size_t longest = LongestNameIn(FolderOf(target));
    if (name.size() > longest) {
        return Fail(error, "cannot write " + path + ": the file name is " +
                               std::to_string(name.size()) + " bytes long, more than the " +
                               std::to_string(longest) + " its folder allows");
    }
    return true;
}

}  // namespace

size_t LongestNameIn(const std::string& folder) {
    long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<size_t>(longest) : NAME_MAX;
}

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

bool ResolveOutputTarget(const std::string& path, std::string* target, std::string* error) {
    std::string current = path;
    for (int hop = 0; hop <= kLongestLinkChain; ++hop) {
        struct stat status {};
        if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            *target = current;
            return true;
        }
        if (!IsFollowableOutputLink(current, error)) {
            return false;
        }
        std::string link(static_cast<size_t>(status.st_size) + 1, '\0');
        ssize_t length = readlink(current.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) >= link.size()) {
            return Fail(error, "cannot write " + path + ": the link " + current +
                                   " cannot be read (" + std::strerror(length < 0 ? errno : EIO) +
                                   ")");
        }
        link.resize(static_cast<size_t>(length));
        current = link.starts_with('/') ? link : FolderOf(current) + "/" + link;
    }
    return Fail(error, "cannot write " + path +
                           ": its symbolic links go round in a loop or are "
                           "more than " +
                           std::to_string(kLongestLinkChain) + " deep");
}

bool CheckOutputPath(const std::string& path, const std::vector<std::string>& inputs,
                     std::string* error) {
    if (path.empty()) {
        return Fail(error, "the output file name is empty");
    }
    std::string target;
    if (!ResolveOutputTarget(path, &target, error) || !NameFits(path, target, error)) {
        return false;
    }
    std::string folder = FolderOf(target);
    struct stat folderStatus {};
    if (stat(folder.c_str(), &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode)) {
        return Fail(error, "cannot write " + path + ": the folder " + folder + " does not exist");
    }
    struct stat output {};
    if (stat(target.c_str(), &output) != 0) {
        if (errno != ENOENT) {
            return Fail(error, "cannot write " + path + ": " + std::strerror(errno));
        }
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
    if (access(target.c_str(), W_OK) != 0 ||
        (output.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return Fail(error, "cannot write " + path + ": the file is read-only");
    }
    return FolderTakesNewFiles(path, folder, error);
}

std::string WithExtension(const std::string& path, std::string_view extension) {
    const size_t dot = path.rfind('.');
    if (path.empty() || dot == std::string::npos || path.find('/', dot) != std::string::npos) {
        return path;
    }
    return path.substr(0, dot) + std::string(extension);
}
