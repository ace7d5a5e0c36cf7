// SPDX-License-Identifier: GPL-3.0-or-later
// The diagnosis of a port that does not give a radio: each cause from a real situation, the
// answering ones against the virtual radio over a pseudo-terminal with its faults.
#include "link/connection_doctor.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <optional>

#include "link/serial_port.h"
#include "support/fake_device_tree.h"
#include "support/virtual_radio_fixture.h"

namespace {

using halvex::test::Bytes;
using halvex::test::CountOf;
using halvex::test::FakeDeviceTree;
using halvex::test::FakeUsbAdapter;
using halvex::test::PatternMemory;
using halvex::test::RadioLine;
using halvex::test::ReadBytes;

DoctorSystem ThisProcess(const DeviceRoots& roots = {}) {
    DoctorSystem system;
    system.roots = roots;
    system.self = getpid();
    return system;
}

class DoctorAnswerTest : public ::testing::Test, protected halvex::test::VirtualRadioFixture {
protected:
    DoctorAnswerTest() : VirtualRadioFixture("doctor") {}

    Diagnosis Diagnose(const VirtualRadioOptions& options, int rwtype, bool testMode = false) {
        std::string error;
        EXPECT_TRUE(StartRadio(options, PatternMemory(4), &error)) << error;
        WriteSettings({{"rwtype", rwtype}});
        DoctorRequest request = DoctorRequestForPort(PortsFolder(), kRadioPort, SettingsPath());
        request.testMode = testMode;
        // An empty /sys and /dev: no other port to suggest.
        FakeDeviceTree none;
        Diagnosis diagnosis = DiagnoseConnection(request, ThisProcess(none.Roots()));
        m_Radio.Stop();
        return diagnosis;
    }
};

// What each answer of the radio and cable means, with the cable type of the settings; the
// second try with the other cable type tells a wrong setting from a silent radio.
TEST_F(DoctorAnswerTest, EachAnswerOfTheLineGivesItsCause) {
    struct Case {
        const char* name;
        bool echoLine;
        bool silent;
        int identificationLength;
        int rwtype;
        bool testMode;
        DoctorCause cause;
        bool otherCableAnswered;
    };
    const Case cases[] = {
        {"good radio, direct", false, false, 8, 1, false, DoctorCause::RadioFound, false},
        {"good radio, echoing cable", true, false, 8, 2, false, DoctorCause::RadioFound, false},
        {"silent radio", false, true, 8, 1, false, DoctorCause::Silent, false},
        {"silent radio behind an echoing cable", true, true, 8, 2, false, DoctorCause::Silent,
         false},
        {"echoing cable on direct", true, false, 8, 1, false, DoctorCause::EchoOnDirect, true},
        {"echoing cable on direct, radio off", true, true, 8, 1, false, DoctorCause::EchoOnDirect,
         false},
        {"plain cable on echoing", false, false, 8, 2, false, DoctorCause::NoEchoOnEcho, true},
        {"other model, direct", false, false, 6, 1, false, DoctorCause::OtherModel, false},
        {"other model, plain cable on echoing", false, false, 6, 2, false, DoctorCause::OtherModel,
         false},
        {"test mode takes the echoing cable", true, false, 8, 1, true, DoctorCause::RadioFound,
         false},
        {"test mode, other model", false, false, 7, 2, true, DoctorCause::OtherModel, false},
        {"longer identification", false, false, 12, 1, false, DoctorCause::OtherModel, false},
        {"longer identification, echoing cable", true, false, 9, 2, false, DoctorCause::OtherModel,
         false},
        {"test mode, longer identification", true, false, 16, 1, true, DoctorCause::OtherModel,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualRadioOptions options = RadioLine(c.echoLine);
        options.faults.silent = c.silent;
        options.faults.identificationLength = c.identificationLength;
        Diagnosis diagnosis = Diagnose(options, c.rwtype, c.testMode);
        EXPECT_EQ(diagnosis.cause, c.cause);
        EXPECT_EQ(diagnosis.otherCableAnswered, c.otherCableAnswered);
        EXPECT_EQ(diagnosis.port, kRadioPort);
        if (c.cause == DoctorCause::OtherModel) {
            EXPECT_EQ(diagnosis.identificationLength, c.identificationLength);
        }
        if (!c.testMode) {
            EXPECT_EQ(diagnosis.cable, c.rwtype == 1 ? CableType::Direct : CableType::Echo);
        }
    }
}

// The check wakes the radio and lets it go: no write frame, the end byte last, and the
// memory as it was.
TEST_F(DoctorAnswerTest, TheCheckLeavesTheRadioAsItWas) {
    std::string error;
    ASSERT_TRUE(StartRadio(RadioLine(false), PatternMemory(9), &error)) << error;
    WriteSettings({{"rwtype", 1}, {"com", 1}});
    Diagnosis diagnosis = DiagnoseConnection(
        DoctorRequestForPort(PortsFolder(), kRadioPort, SettingsPath()), ThisProcess());
    EXPECT_EQ(diagnosis.cause, DoctorCause::RadioFound);
    Bytes sent = SentSince(0);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), 0x62);
    EXPECT_EQ(CountOf(sent, {0x57}), 0u);
    EXPECT_TRUE(m_Radio.Memory() == PatternMemory(9));
    // A fixed port: the doctor does not move the configured one.
    EXPECT_NE(ReadBytes(SettingsPath()).find("com=1"), std::string::npos);
}

