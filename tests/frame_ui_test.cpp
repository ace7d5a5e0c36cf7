// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame: tool tips, accelerators, its size and command routing.
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <set>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "app/start_panel.h"
#include "app/window_state.h"
#include "config/app_globals.h"
#include "editors/channel_page.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "resources/frame_resources.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

class FrameTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolder();
        m_Shell.Folder().WriteSettings({{"language", "test"}});
        m_Shell.Folder().Write("test.lang",
                               halvex::test::LanguageFile(
                                   "Test", "Title",
                                   "Menu_Edit=&Edit\n"
                                   "IDS_TIP_57600=Start a new radio data file\n"
                                   "IDS_TIP_57601=Open file\n"
                                   "IDS_TIP_57603=Save the file now!!\n"
                                   "IDS_TIP_32775=保存当前数据到文件中并且关闭程序窗口然后退出\n"));
        QVERIFY(m_Shell.Start());
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    void toolTipsAreCutAtNineteenCharacters_data() {
        QTest::addColumn<int>("commandId");
        QTest::addColumn<QString>("tip");
        QTest::newRow("long") << kCommandNew << "Start a new radio d";
        QTest::newRow("short") << kCommandOpen << "Open file";
        QTest::newRow("exactly 19") << kCommandSave << "Save the file now!!";
        QTest::newRow("chinese") << kCommandHelp << "保存当前数据到文件中并且关闭程序窗口然";
        QTest::newRow("missing key") << kCommandReadRadio << "Not Found";
        QTest::newRow("no command") << 0 << "";
    }
    void toolTipsAreCutAtNineteenCharacters() {
        QFETCH(int, commandId);
        QFETCH(QString, tip);
        QCOMPARE(CMainFrame::OnToolTipText(commandId), tip);
    }

    void toolbarButtonAnswersItsToolTipRequest() {
        QToolButton* button = m_Shell.App().MainFrame()->ToolbarButton(kCommandNew);
        QVERIFY(button != nullptr);
        QHelpEvent request(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(button, &request);
        QCOMPARE(QToolTip::text(), QStringLiteral("Start a new radio d"));
    }

    // The window grows past its opening size, the channel table gives the rows to the eye
    // and keeps its columns, and the next start opens at the size and state this one closed.
    void windowGrowsAndComesBackAsItClosed() {
        CMainFrame* frame = m_Shell.App().MainFrame();
        CGridCtrl* grid = frame->View()->ChannelPage()->Grid();
        const QSize gridBefore = grid->size();
        frame->resize(1600, 1000);
        QCoreApplication::processEvents();
        QCOMPARE(frame->size(), QSize(1600, 1000));
        const int grown = grid->height();
        QVERIFY(grown > gridBefore.height() + 300);
        frame->resize(1600, 1100);
        QCoreApplication::processEvents();
        QCOMPARE(grid->height(), grown + 100);
        // Shown whole, not cut by the page that holds it.
        QCOMPARE(grid->visibleRegion().boundingRect().height(), grid->height());
        QCOMPARE(grid->width(), gridBefore.width());
        QCOMPARE(frame->View()->horizontalScrollBar()->maximum(), 0);
        frame->resize(600, 400);
        // The start panel of the empty document takes its room above the pages.
        QCOMPARE(frame->size(),
                 QSize(kFrameMinimumWidth,
                       kFrameMinimumHeight + frame->GetStartPanel()->HeightIn(kFrameMinimumWidth)));
        QCoreApplication::processEvents();
        QVERIFY(grid->height() < grown);

        frame->resize(1300, 800);
        SaveWindowState(*frame);
        frame->resize(kFrameMinimumWidth, kFrameMinimumHeight);
        frame->RestoreAndCentre();
        QCOMPARE(frame->size(), QSize(1300, 800));
        QVERIFY(!frame->isMaximized());

        // A damaged entry is no size to open at; the window keeps the one it has.
        const struct {
            const char* width;
            const char* height;
            bool kept;
        } entries[] = {{"1200", "700", true},
                       {"-5", "700", false},
                       {"1200", "abc", false},
                       {"99999", "700", false}};
        for (const auto& entry : entries) {
            QSettings kept(RecentFileList::FilePath(), QSettings::IniFormat);
            kept.setValue("Window/Width", entry.width);
            kept.setValue("Window/Height", entry.height);
            kept.sync();
            QCOMPARE(LoadWindowState().size.isValid(), entry.kept);
        }
    }

    void everyPageFitsTheSmallestWindowWithoutScrollBars() {
        CMainFrame* frame = m_Shell.App().MainFrame();
        frame->resize(kFrameMinimumWidth, kFrameMinimumHeight);
        CHalvexView* view = frame->View();
        CPageTabCtrl* tabs = view->TabControl();
        QCOMPARE(tabs->count(), 3);
        for (int index = 0; index < tabs->count(); ++index) {
            tabs->setCurrentIndex(index);
            QCoreApplication::processEvents();
            QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
            QCOMPARE(view->verticalScrollBar()->maximum(), 0);
        }
    }

    // Inside a field Ctrl+C stays the port dialog, while the other clipboard keys and undo act
    // on the field's own text first, as in any text box.
    void acceleratorsWorkInsideEditFieldsAndClipboardKeysStayTheField() {
        CMainFrame* frame = m_Shell.App().MainFrame();
        int portDialogs = 0;
        frame->SetCommandHandler(kCommandPort, [&] { ++portDialogs; });
        auto* edit = new QLineEdit(QStringLiteral("146.10000"), frame->View()->widget());
        edit->show();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(portDialogs, 1);
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("146.10000"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit->text(), QStringLiteral("146.10000"));
        QCOMPARE(portDialogs, 1);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_5);
        QCOMPARE(edit->text(), QStringLiteral("5"));
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("146.10000"));
        QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("5"));
    }

    void everyMenuAndToolbarCommandHasItsHandler() {
        CMainFrame* frame = m_Shell.App().MainFrame();
        std::set<int> seen;
        for (const MenuResource& menu : MainMenuResource()) {
            for (const MenuItemResource& item : menu.items) {
                if (item.commandId != 0 && item.commandId != kCommandRecentFile) {
                    QVERIFY2(frame->HasCommandHandler(item.commandId),
                             QByteArray::number(item.commandId));
                    // Two entries on one id would run one handler for both.
                    QVERIFY2(seen.insert(item.commandId).second,
                             QByteArray::number(item.commandId));
                }
            }
        }
        for (const ToolbarButtonResource& button : ToolbarResource()) {
            if (button.commandId != 0) {
                QVERIFY2(frame->ToolbarButton(button.commandId)->isEnabled(),
                         QByteArray::number(button.commandId));
            }
        }
    }

    void commandsWithoutHandlerDoNothingAndAreDisabled() {
        QtDocumentPrompts prompts([]() -> QWidget* { return nullptr; });
        CHalvexDoc document(prompts, DocumentSettings{});
        CMainFrame frame(document);
        QVERIFY(!frame.MenuAction(kCommandReadRadio)->isEnabled());
        frame.OnCommand(kCommandReadRadio);
        bool read = false;
        frame.SetCommandHandler(kCommandReadRadio, [&] { read = true; });
        QVERIFY(frame.MenuAction(kCommandReadRadio)->isEnabled());
        frame.ToolbarButton(kCommandReadRadio)->click();
        QVERIFY(read);
    }

    // The keyboard comes back to the page in front whatever took it while something was
    // above the window: the window manager when a dialog went (a stand-in window activated
    // here), no focus widget at all, or the menu bar after Alt+E and Escape. Once the user
    // clicks into another window of the program, the keyboard stays there instead.
    void keyboardComesBackToThePage_data() {
        QTest::addColumn<QString>("closing");
        QTest::newRow("dialog closed, another window activated") << "stolen";
        QTest::newRow("dialog and its message box closed together") << "box";
        QTest::newRow("dialog closed, no widget focused") << "unfocused";
        QTest::newRow("menu left with Escape") << "menu";
        QTest::newRow("another window clicked at once") << "clicked";
        QTest::newRow("another window clicked after the page had it back") << "clicked late";
    }

    void keyboardComesBackToThePage() {
        QFETCH(QString, closing);
        const bool clicked = closing.startsWith("clicked");
        CMainFrame* frame = m_Shell.App().MainFrame();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        CGridCtrl* grid = frame->View()->ChannelPage()->Grid();
        grid->setFocus();
        QLineEdit other;
        if (clicked) {
            other.show();
        }
        if (closing == "menu") {
            QTest::keyClick(frame, Qt::Key_E, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        } else {
            QDialog dialog(frame);
            QMessageBox box(QMessageBox::Warning, "Title", "Text", QMessageBox::Ok, &dialog);
            dialog.open();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            if (closing == "box") {
                box.open();
                QVERIFY(QTest::qWaitForWindowActive(&box));
                box.close();
            }
            if (closing == "unfocused") {
                frame->focusWidget()->clearFocus();
            }
            dialog.close();
            if (closing == "stolen") {
                other.show();
                other.activateWindow();
            }
            if (closing != "clicked") {
                QTRY_COMPARE(QApplication::activeWindow(), frame);
            }
        }
        if (clicked) {
            QTest::mouseClick(&other, Qt::LeftButton);
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            // Past the moment the main window watches for the keyboard after a dialog goes.
            QTest::qWait(1000);
            QCOMPARE(QApplication::activeWindow(), &other);
            QCOMPARE(QApplication::focusWidget(), &other);
            return;
        }
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        QVERIFY(!frame->menuBar()->hasFocus());
        // The page's own keys work at once.
        const int tab = frame->View()->TabControl()->currentIndex();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(frame->View()->TabControl()->currentIndex() != tab);
    }

private:
    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(FrameTest)
#include "frame_ui_test.moc"
