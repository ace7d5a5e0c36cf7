// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/clone_protocol.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "config/setting_definitions.h"
#include "link/cable_exchange.h"
#include "link/cable_line.h"
#include "link/clone_frames.h"
#include "link/radio_connection.h"

using namespace clone_frames;

namespace {

constexpr int kBlockTries = 3;

constexpr int kAfterWriteMs = 1000;

int BlockProgress(int address) {
    return 100 * (address + kBlockSize) / kCloneEndAddress;
}

enum class Outcome { Continue, Stop };

class CloneExchange {
public:
    explicit CloneExchange(TransferJob& job) : m_Job(job), m_Port(*job.port) {}

    void Run() {
        CableRules rules;
        rules.cable = CableFromSettings(m_Job.settingsPath);
        rules.identificationCountsEcho = true;
        rules.fixedPort = m_Job.fixedPort;
        m_Cable = rules.cable;
        RadioConnection connection(m_Port, m_Job.settingsPath, rules, &m_Job.cancel);
        connection.OnSearchPort([this](int port) {
            m_Job.foundPort.store(port, std::memory_order_release);
            PublishProgress(port);
            Publish(StatusSearching);
        });
        ConnectResult connected = connection.Connect();
        // Without a search the configured port is the only one: say what is wrong with it.
        if (!connection.Searched() && !connection.OpenError().empty()) {
            m_Job.warning = connection.OpenError();
        }
        switch (connected) {
            case ConnectResult::Connected:
                break;
            case ConnectResult::NoRadio:
                Publish(StatusPortError);
                return;
            case ConnectResult::WrongRadio:
                Publish(StatusIdentError);
                return;
            case ConnectResult::EchoCable:
                Publish(StatusEchoCable);
                return;
            case ConnectResult::Cancelled:
                return;
        }
        if (!connection.Warning().empty()) {
            m_Job.warning = connection.Warning();
        }
        m_Job.identification = connection.Identification();
        if (connection.FoundPort() > 0) {
            m_Job.answeredPort.store(connection.FoundPort(), std::memory_order_release);
            m_Job.foundPort.store(-1, std::memory_order_release);
        }
        const std::string& settings = m_Job.settingsPath;
        m_ReadTime = AnswerTime(settings::kReadTime.Read(settings));
        m_WriteTime = AnswerTime(settings::kWriteTime.Read(settings));
        if (m_Job.isRead != 0) {
            ReadBlocks();
        } else {
            WriteBlocks();
        }
    }

private:
    int AnswerTime(int milliseconds) const {
        return std::clamp(milliseconds, 0, m_Job.longestAnswerMs);
    }
    bool Cancelled() const { return m_Job.IsCancelled(); }
    bool Pause(int milliseconds) {
        return PauseUnlessCancelled(m_Port, milliseconds, &m_Job.cancel);
    }
    CableAnswer Exchange(const uint8_t* frame, int frameSize, uint8_t* answer, int answerSize,
                         int timeoutMs) {
        if (m_QuietBeforeNextMs > 0) {
            int quietMs = std::exchange(m_QuietBeforeNextMs, 0);
            if (!DrainReceive(m_Port, &m_Job.cancel, quietMs)) {
                CableAnswer cancelled;
                cancelled.cancelled = true;
                return cancelled;
            }
        }
        return ExchangeFrame(m_Port, m_Cable, frame, frameSize, answer, answerSize, timeoutMs,
                             &m_Job.cancel);
    }
    // Only a try that went wrong costs a wait before the next frame. An answer cut short may
    // still be on its way; one that came whole but wrong leaves at most a burst's tail.
    void ExpectQuietUnless(bool answered, bool cameWhole) {
        if (!answered) {
            m_QuietBeforeNextMs = cameWhole ? kQuietMs : kQuietAfterAnomalyMs;
        }
    }
    // A cancel ends the exchange without a word; an echo heard on the direct setting ends it
    // with its own status, since no later frame can be understood either.
    Outcome Settle(const CableAnswer& answer) {
        if (answer.cancelled) {
            return Outcome::Stop;
        }
        if (answer.directEcho) {
            Publish(StatusEchoCable);
            return Outcome::Stop;
        }
        return Outcome::Continue;
    }
    void Publish(TransferStatus status) { m_Job.status.store(status, std::memory_order_release); }
    void PublishProgress(int progress) {
        m_Job.progress.store(progress, std::memory_order_release);
    }

