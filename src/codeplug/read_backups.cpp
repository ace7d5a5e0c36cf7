#include "codeplug/read_backups.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr std::string_view kPrefix = "radio-";
constexpr std::string_view kExtension = ".pgm";

bool CreateFolders(const std::string& folder, std::string* error) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        *error = "cannot create the backup folder " + folder + ": " + failure.message();
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

// Names sort by their time stamp; a second backup within one second gets a "_2" suffix, which
// sorts after the first.
void RemoveOldBackups(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file(failure) && IsBackupName(name)) {
            names.push_back(name);
        }
    }
    if (names.size() <= kBackupsKept) {
        return;
    }
    std::sort(names.begin(), names.end());
    for (size_t k = 0; k + kBackupsKept < names.size(); ++k) {
        std::filesystem::remove(std::filesystem::path(folder) / names[k], failure);
    }
}

}  // namespace

std::string DefaultBackupFolder(const char* xdgStateHome, const char* home) {
    std::string base;
    if (xdgStateHome != nullptr && xdgStateHome[0] == '/') {
        base = xdgStateHome;
    } else if (home != nullptr && home[0] == '/') {
        base = std::string(home) + "/.local/state";
    } else {
        return {};
    }
    return base + "/halvex/backups";
}

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
    std::string candidate = stem + std::string(kExtension);
    struct stat existing {};
    for (int copy = 2; lstat(candidate.c_str(), &existing) == 0; ++copy) {
        candidate = stem + "_" + std::to_string(copy) + std::string(kExtension);
    }
    std::string saveError;
    if (!SavePgmFile(candidate, file, &saveError)) {
        *error = "the backup was not written: " + saveError;
        return false;
    }
    *path = candidate;
    RemoveOldBackups(folder);
    return true;
}

bool KeepReadBackup(const std::string& folder, const std::array<uint8_t, kImageSize>& image,
                    std::string* error) {
    PgmFile backup = NewPgmFile();
    backup.image = image;
    std::string path;
    return WriteReadBackup(folder, backup, std::time(nullptr), &path, error);
}
