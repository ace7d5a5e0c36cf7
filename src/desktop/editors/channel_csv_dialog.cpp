// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_csv_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "codeplug/document.h"
#include "common/file_dialog.h"
#include "common/message_box.h"
#include "common/relabel.h"
#include "config/language.h"
#include "platform/atomic_file.h"

std::string LanguageWording(const CsvReportText& text) {
    return LoadLangString(text.key);
}

CChannelImportDlg::CChannelImportDlg(const CHalvexDoc& document, std::string text,
                                     const std::array<uint8_t, kImageSize>& fillImage,
                                     ChannelImportResult fillResult, QWidget* parent)
    : TemplateDialog(kChannelImportTemplate, parent),
      m_Document(document),
      m_Text(std::move(text)),
      m_Image(fillImage),
      m_Result(std::move(fillResult)),
      m_Replace(FindControl<QRadioButton>(this, kImportReplaceId)),
      m_FillEmpty(FindControl<QRadioButton>(this, kImportFillEmptyId)),
      m_Summary(FindControl<QLabel>(this, kImportSummaryId)),
      m_Report(FindControl<QListWidget>(this, kImportReportId)) {
    RelabelDialog(this, kChannelImportTemplate);
    m_FillEmpty->setChecked(true);
    connect(m_Replace, &QRadioButton::toggled, this, [this] { Preview(); });
    connect(FindControl<QPushButton>(this, kImportSaveReportId), &QPushButton::clicked, this,
            &CChannelImportDlg::OnSaveReport);
    ShowResult();
}

ChannelImportMode CChannelImportDlg::Mode() const {
    return m_FillEmpty->isChecked() ? ChannelImportMode::FillEmpty : ChannelImportMode::Replace;
}

void CChannelImportDlg::Preview() {
    std::string error;
    m_Report->clear();
    if (!PreviewChannelImport(m_Text, m_Document, m_Document.GetChannelCount(), Mode(),
                              LanguageWording, &m_Image, &m_Result, &error)) {
        // The caller previewed the same text before; only a vanished settings file gets here.
        m_Summary->setText(QString::fromStdString(error));
        m_Image = m_Document.Image().bytes;
        return;
    }
    ShowResult();
}

void CChannelImportDlg::ShowResult() {
    m_Summary->setText(QString::fromStdString(ImportSummary(m_Result, LanguageWording)));
    for (const std::string& loss : m_Result.losses) {
        m_Report->addItem(QString::fromStdString(loss));
    }
}

void CChannelImportDlg::OnSaveReport() {
    std::optional<std::string> path = FileDialog::GetSaveFileName(
        this, FileFilter{LoadLangString("IDS_CSV_REPORT_FILTER"), ".txt"}, "");
    if (!path) {
        return;
    }
    std::string report;
    for (const std::string& loss : m_Result.losses) {
        report += loss + "\n";
    }
    report += ImportSummary(m_Result, LanguageWording) + "\n";
    std::string error;
    if (!ReplaceFileContents(*path, report, &error)) {
        MessageBox::Show(this, error, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
    }
}
