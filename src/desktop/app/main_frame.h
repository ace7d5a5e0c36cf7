// SPDX-License-Identifier: GPL-3.0-or-later
// The single top-level window: menu, toolbar, status bar with the port pane, and the main
// view. It routes every menu, toolbar and accelerator command by id; the title is always
// the language's window name, never the document's.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/command_table.h"

class CHalvexDoc;
class CHalvexView;
class QAction;
class QLabel;
class QToolBar;
class QToolButton;
class StartPanel;

// The window opens at this size and never gets smaller: every page fits it whole.
constexpr int kFrameMinimumWidth = 1000;
constexpr int kFrameMinimumHeight = 600;
// Tool tips keep this many characters of their language text.
constexpr int kToolTipLength = 19;

class CMainFrame : public QMainWindow, public CommandTable {
    Q_OBJECT
public:
    explicit CMainFrame(CHalvexDoc& document, QWidget* parent = nullptr);

    CHalvexView* View() const { return m_View; }
    StartPanel* GetStartPanel() const { return m_StartPanel; }

    void SetPortPane(int port);
    // The port the settings choose: COMn, or the name of the chosen device.
    void ShowConfiguredPort();
    QString PortPaneText() const;

    // A note beside the port pane on what the program did with the user's entry; empty
    // clears it.
    void SetStatusNote(const QString& text);
    QString StatusNoteText() const;

    // The tool tip of a toolbar button: "IDS_TIP_<id>" cut to 19 characters; empty for 0.
    static QString OnToolTipText(int commandId);

    // Retitles the four top-level menus and every command item from the language file, and
    // renames the toolbar buttons for screen readers.
    void RelabelMenu();

    // Routes commandId to its handler; a command without one does nothing.
    void OnCommand(int commandId);
    void SetCommandHandler(int commandId, std::function<void()> handler) override;
    bool HasCommandHandler(int commandId) const;
    void SetCommandEnabler(int commandId, std::function<bool()> isEnabled) override;
    bool IsCommandEnabled(int commandId) const;
    // Menus also ask as they open.
    void UpdateCommandStates() override;

    QAction* MenuAction(int commandId) const override;
    QToolButton* ToolbarButton(int commandId) const;
    QToolBar* ToolBar() const { return m_ToolBar; }

    // Entries of the recent-file list, most recent first.
    void SetRecentFiles(const QStringList& paths);
    // File > Open Example: one entry per file, named by its file name, each handing its path
    // to open; a disabled note when there is none.
    void SetExampleFiles(const std::vector<std::string>& paths,
                         std::function<void(const std::string&)> open);
    QMenu* ExampleMenu() const { return m_ExampleMenu; }

    // Asked before the window closes; false keeps it open.
    void SetCloseQuery(std::function<bool()> query) { m_CloseQuery = std::move(query); }
    // Receives a file dropped on the window.
    void SetDropHandler(std::function<void(const std::string&)> handler) {
        m_DropHandler = std::move(handler);
    }

    // Takes the size and maximised state the window had when it last closed, and centres it.
    void RestoreAndCentre();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenu();
    void CreateToolBar();
    void NameToolbarButtons();
    void CreateStatusBar();
    QAction* CommandAction(int commandId, const QString& text, QObject* owner);

    CHalvexView* m_View;
    StartPanel* m_StartPanel;
    QToolBar* m_ToolBar = nullptr;
    QLabel* m_PortPane = nullptr;
    QLabel* m_NotePane = nullptr;
    QMenu* m_FileMenu = nullptr;
    QAction* m_RecentPlaceholder = nullptr;
    QMenu* m_ExampleMenu = nullptr;
    std::vector<QAction*> m_RecentActions;
    std::map<int, QAction*> m_MenuActions;
    std::map<int, QAction*> m_ToolbarActions;
    std::map<int, std::function<void()>> m_Handlers;
    std::map<int, std::function<bool()>> m_Enablers;
    std::function<bool()> m_CloseQuery;
    std::function<void(const std::string&)> m_DropHandler;
};
