// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's menu bar, toolbar and recent-file entries, built from menu 128 and toolbar 128.
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/main_frame.h"
#include "app/start_panel.h"
#include "config/language.h"
#include "resources/command_ids.h"
#include "resources/frame_resources.h"
#include "view/main_view.h"

namespace {

constexpr const char* kCommandIdProperty = "commandId";
constexpr int kRecentEntryWidth = 320;

QString LangText(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

}  // namespace

QAction* CMainFrame::CommandAction(int commandId, const QString& text, QObject* owner) {
    auto* action = new QAction(text, owner);
    action->setProperty(kCommandIdProperty, commandId);
    connect(action, &QAction::triggered, this, [this, commandId] { OnCommand(commandId); });
    return action;
}

void CMainFrame::CreateMenu() {
    for (const MenuResource& resource : MainMenuResource()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(resource.caption));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
        if (m_FileMenu == nullptr) {
            m_FileMenu = menu;
        }
        for (const MenuItemResource& item : resource.items) {
            if (item.commandId == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = CommandAction(item.commandId, QString::fromUtf8(item.caption), menu);
            menu->addAction(action);
            if (item.commandId == kCommandRecentFile) {
                m_RecentPlaceholder = action;
            } else {
                m_MenuActions[item.commandId] = action;
            }
            if (item.commandId == kCommandOpen) {
                m_ExampleMenu = menu->addMenu(LangText("Menu_File_Open_Example"));
                m_ExampleMenu->setObjectName(QStringLiteral("exampleMenu"));
            }
        }
    }
    SetRecentFiles({});
    SetExampleFiles({}, {});
}

void CMainFrame::CreateToolBar() {
    m_ToolBar = addToolBar(LangText("IDS_TOOLBAR"));
    m_ToolBar->setObjectName(QStringLiteral("toolbar128"));
    m_ToolBar->setIconSize(QSize(kToolbarButtonWidth, kToolbarButtonHeight));
    m_ToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const ToolbarButtonResource& button : ToolbarResource()) {
        if (button.commandId == 0) {
            m_ToolBar->addSeparator();
            continue;
        }
        QAction* action = CommandAction(button.commandId, QString(), m_ToolBar);
        action->setIcon(QIcon(QString::fromLatin1(button.icon)));
        m_ToolBar->addAction(action);
        m_ToolbarActions[button.commandId] = action;
        m_ToolBar->widgetForAction(action)->installEventFilter(this);
    }
    NameToolbarButtons();
}

// A screen reader reads the whole tip text; only the drawn tip is cut.
void CMainFrame::NameToolbarButtons() {
    m_ToolBar->setWindowTitle(LangText("IDS_TOOLBAR"));
    for (const auto& [commandId, action] : m_ToolbarActions) {
        const std::string key = "IDS_TIP_" + std::to_string(commandId);
        m_ToolBar->widgetForAction(action)->setAccessibleName(
            QString::fromStdString(LoadLangString(key)));
    }
}

QString CMainFrame::OnToolTipText(int commandId) {
    if (commandId == 0) {
        return QString();
    }
    std::string key = "IDS_TIP_" + std::to_string(commandId);
    QString text = QString::fromStdString(LoadLangString(key));
    int length = kToolTipLength;
    if (text.size() > length && text.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return text.left(length);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QMainWindow::eventFilter(watched, event);
    }
    auto* button = qobject_cast<QToolButton*>(watched);
    int commandId = button != nullptr && button->defaultAction() != nullptr
                        ? button->defaultAction()->property(kCommandIdProperty).toInt()
                        : 0;
    auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), OnToolTipText(commandId), button);
    return true;
}

