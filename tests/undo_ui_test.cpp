// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Undo and Redo in the running main window: every kind of change the pages and
// dialogs make, undone and redone by the menu and the keys, the menu's texts, the modified
// flag with the title's star, and the keys inside an open text field.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QtTest>
#include <functional>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/dialog_builder.h"
#include "common/step_names.h"
#include "config/language_files.h"
#include "editors/channel_commit.h"
#include "editors/channel_page.h"
#include "editors/function_page.h"
#include "editors/radiogram_dialog.h"
#include "editors/vfo_page.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "resources/ids/function_page_ids.h"
#include "resources/ids/vfo_page_ids.h"
#include "support/page_test_support.h"
#include "support/shell_fixture.h"
#include "testmode/mode_dialog.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

enum class Keys { Menu, CtrlZ, AltBackspace, CtrlY, CtrlShiftZ };

}  // namespace

Q_DECLARE_METATYPE(std::function<void()>)

class UndoUiTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolder().CopyFromBin({"setting.ini", "english.lang", "chinese.lang"});
        QVERIFY(m_Shell.Start());
        m_Channels = m_Shell.FindPage<CChannelPage>();
        m_Functions = m_Shell.FindPage<CFunctionPage>();
        m_Vfo = m_Shell.FindPage<CVfoPage>();
        QVERIFY(m_Channels != nullptr && m_Functions != nullptr && m_Vfo != nullptr);
        QVERIFY(ShowActive(Frame()));
        MessageBox::ClearShown();
    }

    void cleanup() {
        Document().SetModifiedFlag(false);
        QVERIFY(m_Shell.Finish());
    }

    void channelCellsStepBackAndForthWithTheKeys() {
        EnterCell(3, kColumnReceive, "146.5");
        EnterCell(3, kColumnName, "TOWER");
        QCOMPARE(UndoText(), QStringLiteral("&Undo Edit Channel 3 Name\tCtrl+Z"));
        QVERIFY(!MenuEnabled(kCommandRedo));
        QCOMPARE(Frame()->windowTitle().left(9), QStringLiteral("Untitled*"));

        Press(Keys::CtrlZ);
        QCOMPARE(Cell(3, kColumnName), QString());
        QCOMPARE(Cell(3, kColumnReceive), QStringLiteral("146.50000"));
        // The user is taken to what changed.
        QCOMPARE(Grid()->GetFocusCell(), (GridCellId{3, kColumnName}));
        QCOMPARE(RedoText(), QStringLiteral("&Redo Edit Channel 3 Name\tCtrl+Y"));
        QCOMPARE(UndoText(), QStringLiteral("&Undo Edit Channel 3 RX Freq (MHz)\tCtrl+Z"));

        Press(Keys::AltBackspace);
        QCOMPARE(Cell(3, kColumnReceive), QString());
        QVERIFY(!Document().IsModified());
        QCOMPARE(Frame()->windowTitle().left(9), QStringLiteral("Untitled "));
        QCOMPARE(UndoText(), QStringLiteral("&Undo\tCtrl+Z"));
        QVERIFY(!MenuEnabled(kCommandUndo));
        Press(Keys::CtrlZ);  // nothing left: no change, no harm
        QCOMPARE(Cell(3, kColumnReceive), QString());

        Press(Keys::CtrlY);
        QCOMPARE(Cell(3, kColumnReceive), QStringLiteral("146.50000"));
        QCOMPARE(Grid()->GetFocusCell(), (GridCellId{3, kColumnReceive}));
        QVERIFY(Document().IsModified());
        Press(Keys::CtrlShiftZ);
        QCOMPARE(Cell(3, kColumnName), QStringLiteral("TOWER"));
        QVERIFY(!MenuEnabled(kCommandRedo));

        // A new edit after an undo leaves nothing to redo.
        Press(Keys::Menu);
        EnterCell(5, kColumnReceive, "147");
        QVERIFY(!MenuEnabled(kCommandRedo));
        Press(Keys::CtrlY);
        QCOMPARE(Cell(3, kColumnName), QString());
    }

    // The in-cell editor and the page's text fields undo their own typing first; with nothing
    // of their own left, the keys undo the document's last step.
    void anOpenTextFieldUndoesItsTypingFirst() {
        EnterCell(2, kColumnReceive, "145");
        OpenCell(2, kColumnName);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, QStringLiteral("AB"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(editor->text().size() < 2);
        QCOMPARE(Cell(2, kColumnReceive), QStringLiteral("145.00000"));
        QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("AB"));
        while (editor->isUndoAvailable()) {
            QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(Cell(2, kColumnReceive), QStringLiteral("145.00000"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Cell(2, kColumnReceive), QString());
        QCOMPARE(Cell(2, kColumnName), QString());

        TabTo(m_Functions);
        auto* code = FindControl<QLineEdit>(m_Functions, kPttIdCodeId);
        TypeInto(code, QStringLiteral("12"));
        QTest::keyClick(code, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(code->text(), QString());
        // The document was not asked: what it could redo is still there.
        QCOMPARE(StepText(Document().RedoName()), QStringLiteral("Edit Channel 2 RX Freq (MHz)"));
    }

    // The text clipboard keys stay a text field's own: rows from the clipboard must never land
    // in the channel table while the user pastes into a name or a code.
    void anOpenTextFieldKeepsTheClipboardKeys() {
        EnterCell(2, kColumnReceive, "145");
        const std::vector<uint8_t> before(Document().Image().bytes.begin(),
                                          Document().Image().bytes.end());
        QApplication::clipboard()->setText(QStringLiteral("146.52,TEXT"));
        OpenCell(2, kColumnName);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Insert, Qt::ShiftModifier);
        // Filtered as typed, then cut to the five characters a name holds.
        QCOMPARE(editor->text(), QStringLiteral("14652"));
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(editor->text(), QString());
        QVERIFY(!QApplication::clipboard()->text().isEmpty());

        TabTo(m_Functions);
        auto* code = FindControl<QLineEdit>(m_Functions, kPttIdCodeId);
        TypeInto(code, QStringLiteral("12"));
        code->selectAll();
        QTest::keyClick(code, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12"));
        code->end(false);
        QTest::keyClick(code, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(code->text(), QStringLiteral("1212"));
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(std::equal(before.begin(), before.end(), Document().Image().bytes.begin()));
    }

    void everyKindOfChangeIsOneNamedStep_data() {
        QTest::addColumn<std::function<void()>>("change");
        QTest::addColumn<QString>("name");
        QTest::addRow("frequency range") << std::function<void()>([this] {
            MessageBox::SetNextAnswer(MessageAnswer::Ok);
            QComboBox* selector = m_Channels->RangeSelector();
            emit selector->activated(1);
        }) << "Change Frequency Range";
        QTest::addRow("function list") << std::function<void()>([this] {
            TabTo(m_Functions);
            auto* list = FindControl<QComboBox>(m_Functions, kSquelchId);
            ChooseWithKeys(list, list->currentIndex() + 1);
        }) << "Edit Squelch level";
        QTest::addRow("function box") << std::function<void()>([this] {
            TabTo(m_Functions);
            FindControl<QCheckBox>(m_Functions, kDualWatchId)->click();
        }) << "Edit Dual watch";
        QTest::addRow("ptt id code") << std::function<void()>([this] {
            TabTo(m_Functions);
            TypeInto(FindControl<QLineEdit>(m_Functions, kPttIdCodeId), QStringLiteral("123"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }) << "Edit PTT ID code";
        QTest::addRow("vfo frequency") << std::function<void()>([this] {
            TabTo(m_Vfo);
            TypeInto(FindControl<QLineEdit>(m_Vfo, kVfoF2ReceiveId), QStringLiteral("150"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }) << "Edit F2 VFO RX frequency";
        QTest::addRow("vfo list") << std::function<void()>([this] {
            TabTo(m_Vfo);
            auto* list = FindControl<QComboBox>(m_Vfo, kVfoF1PowerId);
            ChooseWithKeys(list, 1 - list->currentIndex());
        }) << "Edit F1 VFO Power";
        QTest::addRow("fm presets") << std::function<void()>([this] {
            QVERIFY(
                m_Shell.RunWithDialog<CRadiogramDlg>(kCommandRadiogram, [](CRadiogramDlg& dialog) {
                    emit dialog.FrequencyList()->activated(12);
                    dialog.accept();
                }));
        }) << "Edit FM frequency";
        QTest::addRow("test mode value") << std::function<void()>([this] {
            CTestModeDlg dialog(m_Shell.App().Features(), Frame());
            dialog.show();
            auto* bar = FindControl<QScrollBar>(&dialog, kTestValueBarId);
            QTest::keyClick(bar, Qt::Key_Right);
        }) << "Edit Test Value VHF TX power high CH1";
    }

    void everyKindOfChangeIsOneNamedStep() {
        QFETCH(std::function<void()>, change);
        QFETCH(QString, name);
        const auto before = Document().Image().bytes;
        change();
        const auto after = Document().Image().bytes;
        QVERIFY(after != before);
        QVERIFY(Document().IsModified());
        QCOMPARE(UndoText(), QStringLiteral("&Undo %1\tCtrl+Z").arg(name));

        Frame()->OnCommand(kCommandUndo);
        QVERIFY(Document().Image().bytes == before);
        QVERIFY(!Document().IsModified());
        QVERIFY(!Document().CanUndo());
        QCOMPARE(RedoText(), QStringLiteral("&Redo %1\tCtrl+Y").arg(name));
        VerifyPagesShowTheImage();

        Frame()->OnCommand(kCommandRedo);
        QVERIFY(Document().Image().bytes == after);
        QVERIFY(Document().IsModified());
        VerifyPagesShowTheImage();

        // After a change of language the step is named as if it had been made in the new one.
        QVERIFY(m_Shell.UseLanguage("chinese.lang"));
        const QString renamed = UndoText();
        QVERIFY2(!renamed.contains(name), qPrintable(renamed));
        Frame()->OnCommand(kCommandUndo);
        change();
        QCOMPARE(UndoText(), renamed);
        QVERIFY(m_Shell.UseLanguage("english.lang"));
    }

    void importIsOneStep() {
        EnterCell(1, kColumnReceive, "150");
        m_Shell.Folder().Write("list.csv",
                               "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                               "DtcsCode,DtcsPolarity,Mode,TStep\r\n"
                               "1,A,146.520000,,0.000000,,88.5,88.5,023,NN,FM,5.00\r\n"
                               "2,B,147.000000,,0.000000,,88.5,88.5,023,NN,FM,5.00\r\n");
        const auto before = Document().Image().bytes;
        FileDialog::SetNextFileName(m_Shell.Folder().File("list.csv"));
        QVERIFY(m_Shell.RunWithDialog<QDialog>(kCommandImportChannels,
                                               [](QDialog& dialog) { dialog.accept(); }));
        QCOMPARE(Cell(2, kColumnReceive), QStringLiteral("147.00000"));
        QCOMPARE(UndoText(), QStringLiteral("&Undo Import Channels\tCtrl+Z"));
        Frame()->OnCommand(kCommandUndo);
        QVERIFY(Document().Image().bytes == before);
        QCOMPARE(Cell(1, kColumnReceive), QStringLiteral("150.00000"));
        QCOMPARE(Cell(2, kColumnReceive), QString());
        // Filling only empty channels kept channel 1: channel 2 is where the step was.
        QCOMPARE(Grid()->GetFocusCell(), (GridCellId{2, kColumnReceive}));
    }

    void savingMarksTheStateTheFlagReturnsTo() {
        EnterCell(1, kColumnReceive, "150");
        FileDialog::SetNextFileName(m_Shell.Folder().File("saved.pgm"));
        Frame()->OnCommand(kCommandSaveAs);
        QVERIFY(!Document().IsModified());
        EnterCell(1, kColumnName, "ABC");
        QVERIFY(Frame()->windowTitle().startsWith(QStringLiteral("saved.pgm*")));
        Press(Keys::CtrlZ);
        QVERIFY(Frame()->windowTitle().startsWith(QStringLiteral("saved.pgm ")));
        Press(Keys::CtrlZ);
        QVERIFY(Frame()->windowTitle().startsWith(QStringLiteral("saved.pgm*")));

        // New and Open start a history of their own.
        MessageBox::SetNextAnswer(MessageAnswer::No);
        FileDialog::SetNextFileName(m_Shell.Folder().File("saved.pgm"));
        Frame()->OnCommand(kCommandOpen);
        QVERIFY(!Document().CanUndo() && !Document().CanRedo());
        QCOMPARE(Cell(1, kColumnReceive), QStringLiteral("150.00000"));
    }

    void theMenuSpeaksTheUsersLanguage() {
        QVERIFY(m_Shell.UseLanguage("chinese.lang"));
        EnterCell(7, kColumnReceive, "146");
        EnterCell(7, kColumnName, "X");
        QCOMPARE(UndoText(), QStringLiteral("撤销(&U) 编辑信道 7 %1\tCtrl+Z")
                                 .arg(Grid()->GetCellText(0, kColumnName)));
        QCOMPARE(RedoText(), QStringLiteral("重做(&R)\tCtrl+Y"));
        QCOMPARE(Frame()->menuBar()->actions().at(1)->text(), QStringLiteral("编辑(&E)"));
    }

private:
    CMainFrame* Frame() const { return m_Shell.App().MainFrame(); }
    CHalvexDoc& Document() const { return m_Shell.App().Document(); }
    CGridCtrl* Grid() const { return m_Channels->Grid(); }
    QString Cell(int row, int column) const { return Grid()->GetCellText(row, column); }

    // What the user sees when the Edit menu opens.
    QString MenuText(int commandId) const {
        QAction* action = Frame()->MenuAction(commandId);
        emit qobject_cast<QMenu*>(action->parent())->aboutToShow();
        return action->text();
    }
    bool MenuEnabled(int commandId) const {
        MenuText(commandId);
        return Frame()->MenuAction(commandId)->isEnabled();
    }
    QString UndoText() const { return MenuText(kCommandUndo); }
    QString RedoText() const { return MenuText(kCommandRedo); }

    void TabTo(QWidget* page) { Frame()->View()->TabControl()->setCurrentWidget(page); }

    void OpenCell(int row, int column) {
        TabTo(m_Channels);
        QRect rect;
        Grid()->MakeVisible(row, column);
        QVERIFY(Grid()->CellRect(row, column, &rect));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }

    void EnterCell(int row, int column, const char* text) {
        OpenCell(row, column);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, QString::fromLatin1(text));
        QTest::keyClick(editor, Qt::Key_Return);
    }

    void Press(Keys keys) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Frame();
        switch (keys) {
            case Keys::Menu:
                MenuText(kCommandUndo);
                Frame()->MenuAction(kCommandUndo)->trigger();
                break;
            case Keys::CtrlZ:
                QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
                break;
            case Keys::AltBackspace:
                QTest::keyClick(target, Qt::Key_Backspace, Qt::AltModifier);
                break;
            case Keys::CtrlY:
                QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier);
                break;
            case Keys::CtrlShiftZ:
                QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
                break;
        }
    }

    // The pages read back what the image holds, not what they showed before.
    void VerifyPagesShowTheImage() {
        QCOMPARE(FindControl<QComboBox>(m_Functions, kSquelchId)->currentIndex(),
                 Document().Image().GetSquelch());
        QCOMPARE(FindControl<QCheckBox>(m_Functions, kDualWatchId)->isChecked(),
                 Document().Image().GetDualWatch());
        QCOMPARE(FindControl<QLineEdit>(m_Vfo, kVfoF2ReceiveId)->text().toStdString(),
                 Document().Image().GetFrequencyText(kVfoF2, kDecodeSide));
        QCOMPARE(FindControl<QComboBox>(m_Vfo, kVfoF1PowerId)->currentIndex(),
                 Document().Image().GetPowerHigh(kVfoF1) ? 1 : 0);
        QCOMPARE(m_Channels->RangeSelector()->currentIndex(), Document().FindModelLine());
    }

    halvex::test::ShellFixture m_Shell;
    CChannelPage* m_Channels = nullptr;
    CFunctionPage* m_Functions = nullptr;
    CVfoPage* m_Vfo = nullptr;
};

QTEST_MAIN(UndoUiTest)
#include "undo_ui_test.moc"