// A missing device lists what is there and picks the USB adapter, by its stable name.
TEST(DoctorDeviceTest, AMissingDeviceListsThePresentOnesWithTheLikelyAdapter) {
    FakeDeviceTree tree;
    tree.AddBuiltInPort("ttyS0", 4);
    tree.AddUsbAdapter({"ttyUSB1", "ch341", "1a86", "7523", "", "USB Serial", ""});
    std::string stable = tree.AddStableName("usb-1a86_USB_Serial-if00-port0", "ttyUSB1");
    DoctorRequest request;
    request.device = tree.DevicePath("ttyUSB0");
    Diagnosis diagnosis = DiagnoseConnection(request, ThisProcess(tree.Roots()));
    EXPECT_EQ(diagnosis.cause, DoctorCause::NoDevice);
    ASSERT_EQ(diagnosis.candidates.size(), 2u);
    EXPECT_EQ(diagnosis.likely, stable);

    FakeDeviceTree empty;
    request.device = empty.DevicePath("ttyUSB0");
    diagnosis = DiagnoseConnection(request, ThisProcess(empty.Roots()));
    EXPECT_EQ(diagnosis.cause, DoctorCause::NoDevice);
    EXPECT_TRUE(diagnosis.candidates.empty());
    EXPECT_TRUE(diagnosis.likely.empty());
}

// Nothing is sent to what is not a cable: the port refuses it and the doctor says why.
TEST(DoctorDeviceTest, OnlyASerialTerminalIsASerialPort) {
    halvex::test::TempFolder folder;
    for (const std::string& path :
         {folder.Write("plain", "x"), folder.Path(), std::string("/dev/null"),
          std::string("/dev/zero"), std::string("/dev/urandom"), std::string("/dev/ptmx"),
          std::string("/dev/tty")}) {
        SCOPED_TRACE(path);
        if (!std::filesystem::exists(path)) {
            continue;
        }
        DoctorRequest request;
        request.device = path;
        EXPECT_EQ(DiagnoseConnection(request, ThisProcess()).cause, DoctorCause::NotSerial);
        CSerialPort port;
        std::string error;
        EXPECT_FALSE(port.OpenDevice(path, 9600, &error));
        EXPECT_FALSE(port.IsOpen());
        EXPECT_NE(error.find(path + " is not a serial port ("), std::string::npos) << error;
    }
}

// A pseudo-terminal whose slave stands for the cable's device.
class PseudoPort {
public:
    PseudoPort() {
        m_Master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_Master >= 0 && grantpt(m_Master) == 0 && unlockpt(m_Master) == 0) {
            m_Slave = ptsname(m_Master);
        }
    }
    ~PseudoPort() {
        if (m_Master >= 0) {
            close(m_Master);
        }
    }
    const std::string& Slave() const { return m_Slave; }