void CMainFrame::RelabelMenu() {
    NameToolbarButtons();
    m_StartPanel->Relabel();
    const QList<QAction*> topLevel = menuBar()->actions();
    auto menus = MainMenuResource();
    for (size_t index = 0; index < menus.size() && index < size_t(topLevel.size()); ++index) {
        topLevel[int(index)]->setText(LangText(menus[index].langKey));
    }
    for (const MenuResource& menu : menus) {
        for (const MenuItemResource& item : menu.items) {
            if (item.langKey == nullptr) {
                continue;
            }
            QAction* action = item.commandId == kCommandRecentFile
                                  ? m_RecentPlaceholder
                                  : m_MenuActions.at(item.commandId);
            action->setText(LangText(item.langKey));
        }
    }
    m_ExampleMenu->setTitle(LangText("Menu_File_Open_Example"));
    if (m_ExampleMenu->actions().size() == 1 && !m_ExampleMenu->actions().front()->isEnabled()) {
        m_ExampleMenu->actions().front()->setText(LangText("IDS_NO_EXAMPLES"));
    }
}

void CMainFrame::SetExampleFiles(const std::vector<std::string>& paths,
                                 std::function<void(const std::string&)> open) {
    m_ExampleMenu->clear();
    if (paths.empty()) {
        m_ExampleMenu->addAction(LangText("IDS_NO_EXAMPLES"))->setEnabled(false);
        return;
    }
    for (const std::string& path : paths) {
        const QString file = QString::fromStdString(path);
        QAction* action = m_ExampleMenu->addAction(QFileInfo(file).fileName());
        action->setToolTip(file);
        connect(action, &QAction::triggered, this, [this, open, path] {
            // As a command does: an edit still open is stored before the document changes.
            m_View->CommitEdits();
            open(path);
        });
    }
}

void CMainFrame::SetRecentFiles(const QStringList& paths) {
    // The entries, or the placeholder when there are none, stand before this action. A
    // hidden placeholder would still be read out as an item of the menu.
    const QList<QAction*> items = m_FileMenu->actions();
    QAction* const last = m_RecentActions.empty() ? m_RecentPlaceholder : m_RecentActions.back();
    QAction* const after = items.value(items.indexOf(last) + 1, nullptr);
    for (QAction* action : m_RecentActions) {
        // The list may change from inside one of its own entries' handlers.
        m_FileMenu->removeAction(action);
        action->deleteLater();
    }
    m_RecentActions.clear();
    m_FileMenu->removeAction(m_RecentPlaceholder);
    if (paths.isEmpty()) {
        m_FileMenu->insertAction(after, m_RecentPlaceholder);
    }
    m_RecentPlaceholder->setEnabled(false);
    QFontMetrics metrics(m_FileMenu->font());
    for (int index = 0; index < paths.size() && index < kRecentFileCount; ++index) {
        QString shown = metrics.elidedText(paths[index], Qt::ElideMiddle, kRecentEntryWidth);
        QAction* action =
            CommandAction(kCommandRecentFile + index,
                          QStringLiteral("&%1 %2").arg(index + 1).arg(shown), m_FileMenu);
        m_FileMenu->insertAction(after, action);
        m_RecentActions.push_back(action);
    }
}

QAction* CMainFrame::MenuAction(int commandId) const {
    if (commandId >= kCommandRecentFile && commandId < kCommandRecentFile + kRecentFileCount) {
        size_t index = size_t(commandId - kCommandRecentFile);
        return index < m_RecentActions.size() ? m_RecentActions[index] : nullptr;
    }
    auto found = m_MenuActions.find(commandId);
    return found == m_MenuActions.end() ? nullptr : found->second;
}

QToolButton* CMainFrame::ToolbarButton(int commandId) const {
    auto found = m_ToolbarActions.find(commandId);
    if (found == m_ToolbarActions.end()) {
        return nullptr;
    }
    return qobject_cast<QToolButton*>(m_ToolBar->widgetForAction(found->second));
}

void CMainFrame::UpdateCommandStates() {
    for (auto* actions : {&m_MenuActions, &m_ToolbarActions}) {
        for (auto& [commandId, action] : *actions) {
            action->setEnabled(IsCommandEnabled(commandId));
        }
    }
}
