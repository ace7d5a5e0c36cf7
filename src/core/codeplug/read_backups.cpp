// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/read_backups.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr std::string_view kPrefix = "radio-";
constexpr std::string_view kExtension = ".pgm";
// Backups hold the user's radio: only the user may read them.
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
// Names tried for one second before giving up; parallel reads need far fewer.
constexpr int kMaxCopies = 1000;

std::string SystemMessage(int number) {
    return std::error_code(number, std::generic_category()).message();
}

bool CreateFolders(const std::string& folder, std::string* error) {
    std::error_code failure;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), failure);
    if (!failure && mkdir(folder.c_str(), kFolderMode) != 0 && errno != EEXIST) {
        failure = std::error_code(errno, std::generic_category());
    }
    struct stat status {};
    if (!failure && lstat(folder.c_str(), &status) != 0) {
        failure = std::error_code(errno, std::generic_category());
    }
    if (failure) {
        *error = "cannot create the backup folder " + folder + ": " + failure.message();
        return false;
    }
    struct stat followed = status;
    if (S_ISLNK(status.st_mode) && stat(folder.c_str(), &followed) != 0) {
        *error = "the backup folder " + folder + " is a link to nothing";
        return false;
    }
    if (!S_ISDIR(followed.st_mode)) {
        *error = "the backup folder " + folder + " is a file, not a folder; it was left as it is";
        return false;
    }
    // A folder made before backups were private is closed now; a folder of another user, or
    // one the user linked to, is theirs to keep as it is.
    if (S_ISDIR(status.st_mode) && (status.st_mode & 077) != 0 && status.st_uid == geteuid() &&
        chmod(folder.c_str(), kFolderMode) != 0) {
        *error = "cannot make the backup folder " + folder + " private: " + SystemMessage(errno);
        return false;
    }
    return true;
}

std::string Stamp(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

bool IsBackupName(const std::string& name) {
    return name.starts_with(kPrefix) && name.ends_with(kExtension);
}

bool WriteAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t written = write(fd, contents.data() + done, contents.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return fsync(fd) == 0;
}

// Creates a name no other backup holds: an exclusive create, so two reads in one second (even
// in two processes) each get their own file. The descriptor is open for writing, or -1.
int CreateUnique(const std::string& stem, std::string* path, std::string* error) {
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
        std::string candidate = stem;
        if (copy > 1) {
            candidate += '_';
            candidate += std::to_string(copy);
        }
        candidate += kExtension;
        int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
        if (fd >= 0) {
            *path = candidate;
            return fd;
        }
        if (errno != EEXIST) {
            *error = "the backup was not written: " + candidate + ": " + SystemMessage(errno);
            return -1;
        }
    }
    *error = "the backup was not written: too many backups named " + stem;
    return -1;
}

struct Backup {
    std::filesystem::file_time_type written;
    std::string name;
};

// Oldest first by the files' own times, so a clock or time-zone change that makes names sort
// wrongly removes no newer backup; the one just written is never removed.
void RemoveOldBackups(const std::string& folder, const std::string& keep) {
    std::vector<Backup> backups;
    std::error_code failure;
    std::string keepName = std::filesystem::path(keep).filename().string();
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(failure) || !IsBackupName(name) || name == keepName) {
            continue;
        }
        auto written = entry.last_write_time(failure);
        if (!failure) {
            backups.push_back({written, name});
        }
    }
    if (backups.size() < kBackupsKept) {
        return;
    }
    std::sort(backups.begin(), backups.end(), [](const Backup& a, const Backup& b) {
        return a.written != b.written ? a.written < b.written : a.name < b.name;
    });
    for (size_t k = 0; k + kBackupsKept - 1 < backups.size(); ++k) {
        std::filesystem::remove(std::filesystem::path(folder) / backups[k].name, failure);
    }
}

}  // namespace

bool WriteReadBackup(const std::string& folder, const PgmFile& file, std::time_t now,
                     std::string* path, std::string* error) {
    if (folder.empty()) {
        *error = "no backup folder: neither XDG_STATE_HOME nor HOME is set";
        return false;
    }
    if (!CreateFolders(folder, error)) {
        return false;
    }
    std::string stem = folder + "/" + std::string(kPrefix) + Stamp(now);
    std::string candidate;
    int fd = CreateUnique(stem, &candidate, error);
    if (fd < 0) {
        return false;
    }
    std::string contents(file.header.begin(), file.header.end());
    contents.append(file.image.begin(), file.image.end());
    bool written = WriteAll(fd, contents);
    int writeError = errno;
    if (close(fd) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        unlink(candidate.c_str());
        *error = "the backup was not written: " + candidate + ": " + SystemMessage(writeError);
        return false;
    }
    *path = candidate;
    RemoveOldBackups(folder, candidate);
    return true;
}

bool KeepReadBackup(const std::string& folder, const std::array<uint8_t, kImageSize>& image,
                    std::string* error) {
    PgmFile backup = NewPgmFile();
    backup.image = image;
    std::string path;
    return WriteReadBackup(folder, backup, std::time(nullptr), &path, error);
}
