// SPDX-License-Identifier: GPL-3.0-or-later
// The pages inside the running main window: tabs of the main view that reload on every
// whole-document change, leave the menu shortcuts working, store an open edit before the
// document ends and tell in the status bar what became of an out-of-band entry.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/pgm_file.h"
#include "common/dialog_builder.h"
#include "common/main_view_page.h"
#include "editors/channel_page.h"
#include "editors/function_page.h"
#include "editors/vfo_page.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "resources/ids/function_page_ids.h"
#include "resources/ids/vfo_page_ids.h"
#include "support/page_test_support.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

enum class Ending { Exit, CloseBox, New, Open, Drop, NextLanguage, OtherTab };

}  // namespace

Q_DECLARE_METATYPE(Ending)

class PagesMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolder().CopyFromBin({"setting.ini", "english.lang", "chinese.lang"});
        QVERIFY(m_Shell.Start());
        m_Functions = m_Shell.FindPage<CFunctionPage>();
        m_Vfo = m_Shell.FindPage<CVfoPage>();
        m_Channels = m_Shell.FindPage<CChannelPage>();
        QVERIFY(m_Functions != nullptr && m_Vfo != nullptr && m_Channels != nullptr);
        MessageBox::ClearShown();
    }

    void cleanup() {
        m_Shell.App().Document().SetModifiedFlag(false);
        QVERIFY(m_Shell.Finish());
    }

    void documentChangesReloadThePagesAndKeepTheTab() {
        CPageTabCtrl* tabs = m_Shell.App().MainFrame()->View()->TabControl();
        QCOMPARE(tabs->tabText(tabs->indexOf(m_Functions)),
                 CHalvexView::TabCaption("IDS_FUNCTION"));
        QCOMPARE(tabs->tabText(tabs->indexOf(m_Vfo)), CHalvexView::TabCaption("IDS_VFOFREQ"));
        tabs->setCurrentWidget(m_Vfo);
        m_Shell.App().Document().SetFrequencyText(kVfoF2, kDecodeSide, "438.50000");
        m_Shell.App().Document().EditImage().SetSquelch(7);
        m_Shell.App().ApplyLanguage();
        QCOMPARE(tabs->currentWidget(), m_Vfo);
        QCOMPARE(FindControl<QLineEdit>(m_Vfo, kVfoF2ReceiveId)->text(),
                 QStringLiteral("438.50000"));
        QCOMPARE(FindControl<QComboBox>(m_Functions, kSquelchId)->currentIndex(), 7);
    }

    // Every list of the option pages: the entry it shows, chosen again in its pop-up, is no
    // change; another entry is one.
    void choosingTheShownEntryAgainChangesNothing() {
        CHalvexDoc& document = m_Shell.App().Document();
        CPageTabCtrl* tabs = m_Shell.App().MainFrame()->View()->TabControl();
        int lists = 0;
        for (QWidget* page : {static_cast<QWidget*>(m_Functions), static_cast<QWidget*>(m_Vfo)}) {
            tabs->setCurrentWidget(page);
            for (QComboBox* list : page->findChildren<QComboBox*>()) {
                if (!list->isVisible() || !list->isEnabled() || list->currentIndex() < 0) {
                    continue;
                }
                const auto before = document.Image().bytes;
                const int shown = list->currentIndex();
                for (int choice : {shown, (shown + 1) % list->count()}) {
                    list->showPopup();
                    QTRY_VERIFY(list->view()->isVisible());
                    list->view()->setCurrentIndex(list->model()->index(choice, 0));
                    QTest::keyClick(list->view(), Qt::Key_Return);
                    QTRY_VERIFY(!list->view()->isVisible());
                    const bool changed = choice != shown && list->count() > 1;
                    QVERIFY2(document.IsModified() == changed, qPrintable(list->objectName()));
                    QVERIFY2(document.CanUndo() == changed, qPrintable(list->objectName()));
                    QVERIFY((document.Image().bytes != before) == changed);
                }
                document.Undo();
                document.SetModifiedFlag(false);
                ++lists;
            }
        }
        QVERIFY(lists > 10);
    }

    void shortcutsWorkWhileAPageHasTheFocus() {
        QVERIFY(ShowActive(m_Shell.App().MainFrame()));
        m_Shell.App().MainFrame()->View()->TabControl()->setCurrentWidget(m_Functions);
        int saves = 0;
        m_Shell.App().MainFrame()->SetCommandHandler(kCommandSave, [&saves] { ++saves; });
        auto* edit = FindControl<QLineEdit>(m_Functions, kPttIdCodeId);
        TypeInto(edit, "12");
        QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saves, 1);
        QCOMPARE(edit->text(), QStringLiteral("12"));
    }

    // A half-typed entry is still in its editor, which keeps the focus while a menu or a
    // toolbar button ends the document; the question about unsaved changes must see it.
    void openEditsAreStoredBeforeTheDocumentEnds_data() {
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<bool>("onVfoPage");
        QTest::addColumn<bool>("asks");
        QTest::newRow("exit") << Ending::Exit << false << true;
        QTest::newRow("close box") << Ending::CloseBox << false << true;
        QTest::newRow("new") << Ending::New << false << true;
        QTest::newRow("open") << Ending::Open << false << true;
        QTest::newRow("dropped file") << Ending::Drop << false << true;
        QTest::newRow("next language") << Ending::NextLanguage << false << false;
        QTest::newRow("other tab") << Ending::OtherTab << false << false;
        QTest::newRow("exit from the VFO page") << Ending::Exit << true << true;
    }

    void openEditsAreStoredBeforeTheDocumentEnds() {
        QFETCH(Ending, ending);
        QFETCH(bool, onVfoPage);
        QFETCH(bool, asks);
        CMainFrame* frame = m_Shell.App().MainFrame();
        QVERIFY(ShowActive(frame));
        // A file that can be opened: a missing one is refused before anything is asked.
        std::string error;
        QVERIFY2(SavePgmFile(m_Shell.Folder().File("other.pgm"), NewPgmFile(), &error),
                 error.c_str());
        CPageTabCtrl* tabs = frame->View()->TabControl();
        if (onVfoPage) {
            tabs->setCurrentWidget(m_Vfo);
            TypeInto(FindControl<QLineEdit>(m_Vfo, kVfoF1ReceiveId), QStringLiteral("147"));
        } else {
            TypeIntoCell(1, 1, QStringLiteral("147"));
        }
        QVERIFY(!m_Shell.App().Document().IsModified());
        if (asks) {
            MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        }
        switch (ending) {
            case Ending::Exit:
                frame->OnCommand(kCommandExit);
                break;
            case Ending::CloseBox:
                QVERIFY(!frame->close());
                break;
            case Ending::New:
                frame->OnCommand(kCommandNew);
                break;
            case Ending::Open:
                FileDialog::SetNextFileName(m_Shell.Folder().File("other.pgm"));
                frame->OnCommand(kCommandOpen);
                break;
            case Ending::Drop: {
                QMimeData dropped;
                dropped.setUrls({QUrl::fromLocalFile(m_Shell.FilePath("other.pgm"))});
                QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton,
                                      Qt::NoModifier);
                QCoreApplication::sendEvent(frame, &enter);
                QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton,
                                Qt::NoModifier);
                QCoreApplication::sendEvent(frame, &drop);
                break;
            }
            case Ending::NextLanguage:
                frame->OnCommand(kCommandNextLanguage);
                break;
            case Ending::OtherTab:
                tabs->setCurrentWidget(m_Functions);
                break;
        }
        const int record = onVfoPage ? kVfoF1 : 1;
        QCOMPARE(m_Shell.App().Document().Image().GetFrequencyText(record, kDecodeSide),
                 std::string("147.00000"));
        QVERIFY(m_Shell.App().Document().IsModified());
        QCOMPARE(MessageBox::Shown().size(), size_t(asks ? 1 : 0));
        if (asks) {
            QCOMPARE(MessageBox::Shown().front().buttons, MessageButtons::YesNoCancel);
            QVERIFY(frame->isVisible());
        }
        if (!onVfoPage) {
            QCOMPARE(m_Channels->Grid()->GetCellText(1, 1), QStringLiteral("147.00000"));
        }
    }

    // What was stored instead of an out-of-band entry, and why, in both languages; the next
    // entry inside the band clears the note.
    void clampedEntriesAreExplainedInTheStatusBar_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("onVfoPage");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("note");
        const QString english = QStringLiteral("english"), chinese = QStringLiteral("chinese");
        QTest::newRow("channel, above") << english << false << "180"
                                        << "Stored 173.99500 MHz: 180 is above the band "
                                           "136.00000-173.99500 MHz.";
        QTest::newRow("channel, below") << english << false << "100"
                                        << "Stored 136.00000 MHz: 100 is below the band "
                                           "136.00000-173.99500 MHz.";
        QTest::newRow("vfo, above") << english << true << "180"
                                    << "Stored 173.99500 MHz: 180 is above the band "
                                       "136.00000-173.99500 MHz.";
        QTest::newRow("channel, chinese") << chinese << false << "180"
                                          << "已存入 173.99500 MHz：180 高于频段 "
                                             "136.00000-173.99500 MHz。";
        QTest::newRow("vfo, chinese") << chinese << true << "100"
                                      << "已存入 136.00000 MHz：100 低于频段 "
                                         "136.00000-173.99500 MHz。";
    }

    void clampedEntriesAreExplainedInTheStatusBar() {
        QFETCH(QString, language);
        QFETCH(bool, onVfoPage);
        QFETCH(QString, entry);
        QFETCH(QString, note);
        QVERIFY(m_Shell.UseLanguage((language + ".lang").toStdString()));
        CMainFrame* frame = m_Shell.App().MainFrame();
        QVERIFY(ShowActive(frame));
        auto enter = [&](const QString& text) {
            if (onVfoPage) {
                frame->View()->TabControl()->setCurrentWidget(m_Vfo);
                auto* box = FindControl<QLineEdit>(m_Vfo, kVfoF1ReceiveId);
                TypeInto(box, text);
                QTest::keyClick(box, Qt::Key_Tab);
            } else {
                TypeIntoCell(1, 1, text);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
        };
        enter(entry);
        QCOMPARE(frame->StatusNoteText(), note);
        QVERIFY(frame->PortPaneText().startsWith(QStringLiteral("COM")));
        enter(QStringLiteral("146.5"));
        QVERIFY(frame->StatusNoteText().isEmpty());
    }

private:
    // Opens the cell's editor with a click and types text without leaving it.
    void TypeIntoCell(int row, int column, const QString& text) {
        CGridCtrl* grid = m_Channels->Grid();
        QRect rect;
        QVERIFY(grid->CellRect(row, column, &rect));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, text);
    }

    halvex::test::ShellFixture m_Shell;
    CFunctionPage* m_Functions = nullptr;
    CVfoPage* m_Vfo = nullptr;
    CChannelPage* m_Channels = nullptr;
};

QTEST_MAIN(PagesMainWindowTest)
#include "pages_main_window_test.moc"
