// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/mode_session.h"

#include <algorithm>
#include <utility>

#include "testmode/mode_items.h"

TestModeSession::TestModeSession(CableLine& port, std::string portsFolder, std::string settingsPath,
                                 std::string languagePath, RadioImage& image)
    : m_Port(port),
      m_PortsFolder(std::move(portsFolder)),
      m_SettingsPath(settingsPath),
      m_LanguagePath(std::move(languagePath)),
      m_Link(port, std::move(settingsPath)),
      m_Image(image) {}

std::vector<std::string> TestModeSession::Fill() {
    std::vector<std::string> names = LoadTestItemNames(m_LanguagePath);
    m_Selected = names.empty() ? -1 : 0;
    m_Position = m_Image.GetTestItem(0);
    return TestItemLines(names, m_Image);
}

std::vector<std::string> TestModeSession::ItemLines() const {
    return TestItemLines(LoadTestItemNames(m_LanguagePath), m_Image);
}

void TestModeSession::Select(int item) {
    m_Selected = item;
    m_Position = m_Image.GetTestItem(item);
    if (m_InTestMode) {
        SendAdjust();
    }
}

ScrollOutcome TestModeSession::Scroll(ScrollCode code, int trackedPosition) {
    ScrollOutcome outcome;
    if (code != ScrollCode::EndScroll) {
        m_Position = ScrolledPosition(code, m_Position, trackedPosition);
        return outcome;
    }
    int before = m_Image.GetTestItem(m_Selected);
    m_Image.SetTestItem(m_Selected, m_Position);
    if (m_InTestMode) {
        SendAdjust();
    }
    outcome.stored = true;
    outcome.imageChanged = m_Image.GetTestItem(m_Selected) != before;
    return outcome;
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

void TestModeSession::BeginExchange(TestExchangeKind kind, TestExchangeJob& job) {
    job.kind = kind;
    job.port = &m_Port;
    job.portsFolder = m_PortsFolder;
    job.settingsPath = m_SettingsPath;
    job.selectedItem = m_Selected;
    job.endTestModeFirst = false;
    job.image.bytes = m_Image.bytes;
    job.message.reset();
    job.diagnosis.reset();
    job.warning.clear();
    job.storedFrom = 0;
    job.storedEnd = 0;
    job.cancelled = false;
    job.radioChanged = false;
    job.progress.store(0, std::memory_order_release);
    job.cancel.store(0, std::memory_order_release);
    switch (kind) {
        case TestExchangeKind::StartTestMode:
            // Set before the link runs and kept when it fails: the radio may already listen.
            m_InTestMode = true;
            break;
        case TestExchangeKind::WriteAll:
            job.endTestModeFirst = m_InTestMode;
            m_InTestMode = false;
            break;
        case TestExchangeKind::ReadAll:
            break;
    }
}

TestModeOutcome TestModeSession::FinishExchange(const TestExchangeJob& job) {
    TestModeOutcome outcome;
    outcome.warning = job.warning;
    if (job.cancelled) {
        // The worker took the radio out of test mode and closed the port; what it read so
        // far is dropped with its copy. A write stopped halfway must not pass unnoticed.
        m_InTestMode = false;
        if (job.radioChanged) {
            outcome.message = kWriteCancelledMessage;
        }
        return outcome;
    }
    outcome.message = job.message;
    outcome.diagnosis = job.diagnosis;
    if (job.storedEnd > job.storedFrom) {
        std::copy(job.image.bytes.begin() + job.storedFrom, job.image.bytes.begin() + job.storedEnd,
                  m_Image.bytes.begin() + job.storedFrom);
        outcome.imageChanged = true;
        // The bar and the list follow the image, even after a partial read: a bar left at a
        // stale value would be stored into the item at the next end scroll.
        outcome.refill = true;
        if (job.kind == TestExchangeKind::ReadAll && job.message == kReadDoneMessage) {
            m_Selected = LoadTestItemNames(m_LanguagePath).empty() ? -1 : 0;
        }
        m_Position = m_Image.GetTestItem(m_Selected);
    }
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
