// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/main_view.h"

#include <QFileInfo>
#include <QResizeEvent>
#include <QShortcut>
#include <QStackedWidget>
#include <QString>
#include <QTabBar>

#include "common/accessible_names.h"
#include "common/dialog_builder.h"
#include "common/main_view_page.h"
#include "config/language.h"
#include "editors/changed_place.h"
#include "editors/channel_page.h"
#include "editors/function_page.h"
#include "editors/vfo_page.h"
#include "grid/grid_ctrl.h"
#include "resources/ids/main_form_ids.h"
#include "view/page_tab_control.h"

namespace {

template <typename Page>
Page* FindPage(const std::vector<MainViewPage*>& pages) {
    for (MainViewPage* page : pages) {
        if (auto* found = dynamic_cast<Page*>(page)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

CHalvexView::CHalvexView(CHalvexDoc& document, std::string settingsPath, QWidget* parent)
    : QScrollArea(parent),
      m_Document(document),
      m_SettingsPath(std::move(settingsPath)),
      m_Form(new QWidget),
      m_Tabs(new CPageTabCtrl) {
    BuildFromTemplate(m_Form, kMainFormTemplate);
    ReplaceControl(m_Form, kMainFormTabsId, m_Tabs);
    setWidget(m_Form);
    setFrameShape(QFrame::NoFrame);
    // The pages' stack only lays them out; each page is announced by its own name instead.
    if (auto* stack = m_Tabs->findChild<QStackedWidget*>()) {
        SetAccessibleRole(stack, QAccessible::Client);
    }
    // The scroll area is no control: as a Tab stop it would hold the focus and show none.
    setFocusPolicy(Qt::NoFocus);
    // Leaving a page by its tab, with the mouse or a key, ends its edit.
    connect(m_Tabs, &QTabWidget::currentChanged, this, [this] { CommitEdits(); });
    AddPageKeys();
    m_Document.AddView(this);
}

// The accelerator table leaves the desktop's keys between tabs free; without them a page
// could only be reached with the mouse or by tabbing through the one before it.
void CHalvexView::AddPageKeys() {
    const struct {
        const char* keys;
        int step;
    } kPageKeys[] = {
        {"Ctrl+Tab", 1},   {"Ctrl+PgDown", 1}, {"Ctrl+Shift+Tab", -1}, {"Ctrl+Shift+Backtab", -1},
        {"Ctrl+PgUp", -1},
    };
    for (const auto& entry : kPageKeys) {
        const int step = entry.step;
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(entry.keys)), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { StepPage(step); });
    }
}

void CHalvexView::StepPage(int step) {
    const int count = m_Tabs->count();
    if (count < 2) {
        return;
    }
    const bool onTabs = m_Tabs->tabBar()->hasFocus();
    m_Tabs->setCurrentIndex((m_Tabs->currentIndex() + step + count) % count);
    if (onTabs) {
        return;
    }
    // The channel page starts at its table: its first control, the band, asks to reset
    // everything at one arrow key.
    QWidget* page = m_Tabs->currentWidget();
    if (auto* channels = dynamic_cast<CChannelPage*>(page)) {
        channels->Grid()->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    // Elsewhere the keyboard continues on the page's first control, as it would after a tab
    // click and a Tab key.
    for (QWidget* next = page->nextInFocusChain(); next != page; next = next->nextInFocusChain()) {
        if (page->isAncestorOf(next) && next->isVisibleTo(page) && next->isEnabled() &&
            (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

CHalvexView::~CHalvexView() {
    m_Document.RemoveView(this);
}

QString CHalvexView::TabCaption(const char* key) {
    const QString margin(5, QChar(' '));
    return margin + QString::fromStdString(LoadLangString(key)) + margin;
}

void CHalvexView::OnInitialUpdate() {
    m_SourceName.clear();
    OnUpdate();
    emit relabelMenuRequested();
    CreateMissingPages();
}

void CHalvexView::CreateMissingPages() {
    if (!m_Pages.empty()) {
        return;
    }
    AddPage(new CChannelPage(m_Document, m_SettingsPath, m_Tabs), "IDS_CHANNEL");
    AddPage(new CFunctionPage(m_Tabs, m_Document), "IDS_FUNCTION");
    AddPage(new CVfoPage(m_Tabs, m_Document), "IDS_VFOFREQ");
    FitFormToTabs();
}

void CHalvexView::AddPage(MainViewPage* page, const char* captionKey) {
    m_Pages.push_back(page);
    m_CaptionKeys.push_back(captionKey);
    page->SetStatusNote([this](const QString& text) { emit statusNoteRequested(text); });
    SetAccessibleRole(page->Widget(), QAccessible::Pane);
    m_Tabs->AddPage(page->Widget(), TabCaption(captionKey));
    NamePage(static_cast<int>(m_Pages.size()) - 1);
}

// The margins of a caption are drawn room, not words to read out.
void CHalvexView::NamePage(int index) {
    const QString name = QString::fromStdString(LoadLangString(m_CaptionKeys[size_t(index)]));
    m_Tabs->tabBar()->setAccessibleTabName(index, name);
    m_Pages[size_t(index)]->Widget()->setAccessibleName(name);
}

void CHalvexView::FitFormToTabs() {
    // Pages larger than the template's tab control widen it, keeping the form's margins.
    QRect tabs = m_Tabs->geometry();
    QSize margins = m_Form->size() - QSize(tabs.right() + 1, tabs.bottom() + 1);
    tabs.setSize(tabs.size().expandedTo(m_Tabs->minimumSizeHint()));
    m_Tabs->setGeometry(tabs);
    m_FormSize = QSize(tabs.right() + 1, tabs.bottom() + 1) + margins;
    m_TabsSize = tabs.size();
    m_Form->setFixedSize(m_FormSize);
    GrowToViewport();
}

void CHalvexView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    GrowToViewport();
}

void CHalvexView::GrowToViewport() {
    if (!m_FormSize.isValid()) {
        return;
    }
    const QSize extra = (viewport()->size() - m_FormSize).expandedTo(QSize(0, 0));
    // Pages first: a page of fixed size would keep a shrinking tab control from shrinking.
    for (MainViewPage* page : m_Pages) {
        page->Grow(extra);
    }
    m_Tabs->resize(m_TabsSize + extra);
    m_Form->setFixedSize(m_FormSize + extra);
}

QString CHalvexView::WindowTitle(const std::string& path, bool modified) {
    const QString name = path.empty() ? QString::fromStdString(LoadLangString("IDS_UNTITLED"))
                                      : QFileInfo(QString::fromStdString(path)).fileName();
    return name + (modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") +
           QString::fromStdString(LoadLangString("IDS_WINDOWNAME"));
}

void CHalvexView::OnTitleChanged() {
    const std::string& path = m_Document.GetPathName();
    const bool modified = m_Document.IsModified();
    if (!path.empty() || m_SourceName.isEmpty()) {
        window()->setWindowTitle(WindowTitle(path, modified));
        return;
    }
    window()->setWindowTitle(m_SourceName + (modified ? QStringLiteral("*") : QString()) +
                             QStringLiteral(" - ") +
                             QString::fromStdString(LoadLangString("IDS_WINDOWNAME")));
}

void CHalvexView::SetSourceName(const QString& name) {
    m_SourceName = name;
    OnTitleChanged();
}

CChannelPage* CHalvexView::ChannelPage() const {
    return FindPage<CChannelPage>(m_Pages);
}

CChannelPage* CHalvexView::ShownChannelPage() const {
    CChannelPage* channels = ChannelPage();
    return channels != nullptr && m_Tabs->currentWidget() == channels->Widget() ? channels
                                                                                : nullptr;
}

CFunctionPage* CHalvexView::FunctionPage() const {
    return FindPage<CFunctionPage>(m_Pages);
}

void CHalvexView::FocusChannelTable() {
    if (CChannelPage* channels = ChannelPage()) {
        m_Tabs->setCurrentWidget(channels->Widget());
        channels->Grid()->SelectCell(1, 1);
        channels->Grid()->setFocus(Qt::OtherFocusReason);
    }
}

void CHalvexView::ShowChannelPage() {
    if (CChannelPage* channels = ChannelPage()) {
        m_Tabs->setCurrentWidget(channels->Widget());
    }
}

void CHalvexView::FocusCurrentPage() {
    if (CChannelPage* channels = ShownChannelPage()) {
        channels->Grid()->setFocus(Qt::OtherFocusReason);
        return;
    }
    QWidget* page = m_Tabs->currentWidget();
    if (page == nullptr) {
        return;
    }
    for (QWidget* child : page->findChildren<QWidget*>()) {
        if (child->isVisible() && child->isEnabled() && (child->focusPolicy() & Qt::TabFocus)) {
            child->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    m_Tabs->setFocus(Qt::OtherFocusReason);
}

void CHalvexView::CommitEdits() {
    for (MainViewPage* page : m_Pages) {
        page->CommitEdit();
    }
}

void CHalvexView::OnUpdate() {
    OnTitleChanged();
    emit statusNoteRequested(QString());
    if (m_Pages.empty()) {
        return;
    }
    for (MainViewPage* page : m_Pages) {
        page->Reload();
    }
    for (size_t index = 0; index < m_Pages.size(); ++index) {
        m_Tabs->setTabText(static_cast<int>(index), TabCaption(m_CaptionKeys[index]));
        NamePage(static_cast<int>(index));
    }
    for (MainViewPage* page : m_Pages) {
        page->Widget()->repaint();
    }
}

void CHalvexView::ShowChange(const std::vector<ByteRun>& runs) {
    const ChangedPlace place =
        FindChangedPlace(m_Document.Image(), runs, m_Document.GetChannelCount());
    for (MainViewPage* page : m_Pages) {
        auto* channels = dynamic_cast<CChannelPage*>(page);
        const bool wanted =
            (place.page == ChangedPlace::Page::Channels && channels != nullptr) ||
            (place.page == ChangedPlace::Page::Functions && dynamic_cast<CFunctionPage*>(page)) ||
            (place.page == ChangedPlace::Page::Vfo && dynamic_cast<CVfoPage*>(page));
        if (!wanted) {
            continue;
        }
        m_Tabs->setCurrentWidget(page->Widget());
        if (channels != nullptr && place.channel > 0) {
            channels->Grid()->SelectCell(place.channel, place.column);
            channels->Grid()->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
}
