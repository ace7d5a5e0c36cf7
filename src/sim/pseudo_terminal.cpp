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

// Takes the lock file beside linkPath; -1 with a message when another radio holds it. The
// file is checked after locking because the holder removes it as it stops.
int TakeLinkLock(const std::string& linkPath, std::string* error) {
    std::string lockPath = linkPath + ".lock";
    for (;;) {
        int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            Fail("cannot create the lock " + lockPath, error);
            return -1;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            bool held = errno == EWOULDBLOCK;
            if (held && error) {
                *error = linkPath + " is served by another running virtual radio (" + lockPath +
                         " is locked); stop it first or choose another port";
            } else {
                Fail("cannot lock " + lockPath, error);
            }
            close(fd);
            return -1;
        }
        struct stat locked {};
        struct stat named {};
        if (fstat(fd, &locked) == 0 && stat(lockPath.c_str(), &named) == 0 &&
            locked.st_ino == named.st_ino && locked.st_dev == named.st_dev) {
            return fd;
        }
        close(fd);
    }
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    Unlink();
    Close();
}

bool PseudoTerminal::Open(std::string* error) {
    Close();
    m_Master = posix_openpt(O_RDWR | O_NOCTTY);
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
    m_Slave = open(name, O_RDWR | O_NOCTTY);
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
        close(lock);
        return false;
    }
    if (rename(temporary.c_str(), linkPath.c_str()) != 0) {
        Fail("cannot create the link " + linkPath, error);
        unlink(temporary.c_str());
        close(lock);
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
        unlink((m_LinkPath + ".lock").c_str());
        close(m_LockFd);
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
