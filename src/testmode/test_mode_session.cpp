#include "testmode/test_mode_session.h"

#include <utility>

#include "link/serial_port.h"
#include "testmode/test_items.h"

namespace {

// The test region, which start test mode reads, and the whole memory of read and write all.
constexpr int kTestRegionAddress = 0x0FC0;
constexpr int kTestRegionEnd = 0x1000;
constexpr int kMemoryEnd = static_cast<int>(kImageSize);

}  // namespace

TestModeSession::TestModeSession(CSerialPort& port, std::string settingsPath, RadioImage& image)
    : m_Port(port), m_Link(port, std::move(settingsPath)), m_Image(image) {}

std::vector<std::string> TestModeSession::Fill() {
    std::vector<std::string> names = LoadTestItemNames();
    m_Selected = names.empty() ? -1 : 0;
    m_Position = m_Image.GetTestItem(0);
    return TestItemLines(names, m_Image);
}

std::vector<std::string> TestModeSession::ItemLines() const {
    return TestItemLines(LoadTestItemNames(), m_Image);
}

void TestModeSession::Select(int item) {
    m_Selected = item;
    m_Position = m_Image.GetTestItem(item);
    if (m_InTestMode) {
        SendAdjust();
    }
}

bool TestModeSession::Scroll(ScrollCode code, int trackedPosition) {
    if (code != ScrollCode::EndScroll) {
        m_Position = ScrolledPosition(code, m_Position, trackedPosition);
        return false;
    }
    m_Image.SetTestItem(m_Selected, m_Position);
    if (m_InTestMode) {
        SendAdjust();
    }
    return true;
}

void TestModeSession::SendAdjust() {
    // After a failed start the flag stays set but the port is closed: nothing can arrive.
    if (!m_Port.IsOpen()) {
        return;
    }
    if (std::optional<AdjustFrame> frame =
            BuildAdjustFrame(m_Selected, m_Image.GetTestItem(m_Selected))) {
        m_Link.SendAdjust(*frame);
    }
}

TestModeOutcome TestModeSession::StartTestMode() {
    // Set before the link runs and kept when it fails: the radio may already be listening.
    m_InTestMode = true;
    TestModeOutcome outcome;
    if (!Connect(outcome)) {
        return outcome;
    }
    outcome = ReadBlocks(kTestRegionAddress, kTestRegionEnd, std::move(outcome));
    if (outcome.message) {
        return outcome;
    }
    // No end byte: the radio stays in test mode and the port stays open for the adjustments.
    SendAdjust();
    return outcome;
}

TestModeOutcome TestModeSession::ReadAll() {
    TestModeOutcome outcome;
    if (!Connect(outcome)) {
        return outcome;
    }
    outcome = ReadBlocks(0, kMemoryEnd, std::move(outcome));
    if (outcome.message) {
        return outcome;
    }
    m_Link.SendEnd();
    m_Port.Close();
    m_Selected = LoadTestItemNames().empty() ? -1 : 0;
    m_Position = m_Image.GetTestItem(m_Selected);
    outcome.message = kReadDoneMessage;
    return outcome;
}

bool TestModeSession::Connect(TestModeOutcome& outcome) {
    LinkResult link = m_Link.Connect();
    outcome.warning = link.warning;
    if (!link.connected) {
        outcome.message = link.failure;
        return false;
    }
    return true;
}

TestModeOutcome TestModeSession::ReadBlocks(int firstAddress, int endAddress,
                                            TestModeOutcome outcome) {
    // The bar and the list follow the image, even after a partial read: a bar left at a
    // stale value would be stored into the item at the next end scroll.
    outcome.refill = true;
    for (int address = firstAddress; address < endAddress; address += kTestBlockSize) {
        if (!m_Link.ReadBlock(address, m_Image)) {
            m_Port.Close();
            outcome.message = kNoRadioMessage;
            break;
        }
    }
    m_Position = m_Image.GetTestItem(m_Selected);
    return outcome;
}

TestModeOutcome TestModeSession::WriteAll() {
    if (m_InTestMode) {
        if (m_Port.IsOpen()) {
            m_Link.SendEndWithoutAnswer();
        }
        m_InTestMode = false;
    }
    TestModeOutcome outcome;
    if (!Connect(outcome)) {
        return outcome;
    }
    for (int address = 0; address < kMemoryEnd; address += kTestBlockSize) {
        if (!m_Link.WriteBlock(address, m_Image)) {
            // No end byte and the port stays open: the radio is still in programming mode
            // and the next wake-up starts over.
            outcome.message = kWriteFailedMessage;
            return outcome;
        }
    }
    m_Link.SendEnd();
    m_Port.Close();
    outcome.message = kWriteDoneMessage;
    return outcome;
}

void TestModeSession::Close() {
    if (!m_InTestMode) {
        return;
    }
    if (m_Port.IsOpen()) {
        m_Link.SendEnd();
    }
    m_Port.Close();
    m_InTestMode = false;
}
