// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/pgm_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/atomic_file.h"

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

// The bytes left to read, up to a bound far past any radio file; -1 with errno on failure.
ssize_t CountToEnd(int descriptor) {
    constexpr ssize_t kCountedAtMost = 16 * 1024 * 1024;
    std::array<uint8_t, 4096> buffer{};
    ssize_t total = 0;
    while (total < kCountedAtMost) {
        ssize_t got = ReadFully(descriptor, buffer.data(), buffer.size());
        if (got <= 0) {
            return got < 0 ? -1 : total;
        }
        total += got;
    }
    return total;
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

PgmLoadResult LoadPgmFile(const std::string& path, PgmFile* file, std::string* error,
                          size_t* fileSize) {
    // Non-blocking, so that a FIFO given by mistake is refused instead of hanging the program.
    int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        SetError(error, "Cannot open " + path + ": " + SystemMessage(errno));
        return PgmLoadResult::Failed;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        SetError(error, "Cannot open " + path + ": " + SystemMessage(errno));
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
    // Files under /proc say they are empty: their length is what a read to the end gives.
    ssize_t rest = count == static_cast<ssize_t>(kPgmFileSize) && status.st_size == 0
                       ? CountToEnd(descriptor)
                       : 0;
    int readError = errno;
    close(descriptor);
    if (count >= 0 && rest >= 0 && fileSize != nullptr) {
        *fileSize = status.st_size > 0 ? static_cast<size_t>(status.st_size)
                                       : static_cast<size_t>(count + rest);
    }
    if (count < 0 || rest < 0) {
        SetError(error, "Cannot read " + path + ": " + SystemMessage(readError));
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

bool IsWholePgmFile(const std::string& path, PgmLoadResult result, size_t fileSize,
                    std::string* error) {
    if (result == PgmLoadResult::Failed) {
        return false;
    }
    if (fileSize == 0) {
        SetError(error, path + " is empty");
        return false;
    }
    if (result == PgmLoadResult::ForeignHeader) {
        return false;
    }
    if (fileSize <= kPgmHeaderSize) {
        SetError(error, path + " holds only a file header and no radio data");
        return false;
    }
    if (fileSize != kPgmFileSize) {
        SetError(error, path + " is " + std::to_string(fileSize) + " bytes long instead of " +
                            std::to_string(kPgmFileSize) +
                            (fileSize < kPgmFileSize ? ": it is cut short"
                                                     : ": it is not one radio image"));
        return false;
    }
    return true;
}

bool SavePgmFile(const std::string& path, const PgmFile& file, std::string* error) {
    std::string contents(file.header.begin(), file.header.end());
    contents.append(file.image.begin(), file.image.end());
    return ReplaceFileContents(path, contents, error);
}