private:
    int m_Master = -1;
    std::string m_Slave;
};

// A process called name that holds path open, locked or not, until it is killed.
class Holder {
public:
    Holder(const std::string& name, const std::string& path, bool lock) {
        int ready[2];
        if (pipe(ready) != 0) {
            return;
        }
        m_Pid = fork();
        if (m_Pid == 0) {
            close(ready[0]);
            prctl(PR_SET_NAME, name.c_str());
            int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            bool held = fd >= 0 && (!lock || flock(fd, LOCK_EX | LOCK_NB) == 0);
            char answer = held ? 'y' : 'n';
            (void)!write(ready[1], &answer, 1);
            for (;;) {
                pause();
            }
        }
        close(ready[1]);
        char answer = 'n';
        m_Held = m_Pid > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
        close(ready[0]);
    }
    ~Holder() {
        if (m_Pid > 0) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
    }
    pid_t Pid() const { return m_Pid; }
    bool Held() const { return m_Held; }

private:
    pid_t m_Pid = -1;
    bool m_Held = false;
};

// A lock names its holder, also beside other programs with the port open, which are listed;
// ModemManager and brltty are blamed without one, since they swallow the radio's answers; any
// other unlocked descriptor is not in the way.
TEST(DoctorHolderTest, TheProcessHoldingThePortIsNamed) {
    struct Case {
        const char* comm;
        bool lock;
        DoctorCause cause;
        KnownHolder holder;
        const char* other = nullptr;  // a second program with the port open, unlocked
    };
    const Case cases[] = {
        {"minicom", true, DoctorCause::InUse, KnownHolder::None},
        {"ModemManager", false, DoctorCause::InUse, KnownHolder::ModemManager},
        {"brltty", false, DoctorCause::InUse, KnownHolder::Brltty},
        {"cat", false, DoctorCause::Silent, KnownHolder::None},
        {"halvex-cli", true, DoctorCause::InUse, KnownHolder::None, "radio-sim"},
        {"picocom", true, DoctorCause::InUse, KnownHolder::None, "ModemManager"},
    };
    halvex::test::ModuleFolder folder("halvex_doctor_holder");
    folder.WriteSettings({{"rwtype", 1}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comm);
        PseudoPort port;
        ASSERT_FALSE(port.Slave().empty());
        Holder holder(c.comm, port.Slave(), c.lock);
        ASSERT_TRUE(holder.Held());
        std::optional<Holder> other;
        if (c.other != nullptr) {
            other.emplace(c.other, port.Slave(), false);
            ASSERT_TRUE(other->Held());
        }
        DoctorRequest request;
        request.device = port.Slave();
        request.settingsPath = folder.SettingsPath();
        FakeDeviceTree none;
        Diagnosis diagnosis = DiagnoseConnection(request, ThisProcess(none.Roots()));
        EXPECT_EQ(diagnosis.cause, c.cause);
        EXPECT_EQ(diagnosis.holder, c.holder);
        if (c.cause == DoctorCause::InUse) {
            EXPECT_EQ(diagnosis.holderPid, holder.Pid());
            EXPECT_EQ(diagnosis.holderName, c.comm);
        }
        std::vector<Diagnosis::OtherHolder> others;
        if (other) {
            others.push_back({other->Pid(), c.other});
        }
        EXPECT_TRUE(diagnosis.otherHolders == others);
    }
}

