// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/mode_exchange.h"

#include "link/clone_frames.h"
#include "testmode/mode_items.h"
#include "testmode/mode_link.h"

namespace {

// The test region, which start test mode reads, and the whole memory of read and write all.
constexpr int kTestRegionAddress = 0x0FC0;
constexpr int kTestRegionEnd = 0x1000;
constexpr int kMemoryEnd = static_cast<int>(kImageSize);

class TestExchange {
public:
    explicit TestExchange(TestExchangeJob& job)
        : m_Job(job),
          m_Port(*job.port),
          m_Link(*job.port, job.settingsPath, &job.cancel, job.fixedPort) {}

    bool Run() {
        if (m_Job.endTestModeFirst && m_Port.IsOpen()) {
            m_Link.SendEndWithoutAnswer();
        }
        LinkResult link = m_Link.Connect();
        m_Job.warning = link.warning;
        if (link.cancelled || (link.connected && m_Job.IsCancelled())) {
            Stop();
            return true;
        }
        if (!link.connected) {
            m_Job.message = link.failure;
            return false;
        }
        switch (m_Job.kind) {
            case TestExchangeKind::StartTestMode:
                StartTestMode();
                break;
            case TestExchangeKind::ReadAll:
                ReadAll();
                break;
            case TestExchangeKind::WriteAll:
                WriteAll();
                break;
        }
        return true;
    }

private:
    void PublishProgress(int done, int first, int end) {
        m_Job.progress.store(100 * (done - first) / (end - first), std::memory_order_release);
    }

    // Cancel ends the exchange as closing the dialog does: end byte, then the port is free.
    void Stop() {
        if (m_Port.IsOpen()) {
            m_Link.SendEnd();
        }
        m_Port.Close();
        m_Job.cancelled = true;
    }

    void StartTestMode() {
        if (!ReadBlocks(kTestRegionAddress, kTestRegionEnd)) {
            return;
        }
        // No end byte: the radio stays in test mode and the port stays open for adjustments.
        if (std::optional<AdjustFrame> frame =
                BuildAdjustFrame(m_Job.selectedItem, m_Job.image.GetTestItem(m_Job.selectedItem))) {
            m_Link.SendAdjust(*frame);
        }
    }

    void ReadAll() {
        if (!ReadBlocks(0, kMemoryEnd)) {
            return;
        }
        m_Link.SendEnd();
        m_Port.Close();
        m_Job.message = kReadDoneMessage;
    }

    bool ReadBlocks(int first, int end) {
        m_Job.storedFrom = first;
        m_Job.storedEnd = first;
        for (int address = first; address < end; address += clone_frames::kBlockSize) {
            if (!m_Link.ReadBlock(address, m_Job.image)) {
                m_Port.Close();
                m_Job.message = kNoRadioMessage;
                return false;
            }
            m_Job.storedEnd = address + clone_frames::kBlockSize;
            PublishProgress(m_Job.storedEnd, first, end);
            if (m_Job.IsCancelled()) {
                Stop();
                return false;
            }
        }
        return true;
    }

    void WriteAll() {
        for (int address = 0; address < kMemoryEnd; address += clone_frames::kBlockSize) {
            if (!m_Link.WriteBlock(address, m_Job.image)) {
                // No end byte and the port stays open: the radio is still in programming mode
                // and the next wake-up starts over.
                m_Job.message = kWriteFailedMessage;
                return;
            }
            m_Job.radioChanged = true;
            PublishProgress(address + clone_frames::kBlockSize, 0, kMemoryEnd);
            if (m_Job.IsCancelled()) {
                Stop();
                return;
            }
        }
        m_Link.SendEnd();
        m_Port.Close();
        m_Job.message = kWriteDoneMessage;
    }

    TestExchangeJob& m_Job;
    CableLine& m_Port;
    TestModeLink m_Link;
};

}  // namespace

bool ExchangeInTestMode(TestExchangeJob& job) {
    return TestExchange(job).Run();
}

void RunTestExchange(TestExchangeJob& job) {
    if (ExchangeInTestMode(job)) {
        return;
    }
    DoctorRequest request = DoctorRequestForSettings(job.settingsPath, job.portsFolder);
    request.testMode = true;
    job.diagnosis = DiagnoseConnection(request, CurrentSystem(job.deviceRoots), &job.cancel);
}