    void ReadBlocks() {
        for (int address = kCloneFirstAddress; address < kCloneEndAddress; address += kBlockSize) {
            ReadRequestFrame request = ReadRequest(address);
            uint8_t answer[kDataFrameSize];
            int count = 0;
            bool good = false;
            for (int attempt = 0; attempt < kBlockTries && !good; ++attempt) {
                if (attempt > 0 && Cancelled()) {
                    return;
                }
                CableAnswer taken =
                    Exchange(request.data(), kReadRequestSize, answer, kDataFrameSize, m_ReadTime);
                if (Settle(taken) == Outcome::Stop) {
                    return;
                }
                count = taken.count;
                good = AnswersRequest(answer, count, request);
                ExpectQuietUnless(good, count == kDataFrameSize);
            }
            if (good) {
                std::memcpy(m_Job.image + address, answer + 4, kBlockSize);
                m_Job.blocks.fetch_add(1, std::memory_order_release);
                Publish(StatusReadProgress);
                PublishProgress(BlockProgress(address));
            } else if (count < kDataFrameSize) {
                Publish(StatusReadFailed);
                return;
            } else {
                m_Job.skippedBlocks.push_back(address);
            }
            if (Cancelled()) {
                return;
            }
        }
        // The end byte goes out even after a skipped block, so the radio leaves programming
        // mode; the read still fails, since the image holds bytes the radio never sent.
        uint8_t dropped = 0;
        if (Exchange(&kEndCommand, 1, &dropped, 1, kShortAnswerMs).cancelled) {
            return;
        }
        Publish(m_Job.skippedBlocks.empty() ? StatusReadDone : StatusReadFailed);
    }

    void WriteBlocks() {
        for (int address = kCloneFirstAddress; address < kCloneEndAddress; address += kBlockSize) {
            DataFrameBytes frame = DataFrame(address, kCloneCount, m_Job.image);
            bool acknowledged = false;
            for (int attempt = 0; attempt < kBlockTries && !acknowledged; ++attempt) {
                if (attempt > 0 && Cancelled()) {
                    return;
                }
                uint8_t reply = 0;
                CableAnswer answer = Exchange(frame.data(), kDataFrameSize, &reply, 1, m_WriteTime);
                if (Settle(answer) == Outcome::Stop) {
                    return;
                }
                acknowledged = answer.count == 1 && reply == kAck;
                ExpectQuietUnless(acknowledged, answer.count > 0);
            }
            if (!acknowledged) {
                Publish(StatusWriteFailed);
                return;
            }
            m_Job.blocks.fetch_add(1, std::memory_order_release);
            Publish(StatusWriteProgress);
            PublishProgress(BlockProgress(address));
            if (Cancelled() && address + kBlockSize < kCloneEndAddress) {
                return;
            }
        }
        // Once the radio took every block the write is done: a cancel from here on only cuts
        // the wait short, and the end byte goes out regardless so the radio stores the last
        // block and leaves programming mode.
        if (m_Port.WriteByte(kEndCommand, 1) != 1) {
            Publish(StatusWriteFailed);
            return;
        }
        Pause(kAfterWriteMs);
        Publish(StatusWriteDone);
    }

    TransferJob& m_Job;
    CableLine& m_Port;
    CableType m_Cable = CableType::Direct;
    int m_ReadTime = 50;
    int m_WriteTime = 50;
    int m_QuietBeforeNextMs = 0;
};

}  // namespace

int TransferThreadProc(TransferJob& job) {
    CloneExchange(job).Run();
    return 0;
}
