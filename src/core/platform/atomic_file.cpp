// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

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

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr size_t kRandomPart = 6;

// A temporary whose writer is gone: its writer holds a lock on it from its creation to its
// rename, so one we can lock belongs to a write that was killed. Only our own files are taken.
void RemoveStaleTemporaries(const std::string& folder, const std::string& pattern) {
    const std::string prefix = pattern.substr(0, pattern.size() - kRandomPart);
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        std::string_view name = entry->d_name;
        if (name.size() != pattern.size() || !name.starts_with(prefix)) {
            continue;
        }
        std::string stale = folder + "/" + std::string(name);
        int descriptor = open(stale.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) {
            continue;
        }
        struct stat status {};
        if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
            status.st_uid == geteuid() && flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            unlink(stale.c_str());
        }
        close(descriptor);
    }
    closedir(listing);
}

// A temporary made and locked; a cleaner may have taken it between the two, so try again then.
int CreateLockedTemporary(const std::string& pattern, std::string* temporary) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string name = pattern;
        int descriptor = mkostemp(name.data(), O_CLOEXEC);
        if (descriptor < 0) {
            return -1;
        }
        struct stat status {};
        if (flock(descriptor, LOCK_EX) == 0 && fstat(descriptor, &status) == 0 &&
            status.st_nlink > 0) {
            *temporary = name;
            return descriptor;
        }
        close(descriptor);
    }
    errno = EAGAIN;
    return -1;
}

// Refusals that leave the replacement ours: a user may not give a file away, and some file
// systems (FAT on a memory stick) keep no owners at all.
bool IsOwnerRefusal(int errorNumber) {
    return errorNumber == EPERM || errorNumber == EINVAL || errorNumber == EOPNOTSUPP;
}

// The existing file's owner and group go to its replacement, as far as we may give them.
bool KeepOwner(int descriptor, const struct stat& existing) {
    if (existing.st_uid == geteuid() && existing.st_gid == getegid()) {
        return true;
    }
    if (fchown(descriptor, existing.st_uid, existing.st_gid) == 0) {
        return true;
    }
    if (!IsOwnerRefusal(errno)) {
        return false;
    }
    return fchown(descriptor, static_cast<uid_t>(-1), existing.st_gid) == 0 ||
           IsOwnerRefusal(errno);
}

}  // namespace

std::string TemporaryNamePattern(const std::string& name, size_t longestName) {
    const size_t added = 1 + kTemporaryMark.size() + kRandomPart;
    size_t kept = name.size();
    if (kept + added > longestName) {
        kept = longestName > added ? longestName - added : 0;
        // Never half a UTF-8 character.
        while (kept > 0 && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80) {
            --kept;
        }
    }
    std::string pattern(1, '.');
    pattern.append(name, 0, kept);
    pattern.append(kTemporaryMark);
    pattern.append(kRandomPart, 'X');
    return pattern;
}

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error) {
    std::string target;
    if (!ResolveOutputTarget(path, &target, error)) {
        return false;
    }
    struct stat existing {};
    bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return Fail(error, "Cannot write " + path + ": it is not a regular file");
    }

    const std::string folder = DirectoryOf(target);
    const std::string pattern =
        folder + "/" + TemporaryNamePattern(NameOf(target), LongestNameIn(folder));
    RemoveStaleTemporaries(folder, NameOf(pattern));
    std::string temporary;
    int descriptor = CreateLockedTemporary(pattern, &temporary);
    if (descriptor < 0) {
        return Fail(error, "Cannot create a temporary file beside " + path, errno);
    }
    // The lock lasts until the rename, through this second descriptor.
    int lock = dup(descriptor);

    // chown clears the set-id bits, so the mode comes after it.
    mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
    bool written = lock >= 0 && (!exists || KeepOwner(descriptor, existing)) &&
                   fchmod(descriptor, mode) == 0 && WriteAll(descriptor, contents) &&
                   fsync(descriptor) == 0;
    int writeError = errno;
    if (close(descriptor) != 0 && written) {
        written = false;
        writeError = errno;
    }
    bool renamed = written && rename(temporary.c_str(), target.c_str()) == 0;
    int renameError = errno;
    if (!renamed) {
        unlink(temporary.c_str());
    }
    if (lock >= 0) {
        close(lock);
    }
    if (!written) {
        return Fail(error, "Cannot write " + path, writeError);
    }
    if (!renamed) {
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
