// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/connection_doctor.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "config/setting_definitions.h"
#include "link/doctor_answer.h"
#include "link/radio_connection.h"
#include "link/serial_port.h"

namespace {

bool IsCancelled(const CancelFlag* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_acquire) != 0;
}

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(gid);
}

bool Contains(const std::vector<gid_t>& groups, gid_t gid) {
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// Same device, whichever name leads to it.
bool SameDevice(const std::string& left, const std::string& right) {
    struct stat a {};
    struct stat b {};
    return stat(left.c_str(), &a) == 0 && stat(right.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

std::string LikelyAdapter(const std::vector<SerialDevice>& devices) {
    const SerialDevice* newest = nullptr;
    for (const SerialDevice& device : devices) {
        if (device.usb && (newest == nullptr || device.appearedAt > newest->appearedAt)) {
            newest = &device;
        }
    }
    if (newest == nullptr) {
        return {};
    }
    return newest->stablePath.empty() ? newest->path : newest->stablePath;
}

std::string ProcessName(const std::string& procRoot, const std::string& pid) {
    std::ifstream comm(procRoot + "/" + pid + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

KnownHolder HolderKind(const std::string& name) {
    if (name == "ModemManager") {
        return KnownHolder::ModemManager;
    }
    if (name == "brltty") {
        return KnownHolder::Brltty;
    }
    return KnownHolder::None;
}

struct Holder {
    pid_t pid = 0;
    std::string name;
};

bool IsProcessId(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The known services among the processes, in the order of KnownHolder, each once.
std::vector<KnownHolder> RunningServices(const std::string& procRoot) {
    std::vector<KnownHolder> running;
    DIR* processes = opendir(procRoot.c_str());
    if (processes == nullptr) {
        return running;
    }
    while (dirent* process = readdir(processes)) {
        const std::string pid = process->d_name;
        const KnownHolder kind =
            IsProcessId(pid) ? HolderKind(ProcessName(procRoot, pid)) : KnownHolder::None;
        if (kind != KnownHolder::None &&
            std::find(running.begin(), running.end(), kind) == running.end()) {
            running.push_back(kind);
        }
    }
    closedir(processes);
    std::sort(running.begin(), running.end());
    return running;
}

// Processes other than self with a descriptor on the character device rdev.
std::vector<Holder> FindHolders(const std::string& procRoot, dev_t rdev, pid_t self) {
    std::vector<Holder> holders;
    DIR* processes = opendir(procRoot.c_str());
    if (processes == nullptr) {
        return holders;
    }
    while (dirent* process = readdir(processes)) {
        std::string pid = process->d_name;
        if (!IsProcessId(pid) || std::stol(pid) == self) {
            continue;
        }
        std::string fdFolder = procRoot + "/" + pid + "/fd";
        DIR* descriptors = opendir(fdFolder.c_str());
        if (descriptors == nullptr) {
            continue;
        }
        bool holds = false;
        while (dirent* descriptor = readdir(descriptors)) {
            struct stat target {};
            if (descriptor->d_name[0] != '.' &&
                stat((fdFolder + "/" + descriptor->d_name).c_str(), &target) == 0 &&
                S_ISCHR(target.st_mode) && target.st_rdev == rdev) {
                holds = true;
                break;
            }
        }
        closedir(descriptors);
        if (holds) {
            holders.push_back({static_cast<pid_t>(std::stol(pid)), ProcessName(procRoot, pid)});
        }
    }
    closedir(processes);
    return holders;
}

// The process /proc/locks shows holding a lock on the file with the given device and inode,
// 0 when none does or the table cannot be read.
pid_t LockHolder(const std::string& procRoot, dev_t device, ino_t inode) {
    std::ifstream locks(procRoot + "/locks");
    std::string line;
    while (std::getline(locks, line)) {
        // "1: FLOCK  ADVISORY  WRITE 1234 00:19:7 0 EOF"; a waiter's line has "->" after the
        // number.
        std::istringstream fields(line);
        std::string number, kind, mode, access, file;
        long pid = 0;
        if (!(fields >> number >> kind) || kind == "->" ||
            !(fields >> mode >> access >> pid >> file) || pid <= 0) {
            continue;
        }
        unsigned int fileMajor = 0, fileMinor = 0;
        unsigned long long node = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%llu", &fileMajor, &fileMinor, &node) == 3 &&
            fileMajor == major(device) && fileMinor == minor(device) && node == inode) {
            return static_cast<pid_t>(pid);
        }
    }
    return 0;
}

class Doctor {
public:
    Doctor(const DoctorRequest& request, const DoctorSystem& system, const CancelFlag* cancel)
        : m_Request(request), m_System(system), m_Cancel(cancel) {
        m_Result.device = request.device;
        m_Result.port = request.port;
    }

    Diagnosis Run() {
        if (CheckPresent() && CheckOpen()) {
            if (IsCancelled(m_Cancel)) {
                m_Result.cause = DoctorCause::Cancelled;
            } else {
                CheckAnswer();
            }
        }
        if (m_Result.cause == DoctorCause::NoDevice || m_Result.cause == DoctorCause::Silent) {
            m_Result.runningServices = RunningServices(m_System.procRoot);
        }
        return m_Result;
    }

private:
    bool Stop(DoctorCause cause) {
        m_Result.cause = cause;
        return false;
    }

    bool CheckPresent() {
        struct stat status {};
        if (stat(m_Request.device.c_str(), &status) != 0) {
            int error = errno;
            if (error == ENOENT || error == ENOTDIR) {
                m_Result.candidates = ListSerialDevices(m_System.roots);
                m_Result.likely = LikelyAdapter(m_Result.candidates);
                return Stop(DoctorCause::NoDevice);
            }
            m_Result.openError = std::strerror(error);
            return Stop(DoctorCause::OpenFailed);
        }
        std::string notSerial = NotSerialPortReason(status);
        if (!notSerial.empty()) {
            m_Result.openError = notSerial;
            return Stop(DoctorCause::NotSerial);
        }
        m_Status = status;
        return true;
    }

    bool CheckOpen() {
        int fd = ::open(m_Request.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            int error = errno;
            if (error == EACCES || error == EPERM) {
                DescribePermission();
                return Stop(DoctorCause::NoPermission);
            }
            if (error == EBUSY) {
                return InUse(true);
            }
            if (error == ENOENT || error == ENXIO || error == ENODEV) {
                // A node whose adapter has gone: the same cure as a missing one.
                m_Result.candidates = ListSerialDevices(m_System.roots);
                m_Result.likely = LikelyAdapter(m_Result.candidates);
                return Stop(DoctorCause::NoDevice);
            }
            m_Result.openError = std::strerror(error);
            return Stop(DoctorCause::OpenFailed);
        }
        std::string notSerial = NotSerialPortReason(fd);
        if (!notSerial.empty()) {
            ::close(fd);
            m_Result.openError = notSerial;
            return Stop(DoctorCause::NotSerial);
        }
        bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(fd);
        return InUse(locked);
    }

    void DescribePermission() {
        gid_t gid = m_Status.st_gid;
        m_Result.group = GroupName(gid);
        m_Result.inLoginGroups = Contains(m_System.groups.login, gid);
        m_Result.groupMember = Contains(m_System.groups.member, gid);
        m_Result.groupMayOpen = (m_Status.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    }

    // A program holding the port locked stops every open; ModemManager and brltty take no
    // lock yet swallow what the radio says, so they count as holders as well. Other
    // unlocked descriptors are left alone: a terminal's own side may be held by design.
    bool InUse(bool held) {
        std::vector<Holder> holders =
            FindHolders(m_System.procRoot, m_Status.st_rdev, m_System.self);
        auto known = std::find_if(holders.begin(), holders.end(), [](const Holder& holder) {
            return HolderKind(holder.name) != KnownHolder::None;
        });
        if (!held && known == holders.end()) {
            return true;
        }
        const pid_t locker =
            held ? LockHolder(m_System.procRoot, m_Status.st_dev, m_Status.st_ino) : 0;
        auto named = std::find_if(holders.begin(), holders.end(),
                                  [locker](const Holder& holder) { return holder.pid == locker; });
        if (named == holders.end()) {
            named = known != holders.end() ? known
                    : holders.size() == 1  ? holders.begin()
                                           : holders.end();
        }
        for (auto other = holders.begin(); other != holders.end(); ++other) {
            if (other == named) {
                m_Result.holderPid = other->pid;
                m_Result.holderName = other->name;
                m_Result.holder = HolderKind(other->name);
            } else {
                m_Result.otherHolders.push_back({other->pid, other->name});
            }
        }
        return Stop(DoctorCause::InUse);
    }

    void CheckAnswer() {
        CSerialPort serial;
        DiagnoseAnswer(serial, m_Request, m_Cancel, &m_Result);
        if (m_Result.cause == DoctorCause::Silent) {
            ListOtherPorts();
        }
    }

    void ListOtherPorts() {
        for (SerialDevice& device : ListSerialDevices(m_System.roots)) {
            if (!SameDevice(device.path, m_Request.device)) {
                m_Result.candidates.push_back(std::move(device));
            }
        }
        m_Result.likely = LikelyAdapter(m_Result.candidates);
    }

    const DoctorRequest& m_Request;
    const DoctorSystem& m_System;
    const CancelFlag* m_Cancel;
    struct stat m_Status {};
    Diagnosis m_Result;
};

}  // namespace

UserGroups CurrentUserGroups() {
    UserGroups groups;
    int count = getgroups(0, nullptr);
    if (count > 0) {
        groups.login.resize(static_cast<size_t>(count));
        count = getgroups(count, groups.login.data());
        groups.login.resize(static_cast<size_t>(std::max(count, 0)));
    }
    groups.login.push_back(getegid());
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        return groups;
    }
    int listed = 64;
    groups.member.resize(static_cast<size_t>(listed));
    if (getgrouplist(found->pw_name, found->pw_gid, groups.member.data(), &listed) < 0) {
        groups.member.resize(static_cast<size_t>(listed));
        getgrouplist(found->pw_name, found->pw_gid, groups.member.data(), &listed);
    }
    groups.member.resize(static_cast<size_t>(std::max(listed, 0)));
    return groups;
}

DoctorSystem CurrentSystem(const DeviceRoots& roots) {
    DoctorSystem system;
    system.roots = roots;
    system.groups = CurrentUserGroups();
    system.self = getpid();
    return system;
}

DoctorRequest DoctorRequestForPort(const std::string& portsFolder, int port,
                                   const std::string& settingsPath) {
    DoctorRequest request;
    request.device = ComPortDevicePath(portsFolder, port);
    request.port = port;
    request.settingsPath = settingsPath;
    return request;
}

DoctorRequest DoctorRequestForSettings(const std::string& settingsPath,
                                       const std::string& portsFolder) {
    std::string device = ConfiguredDevice(settingsPath);
    if (device.empty()) {
        return DoctorRequestForPort(portsFolder, settings::kCom.Read(settingsPath), settingsPath);
    }
    DoctorRequest request;
    request.device = device;
    request.settingsPath = settingsPath;
    return request;
}

Diagnosis DiagnoseConnection(const DoctorRequest& request, const DoctorSystem& system,
                             const CancelFlag* cancel) {
    return Doctor(request, system, cancel).Run();
}
