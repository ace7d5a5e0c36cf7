// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_frame.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/accelerator_filter.h"
#include "app/focus_keeper.h"
#include "app/start_panel.h"
#include "app/window_state.h"
#include "common/accessible_names.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "link/radio_connection.h"
#include "resources/frame_resources.h"
#include "view/main_view.h"

CMainFrame::CMainFrame(CHalvexDoc& document, QWidget* parent) : QMainWindow(parent) {
    setWindowIcon(QIcon(kApplicationIcon));
    CreateMenu();
    CreateToolBar();
    CreateStatusBar();
    m_View = new CHalvexView(document, g_SettingsPath, this);
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_StartPanel = new StartPanel(
        document, [this](int commandId) { OnCommand(commandId); }, central);
    column->addWidget(m_StartPanel);
    column->addWidget(m_View, 1);
    setCentralWidget(central);
    // Every page still fits the smallest window whole while the panel takes its room.
    connect(m_StartPanel, &StartPanel::shownChanged, this, [this] {
        setMinimumHeight(kFrameMinimumHeight + m_StartPanel->HeightIn(kFrameMinimumWidth));
    });
    connect(m_View, &CHalvexView::relabelMenuRequested, this, &CMainFrame::RelabelMenu);
    connect(m_View, &CHalvexView::statusNoteRequested, this, &CMainFrame::SetStatusNote);
    setMinimumSize(kFrameMinimumWidth,
                   kFrameMinimumHeight + m_StartPanel->HeightIn(kFrameMinimumWidth));
    resize(minimumSize());
    setAcceptDrops(true);
    qApp->installEventFilter(
        new AcceleratorFilter(this, [this](int commandId) { OnCommand(commandId); }));
    new FocusKeeper(this, [this] { m_View->FocusCurrentPage(); });
    UpdateCommandStates();
}

void CMainFrame::SetPortPane(int port) {
    m_PortPane->setText(QStringLiteral("COM%1").arg(port));
}

void CMainFrame::ShowConfiguredPort() {
    std::string device = ConfiguredDevice(g_SettingsPath);
    if (device.empty()) {
        SetPortPane(settings::kCom.Read(g_SettingsPath));
        return;
    }
    // A by-id name is too long for the pane; the tty it names is what users know.
    QFileInfo file(QString::fromStdString(device));
    m_PortPane->setText(file.isSymLink() ? QFileInfo(file.symLinkTarget()).fileName()
                                         : file.fileName());
    m_PortPane->setToolTip(QString::fromStdString(device));
}

QString CMainFrame::PortPaneText() const {
    return m_PortPane->text();
}

void CMainFrame::CreateStatusBar() {
    m_PortPane = new QLabel(QString::fromLatin1(kPortPaneText));
    m_PortPane->setObjectName(QStringLiteral("pane129"));
    m_PortPane->setFrameShape(QFrame::Panel);
    m_PortPane->setFrameShadow(QFrame::Sunken);
    // Measured on the placeholder like the original pane, with room for two-digit ports.
    m_PortPane->setMinimumWidth(m_PortPane->fontMetrics().horizontalAdvance(
                                    QString::fromLatin1(kPortPaneText) + QStringLiteral("0")) +
                                8);
    statusBar()->addWidget(m_PortPane);
    m_NotePane = new QLabel;
    m_NotePane->setObjectName(QStringLiteral("statusNote"));
    statusBar()->addWidget(m_NotePane, 1);
}

void CMainFrame::SetStatusNote(const QString& text) {
    m_NotePane->setText(text);
    // A note longer than the window is cut by the status bar; the tip shows all of it.
    m_NotePane->setToolTip(text);
    if (!text.isEmpty()) {
        AnnounceLabelText(m_NotePane);
    }
}

QString CMainFrame::StatusNoteText() const {
    return m_NotePane->text();
}

void CMainFrame::OnCommand(int commandId) {
    // A menu or toolbar button leaves the focus in the open editor, which would otherwise
    // store its edit only after the command (or never, when the command ends the program).
    m_View->CommitEdits();
    auto handler = m_Handlers.find(commandId);
    if (handler != m_Handlers.end() && IsCommandEnabled(commandId)) {
        handler->second();
    }
}

void CMainFrame::SetCommandHandler(int commandId, std::function<void()> handler) {
    m_Handlers[commandId] = std::move(handler);
    UpdateCommandStates();
}

bool CMainFrame::HasCommandHandler(int commandId) const {
    return m_Handlers.find(commandId) != m_Handlers.end();
}

void CMainFrame::SetCommandEnabler(int commandId, std::function<bool()> isEnabled) {
    m_Enablers[commandId] = std::move(isEnabled);
    UpdateCommandStates();
}

bool CMainFrame::IsCommandEnabled(int commandId) const {
    auto enabler = m_Enablers.find(commandId);
    return HasCommandHandler(commandId) && (enabler == m_Enablers.end() || enabler->second());
}

void CMainFrame::RestoreAndCentre() {
    const WindowState state = LoadWindowState();
    if (state.size.isValid()) {
        resize(state.size.expandedTo(minimumSize()));
    }
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    if (state.maximized) {
        showMaximized();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    m_View->CommitEdits();
    if (m_CloseQuery && !m_CloseQuery()) {
        event->ignore();
        return;
    }
    SaveWindowState(*this);
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && m_DropHandler) {
            event->acceptProposedAction();
            m_View->CommitEdits();
            // One document at a time: the first dropped file is the one opened.
            m_DropHandler(url.toLocalFile().toStdString());
            return;
        }
    }
}
