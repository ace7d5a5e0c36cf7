// SPDX-License-Identifier: GPL-3.0-or-later
// Whole channels moved about in the running main window: rows chosen with the mouse on the
// row headers, the Edit menu, its keys and the grid's context menu, their greyed states, the
// clipboard in both forms, the reports of what a paste could not store, and one undo step
// per command.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/channel_row_ops.h"
#include "common/step_names.h"
#include "editors/channel_commit.h"
#include "editors/channel_page.h"
#include "editors/channel_row_commands.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "support/page_test_support.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

constexpr int kRowCommands[] = {
    kCommandCut,           kCommandCopy,          kCommandPaste,           kCommandInsertChannel,
    kCommandDeleteChannel, kCommandMoveChannelUp, kCommandMoveChannelDown, kCommandClear};

}  // namespace

class ChannelRowsUiTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolder().CopyFromBin({"setting.ini", "english.lang"});
        QVERIFY(m_Shell.Start());
        for (MainViewPage* page : Frame()->View()->Pages()) {
            if (auto* channels = dynamic_cast<CChannelPage*>(page)) {
                m_Page = channels;
            }
        }
        QVERIFY(m_Page != nullptr);
        QVERIFY(ShowActive(Frame()));
        QApplication::clipboard()->clear();
        Use(3, "146.52", "ALPHA");
        Use(4, "147.00", "BRAVO");
        Use(5, "147.50", "CHARL");
        Use(10, "150.00", "TEN");
        Document().SetModifiedFlag(false);
        Document().ClearEditHistory();
        Document().UpdateAllViews();
        m_Original = Document().Image().bytes;
        MessageBox::ClearShown();
    }

    void cleanup() {
        Document().SetModifiedFlag(false);
        QVERIFY(m_Shell.Finish());
    }

    void commandsAreGreyedWhereTheyDoNotApply() {
        // The table starts focused on channel 1: Insert applies there, nothing needs a selection.
        for (int command : kRowCommands) {
            QVERIFY2(Enabled(command) == (command == kCommandInsertChannel),
                     QByteArray::number(command));
        }
        ClickHeader(1);
        for (int command : {kCommandCut, kCommandCopy, kCommandInsertChannel, kCommandDeleteChannel,
                            kCommandMoveChannelDown, kCommandClear}) {
            QVERIFY2(Enabled(command), QByteArray::number(command));
        }
        QVERIFY(!Enabled(kCommandMoveChannelUp));
        QVERIFY(!Enabled(kCommandPaste));  // nothing on the clipboard
        QTest::keyClick(Grid(), Qt::Key_Insert, Qt::ControlModifier);
        QVERIFY(Enabled(kCommandPaste));
        ClickHeader(128);
        QVERIFY(Enabled(kCommandMoveChannelUp));
        QVERIFY(!Enabled(kCommandMoveChannelDown));

        // Greyed commands do nothing from their keys either.
        QTest::keyClick(Grid(), Qt::Key_Down, Qt::AltModifier);
        QVERIFY(Document().Image().bytes == m_Original);
        QVERIFY(!Document().CanUndo());

        // The context menu offers the same commands, and a right click takes its row first.
        QRect rect;
        Grid()->MakeVisible(1, kColumnName);
        QVERIFY(Grid()->CellRect(1, kColumnName, &rect));
        std::unique_ptr<QMenu> menu(m_Page->CreateContextMenu(rect.center()));
        QCOMPARE(m_Page->SelectedChannels(), std::vector<int>{1});
        QStringList texts;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                texts << action->text() + (action->isEnabled() ? "" : " (grey)");
            }
        }
        QCOMPARE(texts,
                 QStringList({"Cu&t\tCtrl+X", "&Copy\tCtrl+Ins", "&Paste\tCtrl+V",
                              "&Insert Empty Channel", "&Delete Channel", "Mo&ve Up\tAlt+Up (grey)",
                              "Move Do&wn\tAlt+Down", "C&lear", "&Set for Selected Channels...",
                              "S&ort Channels...", "&Fill Frequencies..."}));
    }

    // On another page a channel command would change rows out of sight: it is greyed there
    // and does nothing from the menu or its keys, and applies again once the table is shown.
    void channelCommandsActOnlyWithTheTableShown() {
        ClickHeader(3);
        ClickHeader(5, Qt::ShiftModifier);
        QTest::keyClick(Grid(), Qt::Key_Insert, Qt::ControlModifier);
        const int channelTab = Frame()->View()->TabControl()->currentIndex();
        const int dialogCommands[] = {kCommandSetForSelected, kCommandFillFrequencies,
                                      kCommandSortChannels};
        for (int tab = 0; tab < Frame()->View()->TabControl()->count(); ++tab) {
            Frame()->View()->TabControl()->setCurrentIndex(tab);
            const bool shown = tab == channelTab;
            for (int command : kRowCommands) {
                QVERIFY2(Enabled(command) == shown,
                         qPrintable(QString("tab %1, command %2").arg(tab).arg(command)));
                if (!shown) {
                    Frame()->OnCommand(command);
                }
            }
            for (int command : dialogCommands) {
                QVERIFY2(Enabled(command) == shown,
                         qPrintable(QString("tab %1, command %2").arg(tab).arg(command)));
            }
            if (!shown) {
                QTest::keyClick(Frame()->View()->TabControl()->currentWidget(), Qt::Key_Down,
                                Qt::AltModifier);
                QVERIFY(Document().Image().bytes == m_Original);
                QVERIFY(!Document().CanUndo());
            }
        }
    }

    void setupLockedRowsStayOutOfReach() {
        m_Shell.Folder().ChangeSettings({{"channel", "0"}});
        ClickHeader(100);
        for (int command : kRowCommands) {
            QVERIFY2(!Enabled(command), QByteArray::number(command));
        }
        ClickHeader(99);
        QVERIFY(!Enabled(kCommandMoveChannelDown));
        Use(99, "160.00", "LAST");
        Use(100, "161.00", "LOCKD");
        Document().ClearEditHistory();
        const ChannelSlot locked = ReadChannelSlot(Document().Image(), 100);
        ClickHeader(1);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        Command(kCommandInsertChannel);
        QCOMPARE(MessageBox::Shown().back().text,
                 std::string("Channel 99 is in use and will drop off the end of the table. "
                             "Insert anyway?"));
        QVERIFY(ReadChannelSlot(Document().Image(), 100) == locked);
        QCOMPARE(Name(99), std::string());  // 98 was empty and moved down
    }

    void keysMoveCutAndPasteRowsOneUndoStepEach() {
        ClickHeader(3);
        ClickHeader(5, Qt::ShiftModifier);
        // In a drop-down list the keys open and close the list instead.
        QComboBox* list = m_Page->RangeSelector();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
        list->hidePopup();
        QVERIFY(Document().Image().bytes == m_Original);
        Grid()->setFocus();
        QTest::keyClick(Grid(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(Names(3, 6), QStringList({"", "ALPHA", "BRAVO", "CHARL"}));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Move Channels 3-5 Down"));
        QCOMPARE(m_Page->SelectedChannels(), (std::vector<int>{4, 5, 6}));
        QCOMPARE(Grid()->GetCellText(4, kColumnName), QStringLiteral("ALPHA"));

        // Copy changes nothing, so it is no step.
        QTest::keyClick(Grid(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Move Channels 3-5 Down"));
        QTest::keyClick(Grid(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(Names(4, 6), QStringList({"", "", ""}));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Cut Channels 4-6"));
        QCOMPARE(Grid()->GetCellText(5, kColumnReceive), QString());

        ClickHeader(20);
        QTest::keyClick(Grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Names(20, 22), QStringList({"ALPHA", "BRAVO", "CHARL"}));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Paste Channels 20-22"));
        QVERIFY(MessageBox::Shown().empty());

        for (const char* step :
             {"Paste Channels 20-22", "Cut Channels 4-6", "Move Channels 3-5 Down"}) {
            QCOMPARE(StepText(Document().UndoName()), QString::fromUtf8(step));
            QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);
        }
        QVERIFY(Document().Image().bytes == m_Original);
        QVERIFY(!Document().IsModified());
    }

    void insertDeleteAndClearFromTheMenu() {
        ClickHeader(4);
        Command(kCommandInsertChannel);
        QCOMPARE(Names(3, 6), QStringList({"ALPHA", "", "BRAVO", "CHARL"}));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Insert Empty Channel 4"));
        QCOMPARE(Name(11), std::string("TEN"));

        ClickHeader(3);
        ClickHeader(5, Qt::ControlModifier);
        Command(kCommandDeleteChannel);
        QCOMPARE(Names(3, 5), QStringList({"", "CHARL", ""}));
        QCOMPARE(Name(9), std::string("TEN"));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Delete Channels 3, 5"));

        ClickHeader(9);
        Command(kCommandClear);
        QCOMPARE(Name(9), std::string());
        QVERIFY(Document().Image().IsChannelEmpty(9));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Clear Channel 9"));

        // A full table asks before its last channel drops off; Cancel changes nothing.
        Use(128, "170.00", "END");
        Document().CommitEdit("fill");
        const auto before = Document().Image().bytes;
        ClickHeader(1);
        MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        Command(kCommandInsertChannel);
        QVERIFY(Document().Image().bytes == before);
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("fill"));

        ClickHeader(4);
        Command(kCommandMoveChannelUp);
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Move Channel 4 Up"));
    }

    void pastePastTheLastChannelIsReported() {
        ClickHeader(3);
        ClickHeader(5, Qt::ShiftModifier);
        Command(kCommandCopy);
        ClickHeader(127);
        Command(kCommandPaste);
        QCOMPARE(Names(127, 128), QStringList({"ALPHA", "BRAVO"}));
        QCOMPARE(MessageBox::Shown().back().text,
                 std::string("1 of the pasted channels did not fit below the last channel 128 "
                             "and were not pasted."));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Paste Channels 127-128"));
        QCOMPARE(m_Page->SelectedChannels(), (std::vector<int>{127, 128}));
    }

    // Settings the CSV format has no column for survive only the own format.
    void ownFormatIsExactAndTextGoesThroughTheImport() {
        CommitChoice(Document(), 3, kColumnBcl, 1);
        CommitChoice(Document(), 3, kColumnReverse, 1);
        Document().CommitEdit("settings");
        const ChannelSlot original = ReadChannelSlot(Document().Image(), 3);
        ClickHeader(3);
        Command(kCommandCopy);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data->hasFormat(kChannelsMimeType));
        QVERIFY(data->text().startsWith("Location\tName\tFrequency"));
        QVERIFY(data->text().contains("3\tALPHA\t146.520000"));
        QVERIFY(Frame()->StatusNoteText().contains("Channel 3 copied."));

        ClickHeader(40);
        Command(kCommandPaste);
        QVERIFY(ReadChannelSlot(Document().Image(), 40) == original);

        // The same rows as plain text, as a spreadsheet hands them over, and as CSV text.
        const QString cells = data->text();
        for (const auto& [text, channel] :
             {std::pair{cells, 41}, std::pair{QString(cells).replace('\t', ','), 42}}) {
            QApplication::clipboard()->setText(text);
            ClickHeader(channel);
            Command(kCommandPaste);
            QCOMPARE(Name(channel), std::string("ALPHA"));
            QCOMPARE(Document().Image().GetFrequencyText(channel, kDecodeSide),
                     std::string("146.52000"));
            QVERIFY(!Document().Image().GetBcl(channel));
        }

        QApplication::clipboard()->setText(
            "Frequency,Name,Mode\r\n146.52,ONE,FM\r\n147.00,TWO,AM\r\n");
        ClickHeader(50);
        Command(kCommandPaste);
        QCOMPARE(Name(50), std::string("ONE"));
        QVERIFY(Document().Image().IsChannelEmpty(51));
        QCOMPARE(MessageBox::Shown().back().text,
                 std::string("1 row imported, 6 changes reported.\nrow 3, Mode: mode AM is "
                             "not supported by the radio, row skipped\n"
                             "no Duplex column: 1 new channel set to simplex\n"
                             "no Tone column: 1 new channel set to no tone\n"
                             "no TStep column: 1 new channel set to 5.00\n"
                             "no Skip column: 1 new channel set to scan add on\n"
                             "no Power column: 1 new channel set to High"));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Paste Channel 50"));

        const auto before = Document().Image().bytes;
        QApplication::clipboard()->setText("just some words");
        Command(kCommandPaste);
        QVERIFY(Document().Image().bytes == before);
        QCOMPARE(MessageBox::Shown().back().caption, std::string("Error"));
        QVERIFY(MessageBox::Shown().back().text.starts_with(
            "The clipboard holds no channels that can be pasted. Nothing was changed."));
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Paste Channel 50"));
    }

private:
    CMainFrame* Frame() const { return m_Shell.App().MainFrame(); }
    CHalvexDoc& Document() const { return m_Shell.App().Document(); }
    CGridCtrl* Grid() const { return m_Page->Grid(); }

    void Use(int n, const char* frequency, const char* name) {
        CommitReceiveFrequency(Document(), n, frequency);
        CommitChannelName(Document(), n, name);
        m_Page->RefreshRow(n);
    }
    std::string Name(int n) const {
        return DecodeChannelName(Document().Image().GetChannelNameBytes(n).data());
    }
    QStringList Names(int first, int last) const {
        QStringList names;
        for (int n = first; n <= last; ++n) {
            names << QString::fromStdString(Name(n));
        }
        return names;
    }

    void ClickHeader(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Grid()->MakeVisible(row, 0);
        QRect rect;
        QVERIFY(Grid()->CellRect(row, 0, &rect));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    // As the user finds it when the Edit menu opens.
    bool Enabled(int command) const {
        QAction* action = Frame()->MenuAction(command);
        emit qobject_cast<QMenu*>(action->parent())->aboutToShow();
        return action->isEnabled();
    }
    void Command(int command) {
        QVERIFY2(Enabled(command), QByteArray::number(command));
        Frame()->MenuAction(command)->trigger();
    }

    halvex::test::ShellFixture m_Shell;
    CChannelPage* m_Page = nullptr;
    std::array<uint8_t, kImageSize> m_Original{};
};

QTEST_MAIN(ChannelRowsUiTest)
#include "channel_rows_ui_test.moc"
