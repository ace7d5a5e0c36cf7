// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/output_path.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

bool Fail(std::string* error, const std::string& message, int errorNumber) {
    return Fail(error, message + ": " + std::strerror(errorNumber));
}

// The file the caller means: the target of a symbolic link, so the link survives.
std::string ResolveTarget(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int descriptor, std::string_view contents) {
    size_t written = 0;
    while (written < contents.size()) {
        ssize_t count = write(descriptor, contents.data() + written, contents.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            if (count == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error) {
    if (!IsFollowableOutputLink(path, error)) {
        return false;
    }
    std::string target = ResolveTarget(path);
    struct stat existing {};
    bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return Fail(error, "Cannot write " + path + ": it is not a regular file");
    }

    std::string pattern = target + ".XXXXXX";
    std::vector<char> temporaryName(pattern.begin(), pattern.end());
    temporaryName.push_back('\0');
    int descriptor = mkstemp(temporaryName.data());
    if (descriptor < 0) {
        return Fail(error, "Cannot create a temporary file beside " + path, errno);
    }
    std::string temporary(temporaryName.data());

    mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
    bool written =
        fchmod(descriptor, mode) == 0 && WriteAll(descriptor, contents) && fsync(descriptor) == 0;
    int writeError = errno;
    if (close(descriptor) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        return Fail(error, "Cannot write " + path, writeError);
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        int renameError = errno;
        unlink(temporary.c_str());
        return Fail(error, "Cannot replace " + path, renameError);
    }

    // The rename itself only lasts a power cut once the directory is on the disk too.
    int directory = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) {
        return Fail(error, "Wrote " + path + " but cannot flush its directory", errno);
    }
    bool flushed = fsync(directory) == 0;
    int flushError = errno;
    close(directory);
    return flushed || Fail(error, "Wrote " + path + " but cannot flush its directory", flushError);
}
