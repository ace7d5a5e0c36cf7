// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/line_timing.h"

namespace {

using Clock = std::chrono::steady_clock;

// A writer that makes no progress for this long has lost its device.
constexpr auto kWriteStallLimit = std::chrono::seconds(2);

speed_t SpeedFor(int baudRate, bool* known) {
    static constexpr struct {
        int rate;
        speed_t speed;
    } kSpeeds[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                   {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto& entry : kSpeeds) {
        if (entry.rate == baudRate) {
            *known = true;
            return entry.speed;
        }
    }
    *known = false;
    return B9600;
}

std::string OpenFailureMessage(const std::string& name, int error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case ENOTDIR:
            return name +
                   " does not exist: check that the cable is plugged in and the port "
                   "number is right";
        case EBUSY:
        case EWOULDBLOCK:
            return name + " is in use by another program";
        case EACCES:
        case EPERM:
            return "no permission to open " + name +
                   ": add your user to the dialout group (sudo usermod -aG dialout $USER) and "
                   "log in again";
        default:
            return name + " cannot be opened: " + std::strerror(error);
    }
}

std::string NotSerialMessage(const std::string& name, const std::string& reason) {
    return name + " is not a serial port (" + reason + "); nothing was sent to it";
}

// Major 5 holds /dev/tty, /dev/console and /dev/ptmx, none of them a cable.
constexpr unsigned kTtyAuxMajor = 5;

// A byte on the line is a start bit, eight data bits and a stop bit.
std::chrono::nanoseconds ByteTime(int baudRate) {
    return std::chrono::nanoseconds(10 * 1000000000LL / baudRate);
}

timespec Remaining(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
    if (left.count() < 0) {
        left = std::chrono::nanoseconds(0);
    }
    return timespec{static_cast<time_t>(left.count() / 1000000000),
                    static_cast<long>(left.count() % 1000000000)};
}

enum class Readiness { Ready, TimedOut, Failed, HungUp };

// Waits until fd has bytes to read or the deadline passes. A device that hung up (its other
// end closed, its adapter pulled) reports readable for ever and reads as nothing, so it is
// told apart rather than read again at once.
Readiness WaitReadable(int fd, Clock::time_point deadline) {
    pollfd entry{fd, POLLIN, 0};
    timespec left = Remaining(deadline);
    int ready = ppoll(&entry, 1, &left, nullptr);
    if (ready == 0) {
        return Readiness::TimedOut;
    }
    if (ready < 0) {
        return errno == EINTR ? Readiness::Ready : Readiness::Failed;
    }
    if ((entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        return Readiness::HungUp;
    }
    return Readiness::Ready;
}

// WaitReadable with one wake on the way, at wakeFirst, when the wait would be a long one.
Readiness WaitReadable(int fd, Clock::time_point deadline, Clock::time_point wakeFirst) {
    if (wakeFirst - Clock::now() > kLongWait && wakeFirst < deadline) {
        Readiness early = WaitReadable(fd, wakeFirst);
        if (early != Readiness::TimedOut) {
            return early;
        }
    }
    return WaitReadable(fd, deadline);
}

// What a write or read of a device that went away fails with.
bool IsGoneError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

bool IsSet(const CancelFlag* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_acquire) != 0;
}

// Waits in slices until fd takes bytes again; false when the stall limit passes, the device
// fails or the cancel flag is raised.
bool WaitWritable(int fd, Clock::time_point stallEnd, const CancelFlag* cancel) {
    while (!IsSet(cancel) && Clock::now() < stallEnd) {
        pollfd entry{fd, POLLOUT, 0};
        timespec slice =
            Remaining(std::min(stallEnd, Clock::now() + std::chrono::milliseconds(kWaitSliceMs)));
        int ready = ppoll(&entry, 1, &slice, nullptr);
        if (ready > 0) {
            return (entry.revents & POLLOUT) != 0;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
    return false;
}

}  // namespace

std::string ComPortDevicePath(const std::string& portsFolder, int n) {
    if (n < 1) {
        return {};
    }
    if (!portsFolder.empty()) {
        std::string link = portsFolder + "/COM" + std::to_string(n);
        struct stat status {};
        if (lstat(link.c_str(), &status) == 0) {
            return link;
        }
    }
    return "/dev/ttyUSB" + std::to_string(n - 1);
}

std::string NotSerialPortReason(const struct stat& status) {
    if (!S_ISCHR(status.st_mode)) {
        return "not a character device";
    }
    if (major(status.st_rdev) == kTtyAuxMajor) {
        return "a terminal of this system, not a cable";
    }
    return {};
}

std::string NotSerialPortReason(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        return std::strerror(errno);
    }
    std::string reason = NotSerialPortReason(status);
    if (!reason.empty()) {
        return reason;
    }
    if (isatty(fd) == 0) {
        return "not a terminal";
    }
    unsigned number = 0;
    if (ioctl(fd, TIOCGPTN, &number) == 0) {
        return "the master side of a pseudo-terminal";
    }
    return {};
}

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::Open(int port, int baudRate, std::string* error) {
    std::string path = ComPortDevicePath(m_PortsFolder, port);
    std::string name = "COM" + std::to_string(port);
    if (path.empty()) {
        Close();
        if (error != nullptr) {
            *error = OpenFailureMessage(name, ENOENT);
        }
        return false;
    }
    return OpenNamed(path, name + " (" + path + ")", baudRate, error);
}

bool CSerialPort::OpenDevice(const std::string& path, int baudRate, std::string* error) {
    return OpenNamed(path, path, baudRate, error);
}

bool CSerialPort::OpenNamed(const std::string& path, const std::string& name, int baudRate,
                            std::string* error) {
    Close();
    // Anything but a serial terminal would take the wake-up frame as data: a file, a folder,
    // /dev/null, /dev/tty or a pseudo-terminal's master side.
    struct stat status {};
    std::string reason;
    if (stat(path.c_str(), &status) == 0) {
        reason = NotSerialPortReason(status);
    }
    int fd = -1;
    if (reason.empty()) {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            int openError = errno;
            if (error != nullptr) {
                *error = OpenFailureMessage(name, openError);
            }
            errno = openError;
            return false;
        }
        reason = NotSerialPortReason(fd);
    }
    if (!reason.empty()) {
        if (fd >= 0) {
            ::close(fd);
        }
        if (error != nullptr) {
            *error = NotSerialMessage(name, reason);
        }
        errno = ENOTTY;
        return false;
    }
    // TIOCEXCL does not stop root, the lock does: a second program must find the port busy.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int lockError = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        if (error != nullptr) {
            *error = OpenFailureMessage(name, lockError);
        }
        errno = lockError;
        return false;
    }
    ioctl(fd, TIOCEXCL);
    m_Fd = fd;
    m_Gone = false;
    m_DevicePath = path;
    Configure(baudRate);
    return true;
}

