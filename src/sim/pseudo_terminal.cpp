// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool Fail(const std::string& what, std::string* error) {
    if (error) {
        *error = what + ": " + std::strerror(errno);
    }
    return false;
}

std::string ParentDirectory(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// What a lock file of ours holds, so that one left by a radio that died can be told from a
// file of the user's that happens to have the name.
constexpr char kLockMark[] = "radio-sim lock";

bool HoldsLockMark(int fd) {
    char text[64] = {};
    ssize_t length = pread(fd, text, sizeof text - 1, 0);
    return length >= static_cast<ssize_t>(sizeof kLockMark - 1) &&
           std::strncmp(text, kLockMark, sizeof kLockMark - 1) == 0 &&
           std::memchr(text, '\n', static_cast<size_t>(length)) != nullptr;
}

bool NamesFile(const std::string& path, int fd) {
    struct stat opened {};
    struct stat named {};
    return fstat(fd, &opened) == 0 && lstat(path.c_str(), &named) == 0 &&
           opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
}

// Creates the lock file beside linkPath and holds it; -1 with a message when another radio
// holds it or the name is taken by a file that is not our lock. A lock left by a radio that
// died is removed first, under its own lock, so two radios starting at once never share one.
int TakeLinkLock(const std::string& linkPath, std::string* error) {
    std::string lockPath = linkPath + ".lock";
    // Each round either creates the lock or removes a stale one: a few rounds lose only to
    // other radios starting on the same name all the while.
    for (int round = 0; round < 8; ++round) {
        int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            std::string mark = std::string(kLockMark) + " of process " + std::to_string(getpid());
            mark += '\n';
            if (flock(fd, LOCK_EX | LOCK_NB) != 0 ||
                write(fd, mark.data(), mark.size()) != static_cast<ssize_t>(mark.size())) {
                Fail("cannot write the lock " + lockPath, error);
                unlink(lockPath.c_str());
                close(fd);
                return -1;
            }
            return fd;
        }
        if (errno != EEXIST) {
            Fail("cannot create the lock " + lockPath, error);
            return -1;
        }
        int existing = open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (existing < 0 && errno == ENOENT) {
            continue;
        }
        if (existing < 0) {
            Fail(lockPath + " exists and cannot be read; it was left alone", error);
            return -1;
        }
        if (flock(existing, LOCK_EX | LOCK_NB) != 0) {
            bool held = errno == EWOULDBLOCK;
            if (held && error) {
                *error = linkPath + " is served by another running virtual radio (" + lockPath +
                         " is locked); stop it first or choose another port";
            } else {
                Fail("cannot lock " + lockPath, error);
            }
            close(existing);
            return -1;
        }
        if (!NamesFile(lockPath, existing)) {
            // Removed or replaced by a radio that took it over meanwhile: look again.
            close(existing);
            continue;
        }
        if (!HoldsLockMark(existing)) {
            close(existing);
            if (error) {
                *error = lockPath + " exists and is not a virtual radio's lock; it was left " +
                         "alone: remove it or choose another port";
            }
            return -1;
        }
        unlink(lockPath.c_str());
        close(existing);
    }
    if (error) {
        *error = "cannot take the lock " + lockPath + ": other virtual radios keep starting there";
    }
    return -1;
}

// Removes the lock file only while it is still the one fd holds.
void ReleaseLinkLock(const std::string& linkPath, int fd) {
    std::string lockPath = linkPath + ".lock";
    if (NamesFile(lockPath, fd)) {
        unlink(lockPath.c_str());
    }
    close(fd);
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    Unlink();
    Close();
}

bool PseudoTerminal::Open(std::string* error) {
    Close();
    // Never inherited: a program started beside the radio would keep the line from hanging
    // up when the radio goes.
    m_Master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_Master < 0) {
        return Fail("cannot create a pseudo-terminal", error);
    }
    char name[128];
    if (grantpt(m_Master) != 0 || unlockpt(m_Master) != 0 ||
        ptsname_r(m_Master, name, sizeof name) != 0) {
        Fail("cannot unlock the pseudo-terminal", error);
        Close();
        return false;
    }
    m_SlavePath = name;
    m_Slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_Slave < 0) {
        Fail("cannot open " + m_SlavePath, error);
        Close();
        return false;
    }
    // Raw once, from our side: no echo, no line editing, no translation of CR and LF.
    termios settings{};
    if (tcgetattr(m_Slave, &settings) != 0) {
        Fail("cannot read the settings of " + m_SlavePath, error);
        Close();
        return false;
    }
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    int flags = fcntl(m_Master, F_GETFL);
    if (tcsetattr(m_Slave, TCSANOW, &settings) != 0 || flags < 0 ||
        fcntl(m_Master, F_SETFL, flags | O_NONBLOCK) != 0) {
        Fail("cannot set up " + m_SlavePath, error);
        Close();
        return false;
    }
    return true;
}

bool PseudoTerminal::Link(const std::string& linkPath, std::string* error) {
    std::string directory = ParentDirectory(linkPath);
    if (mkdir(directory.c_str(), 0755) != 0 && errno != EEXIST) {
        return Fail("cannot create the directory " + directory, error);
    }
    struct stat existing {};
    if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        if (error) {
            *error = linkPath + " exists and is not a link; it was left alone";
        }
        return false;
    }
    int lock = TakeLinkLock(linkPath, error);
    if (lock < 0) {
        return false;
    }
    // Link under a private name and rename over the old link, so the name never dangles.
    std::string temporary = linkPath + ".new" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(m_SlavePath.c_str(), temporary.c_str()) != 0) {
        Fail("cannot create the link " + linkPath, error);
        ReleaseLinkLock(linkPath, lock);
        return false;
    }
    if (rename(temporary.c_str(), linkPath.c_str()) != 0) {
        Fail("cannot create the link " + linkPath, error);
        unlink(temporary.c_str());
        ReleaseLinkLock(linkPath, lock);
        return false;
    }
    m_LinkPath = linkPath;
    m_LockFd = lock;
    return true;
}

void PseudoTerminal::Unlink() {
    if (m_LinkPath.empty()) {
        return;
    }
    char target[256];
    ssize_t length = readlink(m_LinkPath.c_str(), target, sizeof target - 1);
    if (length >= 0 && std::string(target, length) == m_SlavePath) {
        unlink(m_LinkPath.c_str());
    }
    if (m_LockFd >= 0) {
        ReleaseLinkLock(m_LinkPath, m_LockFd);
        m_LockFd = -1;
    }
    m_LinkPath.clear();
}

void PseudoTerminal::Close() {
    if (m_Slave >= 0) {
        close(m_Slave);
        m_Slave = -1;
    }
    if (m_Master >= 0) {
        close(m_Master);
        m_Master = -1;
    }
}
