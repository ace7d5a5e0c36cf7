// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "common/accessible_names.h"
#include "config/language.h"

namespace {

QString LangText(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

// The anchor a heading carries, empty for other blocks.
QString HeadingAnchor(const QTextBlock& block) {
    if (block.blockFormat().headingLevel() == 0) {
        return {};
    }
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        if (QStringList names = fragment.fragment().charFormat().anchorNames(); !names.isEmpty()) {
            return names.first();
        }
    }
    return {};
}

}  // namespace

CHelpWindow::CHelpWindow()
    : m_Back(new QToolButton(this)),
      m_Forward(new QToolButton(this)),
      m_FindLabel(new QLabel(this)),
      m_FindField(new QLineEdit(this)),
      m_NotFound(new QLabel(this)),
      m_Note(new QLabel(this)),
      m_Browser(new QTextBrowser(this)) {
    setWindowFlag(Qt::Window);
    // Closing the main window ends the program even while the guide is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_Back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    m_Forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    for (QToolButton* button : {m_Back, m_Forward}) {
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setEnabled(false);
    }
    m_Back->setShortcut(QKeySequence::Back);
    m_Forward->setShortcut(QKeySequence::Forward);
    m_FindLabel->setBuddy(m_FindField);
    m_FindField->setClearButtonEnabled(true);
    m_NotFound->setVisible(false);
    m_NotFound->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    m_Browser->setOpenExternalLinks(true);
    m_Note->setVisible(false);
    m_Note->setWordWrap(true);
    m_Note->setStyleSheet(QStringLiteral("font-weight: bold;"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_Back);
    bar->addWidget(m_Forward);
    bar->addStretch(1);
    bar->addWidget(m_FindLabel);
    bar->addWidget(m_FindField, 1);
    bar->addWidget(m_NotFound);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_Note);
    layout->addWidget(m_Browser, 1);

    connect(m_Back, &QToolButton::clicked, m_Browser, &QTextBrowser::backward);
    connect(m_Forward, &QToolButton::clicked, m_Browser, &QTextBrowser::forward);
    connect(m_Browser, &QTextBrowser::backwardAvailable, m_Back, &QToolButton::setEnabled);
    connect(m_Browser, &QTextBrowser::forwardAvailable, m_Forward, &QToolButton::setEnabled);
    connect(m_Browser->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &CHelpWindow::ShowSectionTitle);
    connect(m_Browser, &QTextBrowser::sourceChanged, this, &CHelpWindow::ShowSectionTitle);
    connect(m_FindField, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(m_FindField, &QLineEdit::textChanged, m_NotFound, &QLabel::hide);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_FindField->setFocus(Qt::ShortcutFocusReason);
        m_FindField->selectAll();
    });
    auto* next = new QShortcut(QKeySequence::FindNext, this);
    connect(next, &QShortcut::activated, this, [this] { FindNext(); });
    auto* previous = new QShortcut(QKeySequence::FindPrevious, this);
    connect(previous, &QShortcut::activated, this, [this] { FindNext(true); });
    resize(820, 680);
    Relabel();
}

void CHelpWindow::ShowPage(const std::string& path, const std::string& section,
                           const std::string& note) {
    m_Note->setText(QString::fromStdString(note));
    m_Note->setVisible(!note.empty());
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    if (!section.empty()) {
        url.setFragment(QString::fromStdString(section));
    }
    if (m_Browser->source() == url) {
        // The same place again still scrolls back to it.
        m_Browser->scrollToAnchor(url.fragment());
    } else {
        m_Browser->setSource(url);
    }
    winId();
    QWidget* modal = QApplication::activeModalWidget();
    windowHandle()->setTransientParent(modal != nullptr && modal != this ? modal->windowHandle()
                                                                         : nullptr);
    show();
    raise();
    activateWindow();
    // The page takes the keys first, so the arrows and Page Down read on.
    m_Browser->setFocus(Qt::OtherFocusReason);
    ShowSectionTitle();
}

void CHelpWindow::Relabel() {
    m_Back->setText(LangText("IDS_HELP_BACK"));
    m_Forward->setText(LangText("IDS_HELP_FORWARD"));
    m_FindLabel->setText(LangText("IDS_HELP_FIND"));
    m_NotFound->setText(LangText("IDS_HELP_NOTFOUND"));
    m_Browser->setAccessibleName(LangText("IDS_HELP_TITLE"));
    ShowSectionTitle();
}

bool CHelpWindow::FindNext(bool backward) {
    const QString text = m_FindField->text();
    if (text.isEmpty()) {
        m_NotFound->hide();
        return false;
    }
    QTextDocument::FindFlags flags;
    if (backward) {
        flags |= QTextDocument::FindBackward;
    }
    const QTextCursor before = m_Browser->textCursor();
    const int scrolled = m_Browser->verticalScrollBar()->value();
    if (!before.hasSelection()) {
        // A first search starts where the reader is, not where the page began.
        m_Browser->setTextCursor(m_Browser->cursorForPosition(QPoint(0, 0)));
    }
    bool found = m_Browser->find(text, flags);
    if (!found) {
        QTextCursor restart(m_Browser->document());
        restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        m_Browser->setTextCursor(restart);
        found = m_Browser->find(text, flags);
    }
    if (!found) {
        m_Browser->setTextCursor(before);
        m_Browser->verticalScrollBar()->setValue(scrolled);
    }
    m_NotFound->setVisible(!found);
    if (!found) {
        AnnounceLabelText(m_NotFound);
    }
    return found;
}

QString CHelpWindow::SectionInView() const {
    const int top = m_Browser->verticalScrollBar()->value();
    const QAbstractTextDocumentLayout* layout = m_Browser->document()->documentLayout();
    QString section;
    for (QTextBlock block = m_Browser->document()->begin(); block.isValid(); block = block.next()) {
        if (layout->blockBoundingRect(block).top() > top + 1) {
            break;
        }
        if (QString anchor = HeadingAnchor(block); !anchor.isEmpty()) {
            section = anchor;
        }
    }
    return section;
}

void CHelpWindow::ShowSectionTitle() {
    const QString title = LangText("IDS_HELP_TITLE");
    const QString section = SectionInView();
    QString heading;
    for (QTextBlock block = m_Browser->document()->begin(); block.isValid() && !section.isEmpty();
         block = block.next()) {
        if (HeadingAnchor(block) == section) {
            heading = block.text();
            break;
        }
    }
    setWindowTitle(heading.isEmpty() ? title : heading + QStringLiteral(" - ") + title);
}
