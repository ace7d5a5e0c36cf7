// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_streams.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>

namespace {

// Far above any file a command reads, low enough that a wrong stream cannot exhaust the memory.
constexpr size_t kLargestStandardInput = 64 * 1024 * 1024;

std::string standardInputPath;

// std::cout on descriptor 1, keeping the first error a write met; by line on a terminal.
class CheckedOutput : public std::streambuf {
public:
    void Start() {
        m_ByLine = isatty(STDOUT_FILENO) == 1;
        m_Previous = std::cout.rdbuf(this);
    }
    void Stop() {
        if (m_Previous != nullptr) {
            std::cout.rdbuf(m_Previous);
            m_Previous = nullptr;
        }
    }
    void MarkClosed() { m_Closed = true; }
    bool Closed() const { return m_Closed; }
    int Error() const { return m_Error; }

protected:
    int overflow(int character) override {
        if (character == traits_type::eof()) {
            return Flush() ? 0 : traits_type::eof();
        }
        m_Pending.push_back(static_cast<char>(character));
        bool full = m_Pending.size() >= kBufferSize || (m_ByLine && character == '\n');
        return !full || Flush() ? character : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        m_Pending.append(text, static_cast<size_t>(count));
        bool full = m_Pending.size() >= kBufferSize ||
                    (m_ByLine && std::string_view(text, static_cast<size_t>(count)).find('\n') !=
                                     std::string_view::npos);
        return !full || Flush() ? count : 0;
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    static constexpr size_t kBufferSize = 16384;

    bool Flush() {
        if (m_Pending.empty()) {
            return m_Error == 0;
        }
        if (m_Closed && m_Error == 0) {
            m_Error = EBADF;
        }
        size_t done = 0;
        while (m_Error == 0 && done < m_Pending.size()) {
            ssize_t count = write(STDOUT_FILENO, m_Pending.data() + done, m_Pending.size() - done);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                m_Error = count < 0 ? errno : ENOSPC;
                break;
            }
            done += static_cast<size_t>(count);
        }
        m_Pending.clear();
        return m_Error == 0;
    }

    std::string m_Pending;
    std::streambuf* m_Previous = nullptr;
    bool m_ByLine = false;
    bool m_Closed = false;
    int m_Error = 0;
};

CheckedOutput checkedOutput;

bool IsClosed(int descriptor) {
    return fcntl(descriptor, F_GETFD) < 0 && errno == EBADF;
}

void Occupy(int descriptor, const char* device, int flags) {
    int opened = open(device, flags | O_CLOEXEC);
    if (opened >= 0 && opened != descriptor) {
        dup2(opened, descriptor);
        close(opened);
    } else if (opened == descriptor) {
        fcntl(descriptor, F_SETFD, 0);
    }
}

}  // namespace

void StartStandardOutput() {
    bool closed[3] = {IsClosed(STDIN_FILENO), IsClosed(STDOUT_FILENO), IsClosed(STDERR_FILENO)};
    if (closed[0]) {
        Occupy(STDIN_FILENO, "/dev/null", O_RDONLY);
    }
    if (closed[1]) {
        checkedOutput.MarkClosed();
        Occupy(STDOUT_FILENO, "/dev/full", O_WRONLY);
        if (IsClosed(STDOUT_FILENO)) {
            Occupy(STDOUT_FILENO, "/dev/null", O_WRONLY);
        }
    }
    if (closed[2]) {
        Occupy(STDERR_FILENO, "/dev/null", O_WRONLY);
    }
    checkedOutput.Start();
}

bool FinishStandardOutput(std::string* error) {
    std::cout.flush();
    checkedOutput.Stop();
    int failure = checkedOutput.Error();
    // What went through C's stdio (the station's lines) is checked as well.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        failure = failure != 0 ? failure : errno != 0 ? errno : EIO;
    }
    if (std::fclose(stdout) != 0 && failure == 0 && !checkedOutput.Closed()) {
        failure = errno;
    }
    if (failure == 0) {
        return true;
    }
    *error = "cannot write to standard output: ";
    *error += checkedOutput.Closed() ? "it is closed" : std::strerror(failure);
    *error += "; what was printed is incomplete";
    return false;
}

bool TakeStandardInput(std::string* path, std::string* error) {
    int memory = memfd_create("standard input", MFD_CLOEXEC);
    if (memory < 0) {
        *error = std::string("cannot keep standard input: ") + std::strerror(errno);
        return false;
    }
    std::array<char, 65536> buffer{};
    size_t total = 0;
    while (true) {
        ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            *error = std::string("cannot read standard input: ") + std::strerror(errno);
            close(memory);
            return false;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<size_t>(got);
        if (total > kLargestStandardInput) {
            *error = "standard input holds more than 64 MiB: it is no radio file";
            close(memory);
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            ssize_t put = write(memory, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                *error = std::string("cannot keep standard input: ") +
                         std::strerror(put < 0 ? errno : ENOSPC);
                close(memory);
                return false;
            }
            done += put;
        }
    }
    // The descriptor stays open for the whole run: the readers open it by this name.
    *path = "/proc/self/fd/" + std::to_string(memory);
    standardInputPath = *path;
    return true;
}

std::string NameStandardInput(std::string text) {
    if (standardInputPath.empty()) {
        return text;
    }
    for (size_t at = text.find(standardInputPath); at != std::string::npos;
         at = text.find(standardInputPath, at)) {
        text.replace(at, standardInputPath.size(), "standard input");
    }
    return text;
}
