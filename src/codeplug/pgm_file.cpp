#include "codeplug/pgm_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>

namespace {

std::string SystemMessage(int number) {
    return std::generic_category().message(number);
}

void SetError(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
}

// Reads until count bytes arrived or the file ended; -1 on a read error.
ssize_t ReadFully(int descriptor, uint8_t* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t got = read(descriptor, buffer + done, count - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool WriteFully(int descriptor, const uint8_t* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t put = write(descriptor, buffer + done, count - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            if (put == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

// Saving through a symbolic link updates the file it points to instead of replacing the link.
std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// A new file beside target that no other writer uses; -1 with errno set on failure.
int CreateTemporary(const std::string& target, std::string* temporaryPath) {
    static std::atomic<unsigned> counter{0};
    std::string directory = DirectoryOf(target);
    std::string base =
        target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporaryPath = directory + "/." + base + ".tmp-" + std::to_string(getpid()) + "-" +
                         std::to_string(counter.fetch_add(1));
        int descriptor =
            open(temporaryPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    errno = EEXIST;
    return -1;
}

bool SyncDirectory(const std::string& directory, std::string* error) {
    int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        SetError(error, "cannot open the folder " + directory + ": " + SystemMessage(errno));
        return false;
    }
    bool synced = fsync(descriptor) == 0;
    int syncError = errno;
    close(descriptor);
    if (!synced) {
        SetError(error, "cannot flush the folder " + directory + ": " + SystemMessage(syncError));
    }
    return synced;
}

}  // namespace

PgmFile NewPgmFile() {
    PgmFile file;
    file.header.fill(0);
    std::copy(kPgmOwnHeaderText.begin(), kPgmOwnHeaderText.end(), file.header.begin());
    file.image.fill(0xFF);
    return file;
}

bool HasPgmIdentification(const std::array<uint8_t, kPgmHeaderSize>& header) {
    return std::equal(kPgmIdentification.begin(), kPgmIdentification.end(), header.begin());
}

PgmLoadResult LoadPgmFile(const std::string& path, PgmFile* file, std::string* error) {
    // Non-blocking, so that a FIFO given by mistake is refused instead of hanging the program.
    int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        SetError(error, "cannot open " + path + ": " + SystemMessage(errno));
        return PgmLoadResult::Failed;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        SetError(error, "cannot open " + path + ": " + SystemMessage(errno));
        close(descriptor);
        return PgmLoadResult::Failed;
    }
    if (!S_ISREG(status.st_mode)) {
        SetError(error, path + (S_ISDIR(status.st_mode) ? " is a folder, not a radio data file"
                                                        : " is not a regular file"));
        close(descriptor);
        return PgmLoadResult::Failed;
    }
    std::array<uint8_t, kPgmFileSize> contents{};
    ssize_t count = ReadFully(descriptor, contents.data(), contents.size());
    int readError = errno;
    close(descriptor);
    if (count < 0) {
        SetError(error, "cannot read " + path + ": " + SystemMessage(readError));
        return PgmLoadResult::Failed;
    }
    PgmFile loaded = NewPgmFile();
    size_t length = static_cast<size_t>(count);
    if (length == 0) {
        *file = loaded;
        return PgmLoadResult::Loaded;
    }
    std::array<uint8_t, kPgmHeaderSize> header = loaded.header;
    std::copy_n(contents.begin(), std::min(length, kPgmHeaderSize), header.begin());
    // A file too short to hold the identification must not pass on the bytes we filled in.
    if (length < kPgmIdentification.size() || !HasPgmIdentification(header)) {
        *file = loaded;
        SetError(error, path + " is not a radio data file");
        return PgmLoadResult::ForeignHeader;
    }
    loaded.header = header;
    if (length > kPgmHeaderSize) {
        std::copy_n(contents.begin() + kPgmHeaderSize, length - kPgmHeaderSize,
                    loaded.image.begin());
    }
    *file = loaded;
    return PgmLoadResult::Loaded;
}

bool SavePgmFile(const std::string& path, const PgmFile& file, std::string* error) {
    std::string target = ResolveTarget(path);
    struct stat existing {};
    bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        SetError(error, "cannot save to " + path + ": it is not a regular file");
        return false;
    }
    std::string temporaryPath;
    int descriptor = CreateTemporary(target, &temporaryPath);
    if (descriptor < 0) {
        SetError(error, "cannot save to " + path + ": " + SystemMessage(errno));
        return false;
    }
    std::array<uint8_t, kPgmFileSize> contents;
    std::copy(file.header.begin(), file.header.end(), contents.begin());
    std::copy(file.image.begin(), file.image.end(), contents.begin() + kPgmHeaderSize);
    bool written = (!exists || fchmod(descriptor, existing.st_mode & 07777) == 0) &&
                   WriteFully(descriptor, contents.data(), contents.size()) &&
                   fsync(descriptor) == 0;
    int writeError = errno;
    if (close(descriptor) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (written && rename(temporaryPath.c_str(), target.c_str()) != 0) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        unlink(temporaryPath.c_str());
        SetError(error, "cannot save to " + path + ": " + SystemMessage(writeError));
        return false;
    }
    return SyncDirectory(DirectoryOf(target), error);
}
