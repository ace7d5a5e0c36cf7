// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_function_items.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "common/dialog_builder.h"
#include "config/language.h"
#include "resources/ids/function_page_ids.h"

namespace {

enum class ItemKind { Choice, Check, Code, None };

struct ReportItem {
    ItemKind kind;
    int controlId;
};

constexpr ReportItem kNoItem{ItemKind::None, 0};

// Control ids of the functions page; a choice and its label share the id.
constexpr std::array<std::array<ReportItem, 3>, kFunctionReportLineCount> kReportItems = {{
    {{{ItemKind::Choice, kSquelchId},
      {ItemKind::Choice, kScanModeId},
      {ItemKind::Check, kDualWatchId}}},
    {{{ItemKind::Check, kEndToneId}, {ItemKind::Check, kBeepId}, {ItemKind::Check, kBacklightId}}},
    {{{ItemKind::Check, kPowerSaveId},
      {ItemKind::Choice, kFrequencyModeId},
      {ItemKind::Choice, kPttIdModeId}}},
    {{{ItemKind::Check, kRadioFunctionId},
      {ItemKind::Check, kVoicePromptId},
      {ItemKind::Choice, kRadioWorkModeId}}},
    {{{ItemKind::Choice, kWorkModeAId},
      {ItemKind::Choice, kWorkModeBId},
      {ItemKind::Choice, kVoiceSelectId}}},
    {{{ItemKind::Choice, kTxTimeLimitId},
      {ItemKind::Choice, kDualWatchTxId},
      {ItemKind::Check, kAniTxId}}},
    {{{ItemKind::Choice, kDisplayF1Id},
      {ItemKind::Choice, kDisplayF2Id},
      {ItemKind::Check, kSideToneId}}},
    {{{ItemKind::Choice, kVoxLevelId}, {ItemKind::Code, kPttIdCodeId}, kNoItem}},
}};

const QString kSeparator = QStringLiteral(" : ");

QString LabelText(QWidget& page, int id) {
    auto* label = FindControl<QLabel>(&page, id);
    return label != nullptr ? label->text() : QString();
}

// Empty when the page lacks the control, so a page built without it prints no stray text.
QString ItemText(QWidget& page, const ReportItem& item) {
    QWidget* parent = &page;
    switch (item.kind) {
        case ItemKind::Choice:
            if (auto* list = FindControl<QComboBox>(parent, item.controlId)) {
                return LabelText(page, item.controlId) + kSeparator + list->currentText();
            }
            break;
        case ItemKind::Check:
            if (auto* box = FindControl<QCheckBox>(parent, item.controlId)) {
                const char* key = box->isChecked() ? "IDS_YES" : "IDS_NO";
                return box->text() + kSeparator + QString::fromStdString(LoadLangString(key));
            }
            break;
        case ItemKind::Code:
            if (auto* edit = FindControl<QLineEdit>(parent, item.controlId)) {
                return LabelText(page, item.controlId) + kSeparator + edit->text();
            }
            break;
        case ItemKind::None:
            break;
    }
    return QString();
}

}  // namespace

std::vector<std::vector<QString>> FunctionReportLines(QWidget& functionPage) {
    std::vector<std::vector<QString>> lines;
    for (const auto& row : kReportItems) {
        std::vector<QString>& line = lines.emplace_back();
        for (const ReportItem& item : row) {
            if (item.kind != ItemKind::None) {
                line.push_back(ItemText(functionPage, item));
            }
        }
    }
    return lines;
}
