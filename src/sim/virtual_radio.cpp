// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/virtual_radio.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/line_timing.h"
#include "sim/line_pacer.h"
#include "sim/pseudo_terminal.h"

namespace {

// A program that stops reading must not stall the radio: after this long with a full
// line the rest of the answer is lost, as it would be on a real wire.
constexpr int kWriteWaitMilliseconds = 1000;

constexpr int kFailurePauseMilliseconds = 20;

constexpr int64_t kNanosecondsPerMs = 1000000;

struct TimedByte {
    uint8_t value;
    int64_t ready;  // when the byte may go on the line
};

// Waits for the master to take bytes; false when stopping or when nobody reads.
bool WaitWritable(int master, int stopPipe) {
    pollfd watched[2] = {{master, POLLOUT, 0}, {stopPipe, POLLIN, 0}};
    int ready = poll(watched, 2, kWriteWaitMilliseconds);
    return ready > 0 && (watched[0].revents & POLLOUT) && !(watched[1].revents & POLLIN);
}

// Bytes that cannot be delivered are lost, as on a wire nobody listens to.
void Send(int master, int stopPipe, const uint8_t* data, size_t length) {
    while (length > 0) {
        ssize_t written = write(master, data, length);
        if (written > 0) {
            data += written;
            length -= written;
        } else if ((written < 0 && errno != EAGAIN && errno != EINTR) ||
                   !WaitWritable(master, stopPipe)) {
            return;
        }
    }
}

}  // namespace

VirtualRadio::VirtualRadio() = default;

VirtualRadio::~VirtualRadio() {
    Stop();
}

bool VirtualRadio::Start(const std::string& linkPath, const VirtualRadioOptions& options,
                         std::string* error) {
    if (m_Thread.joinable()) {
        if (error) {
            *error = "the virtual radio is already running on " + m_LinkPath;
        }
        return false;
    }
    auto terminal = std::make_unique<PseudoTerminal>();
    if (!terminal->Open(error) || !terminal->Link(linkPath, error)) {
        return false;
    }
    if (pipe2(m_StopPipe, O_CLOEXEC) != 0) {
        if (error) {
            *error = std::string("cannot create a pipe: ") + std::strerror(errno);
        }
        return false;
    }
    m_Options = options;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Received.clear();
        m_Sequence.Start({options.radios, options.swapAfterMs, options.memories, options.faults,
                          options.faultyRadio});
    }
    m_Terminal = std::move(terminal);
    m_LinkPath = linkPath;
    m_Thread = std::thread(&VirtualRadio::Serve, this);
    return true;
}

void VirtualRadio::Stop() {
    if (m_Thread.joinable()) {
        uint8_t wake = 0;
        if (write(m_StopPipe[1], &wake, 1) != 1) {
            // Without the wake-up byte the thread would never return; closing the pipe
            // makes its poll report a hang-up instead.
            close(m_StopPipe[1]);
            m_StopPipe[1] = -1;
        }
        m_Thread.join();
    }
    for (int& descriptor : m_StopPipe) {
        if (descriptor >= 0) {
            close(descriptor);
            descriptor = -1;
        }
    }
    m_Terminal.reset();
}

RadioMemory VirtualRadio::Memory() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Sequence.Responder().memory;
}

RadioMemory VirtualRadio::MemoryOf(int radio) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Sequence.MemoryOf(radio);
}

bool VirtualRadio::WasWritten(int radio) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Sequence.WasWritten(radio);
}

int VirtualRadio::CurrentRadio() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Sequence.CurrentRadio();
}

int VirtualRadio::SwapRadios(int64_t now) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Sequence.Swap(now);
}

void VirtualRadio::SetMemory(const RadioMemory& memory) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Sequence.Responder().memory = memory;
}

std::vector<uint8_t> VirtualRadio::ReceivedBytes() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Received;
}

std::string VirtualRadio::SlavePath() const {
    return m_Terminal ? m_Terminal->SlavePath() : std::string();
}

void VirtualRadio::Serve() {
    // A radio answers on the line's clock, not the scheduler's.
    KeepWaitsOnTime();
    int master = m_Terminal->MasterDescriptor();
    int stopPipe = m_StopPipe[0];
    LinePacer pacer;
    std::vector<TimedByte> output;
    std::vector<uint8_t> answer;
    for (;;) {
        pollfd watched[2] = {{master, POLLIN, 0}, {stopPipe, POLLIN, 0}};
        if (poll(watched, 2, SwapRadios(MonotonicNow())) < 0 && errno != EINTR) {
            return;
        }
        if (watched[1].revents != 0) {
            return;
        }
        SwapRadios(MonotonicNow());
        if (watched[0].revents == 0) {
            continue;
        }
        uint8_t buffer[256];
        ssize_t count = read(master, buffer, sizeof buffer);
        if (count < 0 && errno != EAGAIN && errno != EINTR) {
            // The master keeps failing until something changes; wait instead of spinning.
            poll(&watched[1], 1, kFailurePauseMilliseconds);
        }
        if (count <= 0) {
            continue;
        }
        int64_t now = MonotonicNow();
        bool completed = false;
        RadioMemory written;
        output.clear();
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            for (ssize_t k = 0; k < count; ++k) {
                int64_t arrival = m_Options.pace9600 ? pacer.Arrival(now) : now;
                m_Received.push_back(buffer[k]);
                if (m_Options.echo) {
                    const int late = buffer[k] == 0x06 ? m_Options.lateAckEchoMs : 0;
                    output.push_back({buffer[k], arrival + late * kNanosecondsPerMs});
                }
                // An unplugged radio hears nothing; an echoing cable still echoes.
                answer.clear();
                if (!m_Sequence.Feed(buffer[k], &answer)) {
                    continue;
                }
                int64_t ready =
                    arrival + m_Sequence.Responder().TakeAnswerDelayMs() * kNanosecondsPerMs;
                for (uint8_t value : answer) {
                    output.push_back({value, ready});
                }
            }
            completed = m_Sequence.EndArrival(now);
            if (completed) {
                written = m_Sequence.Responder().memory;
            }
        }
        if (m_Options.pace9600) {
            for (const TimedByte& timed : output) {
                SleepUntil(pacer.Departure(timed.ready));
                Send(master, stopPipe, &timed.value, 1);
            }
        } else {
            // Bytes due at the same time leave in one write; a late answer waits its turn.
            std::vector<uint8_t> bytes;
            for (size_t k = 0; k < output.size();) {
                bytes.clear();
                int64_t ready = output[k].ready;
                for (; k < output.size() && output[k].ready == ready; ++k) {
                    bytes.push_back(output[k].value);
                }
                SleepUntil(ready);
                Send(master, stopPipe, bytes.data(), bytes.size());
            }
        }
        // After the answer, so that saving never delays what the program waits for.
        if (completed && m_Options.onWriteCompleted) {
            m_Options.onWriteCompleted(written);
        }
    }
}
