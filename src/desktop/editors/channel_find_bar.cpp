// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "codeplug/channel_columns.h"
#include "codeplug/document.h"
#include "common/accessible_names.h"
#include "common/step_names.h"
#include "editors/channel_bulk_edit.h"
#include "grid/grid_ctrl.h"

namespace {

QToolButton* Button(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

CChannelFindBar::CChannelFindBar(const CHalvexDoc& document, CGridCtrl* grid, QWidget* parent)
    : QWidget(parent),
      m_Document(document),
      m_Grid(grid),
      m_Label(new QLabel(this)),
      m_Edit(new QLineEdit(this)),
      m_Previous(Button(Qt::UpArrow, this)),
      m_Next(Button(Qt::DownArrow, this)),
      m_Close(new QToolButton(this)),
      m_Status(new QLabel(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_Label);
    layout->addWidget(m_Edit);
    layout->addWidget(m_Previous);
    layout->addWidget(m_Next);
    layout->addWidget(m_Status, 1);
    layout->addWidget(m_Close);
    m_Label->setBuddy(m_Edit);
    // Room for a name or a whole frequency, whatever the language's label takes.
    m_Edit->setFixedWidth(m_Edit->fontMetrics().horizontalAdvance(QStringLiteral("000.000000")) +
                          m_Edit->fontMetrics().averageCharWidth() * 2);
    m_Edit->setObjectName(QStringLiteral("findText"));
    m_Status->setObjectName(QStringLiteral("findStatus"));
    m_Close->setText(QStringLiteral("\u00D7"));
    m_Close->setAutoRaise(true);
    m_Close->setFocusPolicy(Qt::NoFocus);
    m_Edit->installEventFilter(this);
    connect(m_Edit, &QLineEdit::textChanged, this, [this] { Step(1, true); });
    connect(m_Edit, &QLineEdit::returnPressed, this, &CChannelFindBar::FindNext);
    connect(m_Next, &QToolButton::clicked, this, &CChannelFindBar::FindNext);
    connect(m_Previous, &QToolButton::clicked, this, &CChannelFindBar::FindPrevious);
    connect(m_Close, &QToolButton::clicked, this, &CChannelFindBar::Close);
    Refresh();
    hide();
}

void CChannelFindBar::Refresh() {
    m_Label->setText(LangText("IDS_FIND_LABEL"));
    SetAccessibleControlName(m_Edit, LangText("IDS_FIND_LABEL").remove(QLatin1Char(':')));
    for (auto [button, key] :
         {std::pair{m_Next, "IDS_FIND_NEXT"}, std::pair{m_Previous, "IDS_FIND_PREVIOUS"},
          std::pair{m_Close, "IDS_FIND_CLOSE"}}) {
        button->setToolTip(LangText(key));
        button->setAccessibleName(LangText(key));
    }
    if (isVisible() && !m_Edit->text().isEmpty()) {
        Step(1, true);
    }
}

QString CChannelFindBar::StatusText() const {
    return m_Status->text();
}

void CChannelFindBar::Open() {
    show();
    raise();
    m_Edit->setFocus(Qt::ShortcutFocusReason);
    m_Edit->selectAll();
}

void CChannelFindBar::Close() {
    hide();
    m_Grid->setFocus(Qt::OtherFocusReason);
}

void CChannelFindBar::FindNext() {
    if (m_Edit->text().isEmpty()) {
        Open();
        return;
    }
    Step(1, false);
}

void CChannelFindBar::FindPrevious() {
    if (m_Edit->text().isEmpty()) {
        Open();
        return;
    }
    Step(-1, false);
}

void CChannelFindBar::Step(int direction, bool includeCurrent) {
    m_Matches = FindChannels(m_Document, m_Document.GetChannelCount(),
                             m_Edit->text().trimmed().toStdString());
    if (m_Matches.empty()) {
        m_Status->setText(m_Edit->text().isEmpty() ? QString() : LangText("IDS_FIND_NO_MATCH"));
        Announce();
        return;
    }
    const int row = m_Grid->GetFocusCell().row;
    const int count = static_cast<int>(m_Matches.size());
    int index = direction > 0 ? 0 : count - 1;
    for (int k = 0; k < count; ++k) {
        const int candidate = direction > 0 ? k : count - 1 - k;
        const int n = m_Matches[static_cast<size_t>(candidate)];
        if (direction > 0 ? (includeCurrent ? n >= row : n > row)
                          : (includeCurrent ? n <= row : n < row)) {
            index = candidate;
            break;
        }
    }
    Show(index);
}

void CChannelFindBar::Show(int index) {
    const int n = m_Matches[static_cast<size_t>(index)];
    const int column = std::max(m_Grid->GetFocusCell().column, int{kColumnReceive});
    // The channel found is what the next channel command acts on, not rows chosen before.
    m_Grid->SelectRows({n});
    m_Grid->SelectCell(n, column);
    const QString name = m_Grid->GetCellText(n, kColumnName);
    const QString shown = name.isEmpty()
                              ? m_Grid->GetCellText(n, kColumnReceive)
                              : m_Grid->GetCellText(n, kColumnReceive) + QLatin1Char(' ') + name;
    m_Status->setText(
        LangText("IDS_FIND_MATCH", {QString::number(n), shown, QString::number(index + 1),
                                    QString::number(m_Matches.size())}));
    Announce();
}

// A screen reader follows the field being typed in, not the line beside it: the field's name
// carries what was found, and its change is spoken.
void CChannelFindBar::Announce() {
    const QString label = LangText("IDS_FIND_LABEL").remove(QLatin1Char(':'));
    SetAccessibleControlName(m_Edit, m_Status->text().isEmpty()
                                         ? label
                                         : label + QStringLiteral(", ") + m_Status->text());
    AnnounceLabelText(m_Status);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(m_Edit, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

bool CChannelFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Edit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
