// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/station_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "codeplug/document.h"
#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/message_box.h"
#include "common/relabel.h"
#include "config/language.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"
#include "platform/output_path.h"
#include "resources/command_ids.h"
#include "resources/ids/station_ids.h"

namespace {

constexpr int kFollowMs = 50;

QString Lang(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

QString Path(const std::string& path) {
    return QString::fromStdString(path);
}

QString RadioDoneLine(const RadioRecord& record) {
    return Path(RadioDoneWords(record, [](const char* key) { return LoadLangString(key); }));
}

// Beside the document, named after it; in the home folder for a document never saved.
std::string DefaultLogPath(const std::string& documentPath) {
    namespace fs = std::filesystem;
    if (documentPath.empty()) {
        const char* home = std::getenv("HOME");
        return (fs::path(home != nullptr ? home : ".") / "station-log.csv").string();
    }
    fs::path document(documentPath);
    return (document.parent_path() / (document.stem().string() + "-station.csv")).string();
}

// A result seen across a bench: big, bold, white on green or red.
void ShowResult(QLabel* label, std::optional<RadioResult> result) {
    if (!result) {
        label->clear();
        label->setStyleSheet({});
        return;
    }
    // The same words as the radio's line in the list.
    label->setText(Lang(RadioDoneTextKeys(*result).advice));
    label->setStyleSheet(RadioPassed(*result)
                             ? "QLabel { background: #1b7f2a; color: white; font-weight: bold; }"
                             : "QLabel { background: #b3161b; color: white; font-weight: bold; }");
}

}  // namespace

void InstallStationCommand(const FeatureContext& context) {
    context.commands.SetCommandHandler(kCommandProgrammingStation, [&context] {
        CStationDlg dialog(context, context.window);
        dialog.exec();
    });
}

CStationDlg::CStationDlg(const FeatureContext& context, QWidget* parent)
    : TemplateDialog(kStationTemplate, parent),
      m_Context(context),
      m_Devices(FindControl<QListWidget>(this, kStationDeviceListId)),
      m_Log(FindControl<QListWidget>(this, kStationLogListId)) {
    RelabelDialog(this, kStationTemplate);
    FindControl<QAbstractButton>(this, kIdCancel)->setText(Lang("IDS_STATION_CLOSE"));
    const std::string& documentPath = m_Context.document.GetPathName();
    FindControl<QLabel>(this, kStationFileId)->setText(Lang("IDS_STATION_FILE").arg(Written()));
    m_Devices->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const SerialDevice& device : ListSerialDevices(m_Context.deviceRoots)) {
        m_Devices->addItem(Path(device.path));
    }
    FindControl<QCheckBox>(this, kStationVerifyId)->setChecked(true);
    // A run that writes nothing has nothing to read back.
    connect(FindControl<QCheckBox>(this, kStationCheckOnlyId), &QCheckBox::toggled, this,
            [this] { ShowRunning(false); });
    FindControl<QLineEdit>(this, kStationCodeEditId)->setMaxLength(kPttIdCodeSize);
    FindControl<QLineEdit>(this, kStationLogEditId)->setText(Path(DefaultLogPath(documentPath)));
    connect(FindControl<QAbstractButton>(this, kStationStartId), &QAbstractButton::clicked, this,
            &CStationDlg::OnStart);
    connect(FindControl<QAbstractButton>(this, kStationStopId), &QAbstractButton::clicked, this,
            &CStationDlg::OnStop);
    connect(&m_Timer, &QTimer::timeout, this, &CStationDlg::OnTimer);
    ShowRunning(false);
    using Follow = TemplateStretch::Follow;
    m_Stretch = std::make_unique<TemplateStretch>(
        this, std::initializer_list<std::pair<int, unsigned>>{
                  {kStationFileId, Follow::GrowWidth},
                  {kStationOtherEditId, Follow::GrowWidth},
                  {kStationLogEditId, Follow::GrowWidth},
                  {kStationRowsGroupId, Follow::GrowWidth | Follow::GrowHeight},
                  {kStationLogListId, Follow::GrowWidth | Follow::MoveDown},
                  {kStationStartId, Follow::MoveDown},
                  {kStationStopId, Follow::MoveDown},
                  {kIdCancel, Follow::MoveRight | Follow::MoveDown}});
    // A long path to the file is shown whole, not cut at the dialog's template width.
    auto* file = FindControl<QLabel>(this, kStationFileId);
    m_Stretch->Fit(file, QSize(file->sizeHint().width(), file->height()));
}

