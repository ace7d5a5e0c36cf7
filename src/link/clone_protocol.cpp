#include "link/clone_protocol.h"

#include <cstring>
#include <string>

#include "link/cable_exchange.h"
#include "link/clone_frames.h"
#include "link/serial_port.h"
#include "platform/profile.h"

using namespace clone_frames;

namespace {

constexpr int kBlockSize = 16;
constexpr int kFrameSize = 4 + kBlockSize;
constexpr int kFirstBlockAddress = 0x0800;
constexpr int kEndAddress = 0x2000;

constexpr int kBlockTries = 3;

constexpr int kAfterWriteMs = 1000;

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
        SleepMs(kSettleMs);
        if (WakeUp(search) == Outcome::Stop || Cancelled() || Identify() == Outcome::Stop) {
            return;
        }
        RememberFoundPort();
        m_ReadTime = ReadProfileInt(settings, "setup", "readtime", 50);
        m_WriteTime = ReadProfileInt(settings, "setup", "writetime", 50);
        if (m_Job.isRead != 0) {
            ReadBlocks();
        } else {
            WriteBlocks();
        }
    }

private:
    bool Cancelled() const { return m_Job.IsCancelled(); }
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
                if (ExchangeForByte(m_Port, m_Cable, kWakeUpFrame, sizeof kWakeUpFrame,
                                    kWakeUpAnswerMs) == kAck) {
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
            if (m_Port.Open(searchPort, kBaudRate)) {
                SleepMs(kSettleMs);
                m_Job.foundPort.store(searchPort, std::memory_order_release);
                PublishProgress(searchPort);
                Publish(StatusSearching);
            }
        }
    }

    Outcome Identify() {
        uint8_t identification[kIdentificationSize];
        CableAnswer answer = ExchangeFrame(m_Port, m_Cable, &kIdentificationRequest, 1,
                                           identification, kIdentificationSize, kIdentificationMs);
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
        ExchangeForByte(m_Port, m_Cable, &kAck, 1, kShortAnswerMs);
        return Outcome::Continue;
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
                count = ExchangeFrame(m_Port, m_Cable, request, sizeof request, answer, kFrameSize,
                                      m_ReadTime)
                            .count;
                good = count == kFrameSize && answer[0] == kDataCommand &&
                       answer[1] == request[1] && answer[2] == request[2];
            }
            if (good) {
                std::memcpy(m_Job.image + address, answer + 4, kBlockSize);
                Publish(StatusReadProgress);
                PublishProgress(BlockProgress(address));
            } else if (count < kFrameSize) {
                Publish(StatusReadFailed);
                return;
            }
            if (Cancelled()) {
                return;
            }
        }
        ExchangeForByte(m_Port, m_Cable, &kEndCommand, 1, kShortAnswerMs);
        Publish(StatusReadDone);
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
                acknowledged =
                    ExchangeForByte(m_Port, m_Cable, frame, kFrameSize, m_WriteTime) == kAck;
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
        SleepMs(kAfterWriteMs);
        Publish(StatusWriteDone);
    }

    TransferJob& m_Job;
    CSerialPort& m_Port;
    CableType m_Cable = CableType::Direct;
    int m_ReadTime = 50;
    int m_WriteTime = 50;
};

}  // namespace

int TransferThreadProc(TransferJob& job) {
    CloneExchange(job).Run();
    return 0;
}