// Failures here are ignored: a pseudo-terminal refuses the modem-line calls, and a port that
// opened is worth trying even when the driver rejects a setting.
void CSerialPort::Configure(int baudRate) {
    termios settings{};
    if (tcgetattr(m_Fd, &settings) == 0) {
        cfmakeraw(&settings);
        settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
        settings.c_cflag |= CS8 | CLOCAL | CREAD;
        settings.c_iflag &= ~(IXON | IXOFF | IXANY);
        settings.c_cc[VMIN] = 0;
        settings.c_cc[VTIME] = 0;
        bool known = false;
        speed_t speed = SpeedFor(baudRate, &known);
        if (known) {
            cfsetispeed(&settings, speed);
            cfsetospeed(&settings, speed);
            m_ByteTime = ByteTime(baudRate);
        }
        tcsetattr(m_Fd, TCSANOW, &settings);
    }
    int line = TIOCM_DTR;
    ioctl(m_Fd, TIOCMBIS, &line);
    line = TIOCM_RTS;
    ioctl(m_Fd, TIOCMBIS, &line);
}

void CSerialPort::SetBaudRate(int baudRate) {
    if (m_Fd < 0) {
        return;
    }
    termios settings{};
    bool known = false;
    speed_t speed = SpeedFor(baudRate, &known);
    if (!known || tcgetattr(m_Fd, &settings) != 0) {
        return;
    }
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    tcsetattr(m_Fd, TCSANOW, &settings);
    m_ByteTime = ByteTime(baudRate);
}

int CSerialPort::Write(const uint8_t* bytes, int count, int leadDelayMs, const CancelFlag* cancel) {
    if (leadDelayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(leadDelayMs));
    }
    if (m_Fd < 0) {
        return 0;
    }
    int written = 0;
    while (written < count) {
        ssize_t result = ::write(m_Fd, bytes + written, static_cast<size_t>(count - written));
        if (result > 0) {
            written += static_cast<int>(result);
            continue;
        }
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0 && errno == EAGAIN &&
            WaitWritable(m_Fd, Clock::now() + kWriteStallLimit, cancel)) {
            continue;
        }
        m_Gone = m_Gone || (result < 0 && IsGoneError(errno));
        break;
    }
    m_SentBy = std::max(m_SentBy, Clock::now()) + m_ByteTime * written;
    return written;
}

int CSerialPort::Read(uint8_t* buffer, int count, int timeoutMs) {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (m_Fd < 0) {
        std::this_thread::sleep_until(deadline);
        return 0;
    }
    int received = 0;
    // No answer can be whole before the frame written last has left the line and the answer
    // has come in: a long wait for it wakes once shortly before that. Bytes that come sooner,
    // such as an echo, end the wait as ever.
    Clock::time_point wakeFirst = m_SentBy + m_ByteTime * count - kWakeBeforeLongWait;
    // Waiting before reading costs one call on a quiet line, where reading first would cost
    // three: most reads start before the answer's first byte is there.
    for (;;) {
        Readiness readiness = WaitReadable(m_Fd, deadline, std::exchange(wakeFirst, {}));
        if (readiness == Readiness::TimedOut) {
            return received;
        }
        // With VMIN = VTIME = 0 an empty queue reads as 0 bytes rather than EAGAIN.
        ssize_t result = 0;
        if (readiness == Readiness::Ready) {
            result = ::read(m_Fd, buffer + received, static_cast<size_t>(count - received));
        }
        if (readiness == Readiness::HungUp || (result < 0 && IsGoneError(errno))) {
            m_Gone = true;
        }
        if (readiness != Readiness::Ready || (result < 0 && errno != EAGAIN && errno != EINTR)) {
            std::this_thread::sleep_until(deadline);
            return received;
        }
        if (result > 0) {
            received += static_cast<int>(result);
        }
        if (received >= count || Clock::now() >= deadline) {
            return received;
        }
        // The rest of an answer under way needs its time on the line; waking for every byte
        // as it comes would cost a wake-up per byte.
        int missing = count - received;
        if (result > 0 && missing > 1) {
            std::this_thread::sleep_until(
                std::min(deadline, Clock::now() + m_ByteTime * (missing - 1)));
        }
    }
}

void CSerialPort::Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void CSerialPort::Close() {
    if (m_Fd < 0) {
        return;
    }
    // Exclusive mode outlives us while another descriptor holds the terminal open.
    ioctl(m_Fd, TIOCNXCL);
    ::close(m_Fd);
    m_Fd = -1;
    m_DevicePath.clear();
}