void CStationDlg::resizeEvent(QResizeEvent* event) {
    TemplateDialog::resizeEvent(event);
    if (m_Stretch) {
        m_Stretch->Apply();
    }
}

CStationDlg::~CStationDlg() = default;

// The radios get the open document: with unsaved changes that is not the file on disk.
QString CStationDlg::Written() const {
    const std::string& path = m_Context.document.GetPathName();
    if (path.empty()) {
        return Lang("IDS_STATION_UNTITLED");
    }
    return m_Context.document.IsModified() ? Lang("IDS_STATION_UNSAVED").arg(Path(path))
                                           : Path(path);
}

QPushButton* CStationDlg::NextButton(size_t cable) const {
    return cable < m_Rows.size() ? m_Rows[cable].next : nullptr;
}

QLabel* CStationDlg::ResultLabel(size_t cable) const {
    return cable < m_Rows.size() ? m_Rows[cable].result : nullptr;
}

QLabel* CStationDlg::StateLabel(size_t cable) const {
    return cable < m_Rows.size() ? m_Rows[cable].state : nullptr;
}

std::vector<std::string> CStationDlg::ChosenDevices() {
    std::vector<std::string> devices;
    for (const QListWidgetItem* item : m_Devices->selectedItems()) {
        devices.push_back(item->text().toStdString());
    }
    const QString other = FindControl<QLineEdit>(this, kStationOtherEditId)->text();
    for (const QString& device : other.split(QRegularExpression("[\\s,;]+"), Qt::SkipEmptyParts)) {
        devices.push_back(device.toStdString());
    }
    return devices;
}

