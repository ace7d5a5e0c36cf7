// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "config/language.h"
#include "resources/command_ids.h"

namespace {

constexpr const char* kMenuKeyProperty = "menuKey";

QString LangText(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

bool HoldsChannels(const CHalvexDoc& document) {
    for (int n = 1; n <= kImageChannelCount; ++n) {
        if (!document.Image().IsChannelEmpty(n)) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString ButtonTextOfMenuEntry(const std::string& entry) {
    QString text = QString::fromStdString(entry);
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const QString shortcut = tab < 0 ? QString() : text.mid(tab + 1);
    text = text.left(tab < 0 ? text.size() : tab);
    // An accelerator written after the text, as Chinese and Japanese menus have it.
    static const QRegularExpression kTrailingMark(QStringLiteral("[(（]&[^&][)）]"));
    text.remove(kTrailingMark);
    QString shown;
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == QLatin1Char('&') && k + 1 < text.size()) {
            ++k;
        }
        shown += text[k];
    }
    shown = shown.trimmed();
    return shortcut.isEmpty() ? shown : shown + QStringLiteral(" (") + shortcut + QLatin1Char(')');
}

StartPanel::StartPanel(CHalvexDoc& document, std::function<void(int)> run, QWidget* parent)
    : QFrame(parent),
      m_Document(document),
      m_Run(std::move(run)),
      m_Title(new QLabel(this)),
      m_Text(new QLabel(this)),
      m_Dismiss(new QPushButton(this)) {
    setObjectName(QStringLiteral("startPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::AlternateBase);
    m_Title->setObjectName(QStringLiteral("startTitle"));
    QFont bold = m_Title->font();
    bold.setBold(true);
    m_Title->setFont(bold);
    m_Text->setObjectName(QStringLiteral("startText"));
    m_Text->setWordWrap(true);
    m_Dismiss->setObjectName(QStringLiteral("startDismiss"));
    connect(m_Dismiss, &QPushButton::clicked, this, [this] {
        m_Done = true;
        OnUpdate();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandButton(kCommandReadRadio, "Menu_Program_ReadData"));
    buttons->addWidget(CommandButton(kCommandOpen, "Menu_File_Open"));
    buttons->addWidget(CommandButton(kCommandCheckConnection, "Menu_Program_CheckConnection"));
    buttons->addStretch(1);
    buttons->addWidget(m_Dismiss);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Title);
    layout->addWidget(m_Text);
    layout->addLayout(buttons);

    Relabel();
    m_Document.AddView(this);
    OnUpdate();
}

StartPanel::~StartPanel() {
    m_Document.RemoveView(this);
}

QPushButton* StartPanel::CommandButton(int commandId, const char* menuKey) {
    auto* button = new QPushButton(this);
    button->setObjectName(QStringLiteral("start%1").arg(commandId));
    button->setProperty(kMenuKeyProperty, QString::fromLatin1(menuKey));
    connect(button, &QPushButton::clicked, this, [this, commandId] { m_Run(commandId); });
    return button;
}

void StartPanel::Relabel() {
    m_Title->setText(LangText("IDS_START_TITLE"));
    m_Text->setText(LangText("IDS_START_TEXT"));
    m_Dismiss->setText(LangText("IDS_START_DISMISS"));
    setAccessibleName(m_Title->text());
    for (QPushButton* button : findChildren<QPushButton*>()) {
        const QString key = button->property(kMenuKeyProperty).toString();
        if (!key.isEmpty()) {
            button->setText(ButtonTextOfMenuEntry(LoadLangString(key.toStdString())));
        }
    }
}

void StartPanel::OnUpdate() {
    OnTitleChanged();
    setVisible(!m_Done);
    if (m_Shown != !m_Done) {
        m_Shown = !m_Done;
        emit shownChanged();
    }
}

int StartPanel::HeightIn(int width) const {
    if (!m_Shown) {
        return 0;
    }
    return hasHeightForWidth() ? heightForWidth(width) : sizeHint().height();
}

void StartPanel::OnTitleChanged() {
    m_Done = m_Done || HoldsChannels(m_Document);
}
