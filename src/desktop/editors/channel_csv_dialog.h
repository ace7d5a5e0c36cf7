// SPDX-License-Identifier: GPL-3.0-or-later
// The import dialog of a CSV channel list: the user chooses between replacing the channel
// table and filling only empty channels, reads every loss the import would cause, may save
// that report, and only OK lets the caller apply the previewed image.
#pragma once

#include <string>

#include "common/dialog_builder.h"
#include "editors/channel_csv.h"
#include "resources/ids/channel_import_ids.h"

class QListWidget;
class QRadioButton;
class QLabel;

class CChannelImportDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Opens on the caller's preview of text in FillEmpty mode, which succeeded: Enter keeps
    // the channel table. Only the other mode is previewed here.
    CChannelImportDlg(const CHalvexDoc& document, std::string text,
                      const std::array<uint8_t, kImageSize>& fillImage,
                      ChannelImportResult fillResult, QWidget* parent = nullptr);

    ChannelImportMode Mode() const;
    // The image the import makes in the chosen mode.
    const std::array<uint8_t, kImageSize>& Image() const { return m_Image; }
    const ChannelImportResult& Result() const { return m_Result; }

    QListWidget* ReportList() const { return m_Report; }

private:
    void Preview();
    void ShowResult();
    void OnSaveReport();

    const CHalvexDoc& m_Document;
    std::string m_Text;
    std::array<uint8_t, kImageSize> m_Image{};
    ChannelImportResult m_Result;
    QRadioButton* m_Replace;
    QRadioButton* m_FillEmpty;
    QLabel* m_Summary;
    QListWidget* m_Report;
};

// The language file's wording of the import report.
std::string LanguageWording(const CsvReportText& text);
