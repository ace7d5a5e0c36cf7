#include "view/print_function_items.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "app/dialog_builder.h"
#include "config/language.h"

namespace {

enum class ItemKind { Choice, Check, Code, None };

struct ReportItem {
    ItemKind kind;
    int controlId;
};

constexpr ReportItem kNoItem{ItemKind::None, 0};

// Control ids of the functions page; a choice and its label share the id.
constexpr std::array<std::array<ReportItem, 3>, kFunctionReportLineCount> kReportItems = {{
    {{{ItemKind::Choice, 1026}, {ItemKind::Choice, 1028}, {ItemKind::Check, 1029}}},
    {{{ItemKind::Check, 1030}, {ItemKind::Check, 1031}, {ItemKind::Check, 1032}}},
    {{{ItemKind::Check, 1033}, {ItemKind::Choice, 1035}, {ItemKind::Choice, 1037}}},
    {{{ItemKind::Check, 1038}, {ItemKind::Check, 1039}, {ItemKind::Choice, 1041}}},
    {{{ItemKind::Choice, 1043}, {ItemKind::Choice, 1045}, {ItemKind::Choice, 1047}}},
    {{{ItemKind::Choice, 1049}, {ItemKind::Choice, 1051}, {ItemKind::Check, 1052}}},
    {{{ItemKind::Choice, 1054}, {ItemKind::Choice, 1056}, {ItemKind::Check, 1057}}},
    {{{ItemKind::Choice, 1059}, {ItemKind::Code, 1061}, kNoItem}},
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