void CStationDlg::OnStart() {
    if (m_Station && !m_Station->Finished()) {
        return;
    }
    std::vector<std::string> devices = ChosenDevices();
    if (devices.empty()) {
        MessageBox::Show(this, LoadLangString("IDS_STATION_NO_CABLE"), LoadLangString("IDS_ERROR"),
                         MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    StationOptions options;
    const QString firstCode = FindControl<QLineEdit>(this, kStationCodeEditId)->text().trimmed();
    std::string error;
    PttIdSeries codes;
    if (!firstCode.isEmpty()) {
        if (!ParsePttIdSeries(firstCode.toStdString(), &codes, &error)) {
            MessageBox::Show(this, LoadLangString("IDS_STATION_CODE_BAD"),
                             LoadLangString("IDS_ERROR"), MessageIcon::Stop, MessageButtons::Ok);
            return;
        }
        options.pttIdCodes = codes;
    }
    m_Station.reset();
    m_Context.document.PrepareImageUnrecorded();
    options.settingsPath = m_Context.settingsPath;
    options.verify = FindControl<QCheckBox>(this, kStationVerifyId)->isChecked();
    options.autoNext = FindControl<QCheckBox>(this, kStationAutoId)->isChecked();
    options.checkOnly = FindControl<QCheckBox>(this, kStationCheckOnlyId)->isChecked();
    options.fileName = m_Context.document.GetPathName();
    options.runId = StationRunId();
    options.documentSettings = m_Context.document.GetSettings();
    auto station = std::make_unique<ProgrammingStation>(m_Context.document.Image().bytes, options,
                                                        m_StationLog);
    // The program's own port may be one of the cables; the station holds each one itself.
    m_Context.port.Close();
    if (station->OpenCables(devices, &error) != CableOpening::Opened) {
        MessageBox::Show(this, error, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
        return;
    }
    std::string logPath = FindControl<QLineEdit>(this, kStationLogEditId)->text().toStdString();
    // A run without a log file must not append to the last run's.
    m_StationLog.Close();
    if (!logPath.empty() &&
        (!CheckOutputPath(logPath, {m_Context.settingsPath, m_Context.document.GetPathName()},
                          &error) ||
         !m_StationLog.Open(logPath, &error))) {
        MessageBox::Show(this, error, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
        return;
    }
    m_Station = std::move(station);
    for (const UnloggedRadio& radio : m_StationLog.Unlogged()) {
        m_Log->addItem(
            Lang("IDS_STATION_UNLOGGED")
                .arg(Path(radio.cable), QString::number(radio.number), Path(radio.written)));
    }
    if (m_Context.document.GetPathName().empty() || m_Context.document.IsModified()) {
        m_Log->addItem(Lang("IDS_STATION_FILE").arg(Written()));
    }
    MakeRows();
    m_Station->Start();
    ShowRunning(true);
    m_Timer.start(kFollowMs);
}

void CStationDlg::OnStop() {
    if (m_Station) {
        m_Station->Stop(false);
    }
}

void CStationDlg::MakeRows() {
    auto* group = FindControl<QGroupBox>(this, kStationRowsGroupId);
    delete m_RowsArea;
    m_Rows.clear();
    if (group->layout() == nullptr) {
        new QVBoxLayout(group);
    }
    // Any number of cables: past what the group shows, the rows scroll.
    m_RowsArea = new QScrollArea(group);
    m_RowsArea->setWidgetResizable(true);
    m_RowsArea->setFrameShape(QFrame::NoFrame);
    auto* rows = new QWidget(m_RowsArea);
    auto* layout = new QGridLayout(rows);
    // Twice the dialog's text: read from across a bench full of radios.
    QFont big = font();
    if (big.pixelSize() > 0) {
        big.setPixelSize(big.pixelSize() * 2);
    } else {
        big.setPointSizeF(big.pointSizeF() * 2);
    }
    big.setBold(true);
    QFont name = font();
    name.setBold(true);
    for (size_t k = 0; k < m_Station->CableCount(); ++k) {
        CableRow row{new QLabel(Path(m_Station->CableName(k)), rows), new QLabel(rows),
                     new QLabel(rows), new QPushButton(Lang("IDS_STATION_NEXT"), rows),
                     new QLabel(rows)};
        row.device->setFont(name);
        row.result->setFont(big);
        row.result->setAlignment(Qt::AlignCenter);
        row.result->setMinimumWidth(
            QFontMetrics(big).horizontalAdvance(Lang("IDS_STATION_FAILED")) + 16);
        row.next->setAccessibleName(Lang("IDS_STATION_NEXT") + ' ' + row.device->text());
        row.result->setAccessibleName(row.device->text());
        int line = 2 * static_cast<int>(k);
        layout->addWidget(row.device, line, 0);
        layout->addWidget(row.count, line, 1);
        layout->addWidget(row.state, line + 1, 0, 1, 2);
        layout->addWidget(row.result, line, 2, 2, 1);
        layout->addWidget(row.next, line, 3, 2, 1);
        connect(row.next, &QPushButton::clicked, this, [this, k] {
            if (m_Station) {
                m_Station->Confirm(k);
            }
        });
        m_Rows.push_back(row);
        ShowRow(k);
    }
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(2 * static_cast<int>(m_Rows.size()), 1);
    m_RowsArea->setWidget(rows);
    group->layout()->addWidget(m_RowsArea);
    group->layout()->activate();
    // The rows show whole: device paths and state lines are never cut, and only rows past
    // the screen's height scroll.
    const QSize frame = m_RowsArea->size() - m_RowsArea->viewport()->size();
    m_Stretch->Fit(m_RowsArea, rows->sizeHint() + frame);
}

void CStationDlg::ShowRow(size_t cable) {
    CableStatus status = m_Station->Status(cable);
    const CableRow& row = m_Rows[cable];
    QString state;
    switch (status.phase) {
        case CablePhase::WaitingForConfirm:
            state = Lang("IDS_STATION_WAITING");
            break;
        case CablePhase::LookingForRadio:
            state = Lang("IDS_STATION_LOOKING");
            break;
        case CablePhase::Writing:
            state = Lang("IDS_STATION_WRITING").arg(status.progress);
            break;
        case CablePhase::Checking:
            state = Lang("IDS_STATION_CHECKING").arg(status.progress);
            break;
        case CablePhase::WaitingForUnplug:
            state = Lang("IDS_STATION_UNPLUG");
            break;
        case CablePhase::Stopped:
            state = Lang("IDS_STATION_STOPPED");
            break;
    }
    if (row.state->text() != state) {
        row.state->setText(state);
    }
    row.count->setText(Lang("IDS_STATION_COUNT").arg(status.radios).arg(status.okRadios));
    row.next->setEnabled(status.phase == CablePhase::WaitingForConfirm);
    // While the next radio is written the last result would mislead.
    bool busy = status.phase == CablePhase::Writing || status.phase == CablePhase::Checking;
    ShowResult(row.result, busy ? std::nullopt : status.last);
    // A state line longer than those the rows were laid out with widens the dialog too.
    if (m_RowsArea != nullptr && m_RowsArea->widget() != nullptr &&
        m_RowsArea->widget()->sizeHint().width() > m_RowsArea->viewport()->width()) {
        const QSize frame = m_RowsArea->size() - m_RowsArea->viewport()->size();
        m_Stretch->Fit(m_RowsArea, m_RowsArea->widget()->sizeHint() + frame);
    }
}

void CStationDlg::ShowEvents() {
    for (const StationEvent& event : m_Station->TakeEvents()) {
        switch (event.kind) {
            case StationEventKind::RadioDone:
                m_Log->addItem(RadioDoneLine(event.record));
                break;
            case StationEventKind::CodeWouldNotFit:
                MessageBox::Show(this,
                                 Lang("IDS_STATION_CODE_FULL")
                                     .arg(Path(m_Station->CableName(event.cable)),
                                          QString::number(event.record.number))
                                     .toStdString(),
                                 LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                                 MessageButtons::Ok);
                break;
            case StationEventKind::NoRadioAnswered:
                m_Log->addItem(
                    Lang("IDS_STATION_NO_RADIO").arg(Path(m_Station->CableName(event.cable))));
                break;
            case StationEventKind::LogFailed:
                MessageBox::Show(
                    this, Lang("IDS_STATION_LOG_FAILED").arg(Path(event.error)).toStdString(),
                    LoadLangString("IDS_ERROR"), MessageIcon::Stop, MessageButtons::Ok);
                break;
            case StationEventKind::StillAnswering:
                m_Log->addItem(Lang("IDS_STATION_STILL_ANSWERING")
                                   .arg(Path(m_Station->CableName(event.cable)),
                                        QString::number(event.record.number)));
                break;
            case StationEventKind::CableGone:
                m_Log->addItem(Lang("IDS_STATION_CABLE_GONE")
                                   .arg(Path(m_Station->CableName(event.cable)),
                                        QString::number(event.cable + 1)));
                break;
            case StationEventKind::WaitingForConfirm:
            case StationEventKind::WaitingForUnplug:
            case StationEventKind::CableStopped:
                break;
        }
    }
    m_Log->scrollToBottom();
}

void CStationDlg::OnTimer() {
    if (!m_Station) {
        return;
    }
    ShowEvents();
    for (size_t k = 0; k < m_Rows.size(); ++k) {
        ShowRow(k);
    }
    if (!m_Station->Finished()) {
        return;
    }
    m_Timer.stop();
    std::vector<RadioRecord> records = m_Station->Records();
    for (size_t k = 0; k < m_Station->CableCount(); ++k) {
        m_Log->addItem(Path(StationSummary(records, m_Station->CableName(k))));
    }
    m_Log->addItem(Path(StationSummary(records)));
    m_Log->scrollToBottom();
    ShowRunning(false);
    if (m_Closing) {
        TemplateDialog::reject();
    }
}

int CStationDlg::CableWriting() const {
    for (size_t k = 0; m_Station && k < m_Station->CableCount(); ++k) {
        CablePhase phase = m_Station->Status(k).phase;
        if (phase == CablePhase::Writing || phase == CablePhase::Checking) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

void CStationDlg::reject() {
    if (!m_Station || m_Station->Finished()) {
        TemplateDialog::reject();
        return;
    }
    int writing = CableWriting();
    if (writing >= 0) {
        QString question =
            Lang("IDS_STATION_CLOSE_WRITING").arg(Path(m_Station->CableName(writing)));
        if (MessageBox::Show(this, question.toStdString(), LoadLangString("IDS_CONFIRM"),
                             MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
            return;
        }
    }
    // The workers end at their next look at the flags; the timer closes the dialog then.
    m_Closing = true;
    m_Station->Stop(true);
}

void CStationDlg::ShowRunning(bool running) {
    FindControl<QAbstractButton>(this, kStationStartId)->setEnabled(!running);
    FindControl<QAbstractButton>(this, kStationStopId)->setEnabled(running);
    for (int id : {kStationDeviceListId, kStationOtherEditId, kStationAutoId, kStationCheckOnlyId,
                   kStationLogEditId, kStationCodeEditId}) {
        FindControl<QWidget>(this, id)->setEnabled(!running);
    }
    FindControl<QWidget>(this, kStationVerifyId)
        ->setEnabled(!running && !FindControl<QCheckBox>(this, kStationCheckOnlyId)->isChecked());
}
