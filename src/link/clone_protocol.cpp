#include "link/clone_protocol.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "link/cable_exchange.h"
#include "link/cable_line.h"
#include "link/clone_frames.h"
#include "platform/profile.h"

using namespace clone_frames;

namespace {

constexpr int kBlockSize = 16;
constexpr int kFrameSize = 4 + kBlockSize;
constexpr int kFirstBlockAddress = 0x0800;
constexpr int kEndAddress = 0x2000;

constexpr int kBlockTries = 3;

constexpr int kAfterWriteMs = 1000;
// Longer time-outs in the settings only make a dead radio take longer to report.
constexpr int kLongestAnswerMs = 10000;
// After a try whose answer did not arrive in full, the answer may still be on its way, and a
// slow machine can pause its arrival for longer than a few byte times: the line must stay
// quiet this long before the next frame, or that answer's tail would be taken for the start
// of the next.
constexpr int kQuietAfterTimeOutMs = 60;

int BlockProgress(int address) {
    return 100 * (address + kBlockSize) / kEndAddress;
}

enum class Outcome { Continue, Stop };

class CloneExchange {
public:
    explicit CloneExchange(TransferJob& job) : m_Job(job), m_Port(*job.port) {}

    void Run() {
        const std::string& settings = m_Job.settingsPath;
        std::string searchText = ReadProfileString(settings, "setup", "searchcom", "1", 8);
        bool search = !m_Job.fixedPort && !searchText.starts_with('0');
        m_Cable = ReadProfileInt(settings, "setup", "rwtype", 1) == 1 ? CableType::Direct
                                                                      : CableType::Echo;
        std::string openError;
        if (!m_Port.IsOpen() && !m_Job.fixedPort &&
            !m_Port.Open(ReadProfileInt(settings, "setup", "com", 1), kBaudRate, &openError) &&
            !search) {
            // Without a search this is the only port: say what is wrong with it.
            m_Job.warning = openError;
        }
        if (!Pause(kSettleMs) || WakeUp(search) == Outcome::Stop || Cancelled() ||
            Identify() == Outcome::Stop) {
            return;
        }
        RememberFoundPort();
        m_ReadTime = AnswerTime(ReadProfileInt(settings, "setup", "readtime", 50));
        m_WriteTime = AnswerTime(ReadProfileInt(settings, "setup", "writetime", 50));
        if (m_Job.isRead != 0) {
            ReadBlocks();
        } else {
            WriteBlocks();
        }
    }

private:
    static int AnswerTime(int milliseconds) {
        return std::clamp(milliseconds, 0, kLongestAnswerMs);
    }
    bool Cancelled() const { return m_Job.IsCancelled(); }
    bool Pause(int milliseconds) {
        return PauseUnlessCancelled(m_Port, milliseconds, &m_Job.cancel);
    }
    CableAnswer Exchange(const uint8_t* frame, int frameSize, uint8_t* answer, int answerSize,
                         int timeoutMs) {
        if (m_AnswerMayBeLate) {
            m_AnswerMayBeLate = false;
            if (!DrainReceive(m_Port, &m_Job.cancel, kQuietAfterTimeOutMs)) {
                CableAnswer cancelled;
                cancelled.cancelled = true;
                return cancelled;
            }
        }
        return ExchangeFrame(m_Port, m_Cable, frame, frameSize, answer, answerSize, timeoutMs,
                             &m_Job.cancel);
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

    Outcome WakeUp(bool search) {
        for (int searchPort = 1;; ++searchPort) {
            for (int attempt = 0; m_Port.IsOpen() && attempt < kWakeUpTries; ++attempt) {
                if (Cancelled()) {
                    return Outcome::Stop;
                }
                uint8_t reply = 0;
                CableAnswer answer =
                    Exchange(kWakeUpFrame, sizeof kWakeUpFrame, &reply, 1, kWakeUpAnswerMs);
                if (Settle(answer) == Outcome::Stop) {
                    return Outcome::Stop;
                }
                if (answer.count == 1 && reply == kAck) {
                    return Outcome::Continue;
                }
            }
            if (!search) {
                Publish(StatusPortError);
                return Outcome::Stop;
            }
            if (Cancelled()) {
                return Outcome::Stop;
            }
            m_Port.Close();
            if (searchPort >= kSearchEnd) {
                Publish(StatusPortError);
                return Outcome::Stop;
            }
            if (m_Port.Open(searchPort, kBaudRate, nullptr)) {
                if (!Pause(kSettleMs)) {
                    return Outcome::Stop;
                }
                m_Job.foundPort.store(searchPort, std::memory_order_release);
                PublishProgress(searchPort);
                Publish(StatusSearching);
            }
        }
    }

    Outcome Identify() {
        uint8_t identification[kIdentificationSize];
        CableAnswer answer = Exchange(&kIdentificationRequest, 1, identification,
                                      kIdentificationSize, kIdentificationMs);
        if (answer.cancelled) {
            return Outcome::Stop;
        }
        int count = answer.count;
        // The echo setting always counts one byte of echo; a cable that did not echo thus
        // comes out one short and is reported as the wrong radio, as users know it.
        if (m_Cable == CableType::Echo && !answer.echoSeen) {
            count -= 1;
        }
        if (count <= 0) {
            Publish(StatusPortError);
            return Outcome::Stop;
        }
        if (count != kIdentificationSize) {
            Publish(StatusIdentError);
            return Outcome::Stop;
        }
        uint8_t dropped = 0;
        return Exchange(&kAck, 1, &dropped, 1, kShortAnswerMs).cancelled ? Outcome::Stop
                                                                         : Outcome::Continue;
    }

    void RememberFoundPort() {
        int found = m_Job.foundPort.load(std::memory_order_acquire);
        if (found <= 0) {
            return;
        }
        std::string error;
        if (!WriteProfileString(m_Job.settingsPath, "setup", "com", std::to_string(found),
                                &error)) {
            m_Job.warning = "The radio answered on COM" + std::to_string(found) +
                            " but the port could not be remembered: " + error;
        }
        m_Job.foundPort.store(-1, std::memory_order_release);
    }

    void ReadBlocks() {
        for (int address = kFirstBlockAddress; address < kEndAddress; address += kBlockSize) {
            uint8_t request[] = {kReadCommand, static_cast<uint8_t>(address >> 8),
                                 static_cast<uint8_t>(address & 0xFF), kBlockSize};
            uint8_t answer[kFrameSize];
            int count = 0;
            bool good = false;
            for (int attempt = 0; attempt < kBlockTries && !good; ++attempt) {
                if (attempt > 0 && Cancelled()) {
                    return;
                }
                CableAnswer taken =
                    Exchange(request, sizeof request, answer, kFrameSize, m_ReadTime);
                if (Settle(taken) == Outcome::Stop) {
                    return;
                }
                count = taken.count;
                good = count == kFrameSize && answer[0] == kDataCommand &&
                       answer[1] == request[1] && answer[2] == request[2];
                m_AnswerMayBeLate = count < kFrameSize;
            }
            if (good) {
                std::memcpy(m_Job.image + address, answer + 4, kBlockSize);
                Publish(StatusReadProgress);
                PublishProgress(BlockProgress(address));
            } else if (count < kFrameSize) {
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
        for (int address = kFirstBlockAddress; address < kEndAddress; address += kBlockSize) {
            uint8_t frame[kFrameSize] = {kDataCommand, static_cast<uint8_t>(address >> 8),
                                         static_cast<uint8_t>(address & 0xFF), kBlockSize};
            std::memcpy(frame + 4, m_Job.image + address, kBlockSize);
            bool acknowledged = false;
            for (int attempt = 0; attempt < kBlockTries && !acknowledged; ++attempt) {
                if (attempt > 0 && Cancelled()) {
                    return;
                }
                uint8_t reply = 0;
                CableAnswer answer = Exchange(frame, kFrameSize, &reply, 1, m_WriteTime);
                if (Settle(answer) == Outcome::Stop) {
                    return;
                }
                acknowledged = answer.count == 1 && reply == kAck;
                m_AnswerMayBeLate = answer.count == 0;
            }
            if (!acknowledged) {
                Publish(StatusWriteFailed);
                return;
            }
            Publish(StatusWriteProgress);
            PublishProgress(BlockProgress(address));
            if (Cancelled()) {
                return;
            }
        }
        m_Port.WriteByte(kEndCommand, 1);
        // The radio stores the last block while it leaves programming mode.
        if (Pause(kAfterWriteMs)) {
            Publish(StatusWriteDone);
        }
    }

    TransferJob& m_Job;
    CableLine& m_Port;
    CableType m_Cable = CableType::Direct;
    int m_ReadTime = 50;
    int m_WriteTime = 50;
    bool m_AnswerMayBeLate = false;
};

}  // namespace

int TransferThreadProc(TransferJob& job) {
    CloneExchange(job).Run();
    return 0;
}