// A service that takes new adapters for itself is named where it would explain the finding
// (a device that vanished, a port that stays silent) even when it holds nothing now; the
// processes come from a made-up process table, so the machine's own services do not count.
TEST(DoctorHolderTest, ServicesThatTakeAdaptersAreNamedForAMissingOrSilentPort) {
    struct Case {
        const char* name;
        std::vector<std::string> processes;
        bool silentPort;  // else a device that does not exist
        std::vector<KnownHolder> named;
    };
    const Case cases[] = {
        {"none", {"bash", "systemd"}, false, {}},
        {"brltty twice", {"brltty", "bash", "brltty"}, false, {KnownHolder::Brltty}},
        {"both",
         {"brltty", "ModemManager"},
         false,
         {KnownHolder::ModemManager, KnownHolder::Brltty}},
        {"probe on a silent port", {"ModemManager"}, true, {KnownHolder::ModemManager}},
    };
    halvex::test::ModuleFolder folder("halvex_doctor_services");
    folder.WriteSettings({{"rwtype", 1}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        halvex::test::TempFolder proc("halvex_doctor_proc");
        int pid = 100;
        for (const std::string& process : c.processes) {
            std::filesystem::create_directory(proc.File(std::to_string(pid)));
            proc.Write(std::to_string(pid++) + "/comm", process + "\n");
        }
        PseudoPort port;
        DoctorRequest request;
        request.device = c.silentPort ? port.Slave() : proc.File("ttyUSB9");
        request.settingsPath = folder.SettingsPath();
        FakeDeviceTree none;
        DoctorSystem system = ThisProcess(none.Roots());
        system.procRoot = proc.Path();
        const Diagnosis diagnosis = DiagnoseConnection(request, system);
        EXPECT_EQ(diagnosis.cause, c.silentPort ? DoctorCause::Silent : DoctorCause::NoDevice);
        EXPECT_TRUE(diagnosis.runningServices == c.named);
    }
}

// Run as nobody on a node only root and group dialout may open. The groups are made up, as
// the login's and the database's may differ.
TEST(DoctorPermissionTest, TheGroupAndWhetherTheUserIsInItAreTold) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a device node and to become another user";
    }
    group* dialout = getgrnam("dialout");
    passwd* nobody = getpwnam("nobody");
    if (dialout == nullptr || nobody == nullptr) {
        GTEST_SKIP() << "this system has no dialout group or no nobody user";
    }
    gid_t dialoutGid = dialout->gr_gid;
    halvex::test::TempFolder folder;
    chmod(folder.Path().c_str(), 0755);
    std::string node = folder.File("ttyUSB0");
    ASSERT_EQ(mknod(node.c_str(), S_IFCHR | 0660, makedev(1, 3)), 0);
    ASSERT_EQ(chown(node.c_str(), 0, dialoutGid), 0);
    ASSERT_EQ(chmod(node.c_str(), 0660), 0);

    struct Case {
        const char* name;
        UserGroups groups;
        bool inLogin;
        bool member;
    };
    const Case cases[] = {
        {"not in the group", {{}, {}}, false, false},
        {"joined after this login began", {{}, {dialoutGid}}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int result[2];
        ASSERT_EQ(pipe(result), 0);
        pid_t child = fork();
        if (child == 0) {
            close(result[0]);
            if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                setuid(nobody->pw_uid) != 0) {
                _exit(2);
            }
            DoctorRequest request;
            request.device = node;
            DoctorSystem system = ThisProcess();
            system.groups = c.groups;
            Diagnosis diagnosis = DiagnoseConnection(request, system);
            std::string facts = std::to_string(static_cast<int>(diagnosis.cause)) + " " +
                                diagnosis.group + " " + (diagnosis.inLoginGroups ? "1" : "0") +
                                (diagnosis.groupMember ? "1" : "0") +
                                (diagnosis.groupMayOpen ? "1" : "0");
            (void)!write(result[1], facts.data(), facts.size());
            _exit(0);
        }
        close(result[1]);
        char buffer[128] = {};
        ssize_t length = read(result[0], buffer, sizeof buffer - 1);
        close(result[0]);
        waitpid(child, nullptr, 0);
        ASSERT_GT(length, 0);
        std::string expected = std::to_string(static_cast<int>(DoctorCause::NoPermission)) +
                               " dialout " + (c.inLogin ? "1" : "0") + (c.member ? "1" : "0") + "1";
        EXPECT_EQ(std::string(buffer), expected);
    }
}

}  // namespace
