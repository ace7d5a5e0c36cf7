// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_test_mode.h"

#include <algorithm>
#include <utility>

#include "config/app_globals.h"
#include "config/language.h"
#include "link/clone_frames.h"
#include "web_doctor.h"
#include "web_files.h"

namespace {

constexpr int kBlockSize = 16;

void CopyInto(const std::vector<uint8_t>& bytes, RadioImage& image) {
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.bytes.size()), image.bytes.begin());
}

}  // namespace

TestModeBox WordTestModeMessage(const TestModeMessage& message, const std::string& detail) {
    TestModeBox box;
    // The application's title is the one the page shows in this language.
    box.caption = LoadLangString(message.captionKey.empty() ? "IDS_WINDOWNAME"
                                                            : std::string(message.captionKey));
    box.text = LoadLangString(std::string(message.textKey));
    if (!detail.empty()) {
        box.text += "\n\n" + detail;
    }
    box.stopIcon = message.stopIcon;
    return box;
}

std::string TakeTestModeImage(WebDocument& document, const std::vector<uint8_t>& image,
                              const std::string& stepKey, int item) {
    CHalvexDoc& edited = document.EditedDocument();
    CopyInto(image, edited.EditImage());
    edited.SetModifiedFlag();
    std::vector<StepPart> parts;
    if (item >= 0) {
        parts.push_back(StepPart::TestItem(item));
    }
    std::string name = document.CommitStep(stepKey, parts);
    // Read all brings the radio's band words along, and with them its frequency limits.
    edited.RefreshLimitsAndViews();
    return name;
}

WebTestMode::WebTestMode(int line, std::string name, const std::vector<uint8_t>& image)
    : m_Line(line),
      m_Name(std::move(name)),
      m_Session(m_Line, {}, kWebSettingsPath, g_LanguagePath, m_Image) {
    CopyInto(image, m_Image);
}

void WebTestMode::UseImage(const std::vector<uint8_t>& image) {
    CopyInto(image, m_Image);
}

std::vector<uint8_t> WebTestMode::ImageBytes() const {
    return {m_Image.bytes.begin(), m_Image.bytes.end()};
}

TestModeScroll WebTestMode::Scroll(ScrollCode code, int trackedPosition) {
    TestModeScroll scroll;
    if (code == ScrollCode::EndScroll && m_Session.SelectedItem() < 0) {
        return scroll;
    }
    const ScrollOutcome outcome = m_Session.Scroll(code, trackedPosition);
    scroll.stored = outcome.stored;
    if (outcome.imageChanged) {
        scroll.stepKey = "IDS_STEP_TEST_VALUE";
        scroll.item = m_Session.SelectedItem();
    }
    return scroll;
}

TestModeEnding WebTestMode::Exchange(TestExchangeKind kind) {
    m_Session.BeginExchange(kind, m_Job);
    m_Job.fixedPort = true;
    if (!m_Line.IsOpen()) {
        // A port that will not open fails the wake-up; the doctor then finds and words why.
        std::string error;
        m_Line.OpenDevice({}, clone_frames::kBaudRate, &error);
    }
    if (!ExchangeInTestMode(m_Job) && !m_Job.IsCancelled()) {
        // The page's doctor: what a browser can see of why the radio could not be reached.
        m_Job.diagnosis = DiagnoseWebPort(m_Line, m_Name, kWebSettingsPath, true, &m_Job.cancel);
    }
    const TestModeOutcome outcome = m_Session.FinishExchange(m_Job);
    TestModeEnding ending;
    ending.warning = outcome.warning;
    ending.refill = outcome.refill;
    if (outcome.imageChanged) {
        ending.stepKey =
            kind == TestExchangeKind::ReadAll ? "IDS_STEP_TEST_READ_ALL" : "IDS_STEP_TEST_READ";
    }
    if (m_Job.cancelled && kind == TestExchangeKind::ReadAll) {
        ending.readStopped = LoadLangStringWith("IDS_TEST_READSTOPPED",
                                                {(m_Job.storedEnd - m_Job.storedFrom) / kBlockSize,
                                                 static_cast<int>(kImageSize) / kBlockSize});
    }
    if (outcome.message) {
        ending.box = WordTestModeMessage(
            *outcome.message, outcome.diagnosis ? WordDiagnosis(*outcome.diagnosis).text : "");
    }
    return ending;
}
