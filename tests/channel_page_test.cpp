// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table page driven by real mouse and key events through the grid and its
// editors, checked against the bytes of the radio image.
#include "editors/channel_page.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "app/accelerator_filter.h"
#include "codeplug/document.h"
#include "common/dialog_builder.h"
#include "common/message_box.h"
#include "config/app_globals.h"
#include "config/setting_definitions.h"
#include "config/settings.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "resources/ids/channel_page_ids.h"
#include "support/channel_fixture.h"
#include "support/page_test_support.h"
#include "support/program_globals.h"
#include "support/shell_fixture.h"

namespace {

// Stands in for the main view: a whole-document change reloads the page.
class PageView : public DocumentView {
public:
    void OnUpdate() override {
        if (page != nullptr) {
            page->Reload();
        }
    }
    CChannelPage* page = nullptr;
};

QByteArray Bytes(const CHalvexDoc& doc, size_t offset, int count) {
    return QByteArray(reinterpret_cast<const char*>(doc.Image().bytes.data() + offset), count);
}

QByteArray Record(const CHalvexDoc& doc, int n, int first, int count) {
    return Bytes(doc, 0x1000 + 16 * static_cast<size_t>(n) + static_cast<size_t>(first), count);
}

}  // namespace

class ChannelPageTest : public QObject {
    Q_OBJECT

    halvex::test::ChannelFixture m_Channels{{"setting.ini", "english.lang", "chinese.lang"}};
    std::unique_ptr<CHalvexDoc> m_Doc;
    PageView m_View;
    std::unique_ptr<QWidget> m_Window;
    CChannelPage* m_Page = nullptr;

    void OpenPage(int channelCount) {
        m_Window.reset();
        halvex::test::SetChannelCount(channelCount);
        m_Doc = m_Channels.NewDocument();
        QVERIFY(m_Doc != nullptr);
        m_Window = std::make_unique<QWidget>();
        m_Page = new CChannelPage(*m_Doc, m_Channels.Folder().SettingsPath(), m_Window.get());
        m_Window->resize(m_Page->size());
        m_View.page = m_Page;
        m_Doc->AddView(&m_View);
        QVERIFY(ShowActive(m_Window.get()));
    }

    CGridCtrl* Grid() const { return m_Page->Grid(); }
    QLineEdit* FrequencyEditor() const {
        return FindControl<QLineEdit>(m_Page, kFrequencyEditorId);
    }
    QLineEdit* NameEditor() const { return FindControl<QLineEdit>(m_Page, kNameEditorId); }
    QComboBox* List(int id) const { return FindControl<QComboBox>(m_Page, id); }
    QString Cell(int row, int column) const { return Grid()->GetCellText(row, column); }
    bool ReadOnly(int row, int column) const {
        return (Grid()->GetCellState(row, column) & kCellReadOnly) != 0;
    }

    void ClickCell(int row, int column) {
        Grid()->MakeVisible(row, column);
        QRect rect;
        QVERIFY(Grid()->CellRect(row, column, &rect));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }

    // Clicks a frequency or name cell, types text over its whole content and presses Enter.
    void Enter(int row, int column, const QString& text) {
        ClickCell(row, column);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(editor) != nullptr);
        if (text.isEmpty()) {
            QTest::keyClick(editor, Qt::Key_Backspace);
        }
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    // Opens the list's pop-up and clicks an entry, which chooses it even when it is selected.
    void ChooseInPopup(QComboBox* list, int index) {
        list->showPopup();
        QAbstractItemView* view = list->view();
        QTRY_VERIFY(view->isVisible());
        const QRect rect = view->visualRect(view->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        QTRY_VERIFY(!view->isVisible());
    }

    template <typename Setting>
    void WriteSetup(const Setting& setting, const char* value) {
        std::string error;
        QVERIFY2(setting.Write(g_SettingsPath, value, &error), error.c_str());
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(m_Channels.Start(&error), error.c_str());
    }

    void init() {
        WriteSetup(settings::kCompander, "1");
        WriteSetup(settings::kHighChannels, "1");
        WriteSetup(settings::kLanguage, "english");
        MessageBox::ClearShown();
        OpenPage(128);
    }

    void cleanup() {
        m_Doc->RemoveView(&m_View);
        m_Window.reset();
        QVERIFY(halvex::test::SeamsDrained());
    }

    void builtFromTheLanguageFile() {
        QCOMPARE(Grid()->GetRowCount(), 129);
        QCOMPARE(Grid()->GetColumnCount(), 13);
        QCOMPARE(Grid()->GetColumnWidth(11), 72);
        QCOMPARE(Grid()->GetRowHeight(0), 28);
        QCOMPARE(Cell(0, 1), QStringLiteral("RX Freq (MHz)"));
        QCOMPARE(Cell(128, 0), QStringLiteral("128"));
        QVERIFY(Grid()->GetCellFormat(0, 9) & Qt::TextWordWrap);
        QCOMPARE(m_Page->RangeSelector()->count(), 6);
        QCOMPARE(m_Page->RangeSelector()->currentIndex(), 0);
        QCOMPARE(List(kDecodeListId)->count(), 259);
        QVERIFY(ReadOnly(1, 2));
        QVERIFY(!ReadOnly(1, 1));
        QVERIFY(Cell(1, 1).isEmpty());
    }

    void firstFrequencyThroughTheKeystrokeFilter() {
        ClickCell(1, 1);
        QVERIFY(FrequencyEditor()->isVisible());
        QVERIFY(FrequencyEditor()->hasFocus());
        QRect cell;
        QVERIFY(Grid()->CellRect(1, 1, &cell));
        QCOMPARE(FrequencyEditor()->geometry(),
                 QRect(Grid()->viewport()->mapTo(m_Page, cell.topLeft()), cell.size()));
        QTest::keyClicks(FrequencyEditor(), QStringLiteral("14a6.1.23"));
        QCOMPARE(FrequencyEditor()->text(), QStringLiteral("146.123"));
        QTest::keyClick(FrequencyEditor(), Qt::Key_Return);

        QVERIFY(!FrequencyEditor()->isVisible());
        QCOMPARE(Record(*m_Doc, 1, 0, 8), QByteArray::fromHex("0025611400000000"));
        QCOMPARE(Record(*m_Doc, 1, 11, 1).at(0) & 0x03, 0);
        QCOMPARE(Cell(1, 1), QStringLiteral("146.12500"));
        QCOMPARE(Cell(1, 3), QStringLiteral("146.12500"));
        QCOMPARE(Cell(1, 2), QStringLiteral("Off"));
        QCOMPARE(Cell(1, 5), QStringLiteral("High"));
        for (int column = 2; column <= 12; ++column) {
            QVERIFY2(!ReadOnly(1, column), qPrintable(QString::number(column)));
        }
        QVERIFY(m_Doc->IsModified());
    }

    void transmitColumn_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("offset");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("shown");
        QTest::newRow("above") << "146.725" << QByteArray::fromHex("00000600") << 2 << "146.72500";
        QTest::newRow("below") << "145.525" << QByteArray::fromHex("00000600") << 1 << "145.52500";
        QTest::newRow("cleared") << "" << QByteArray::fromHex("00256114") << 1 << "";
    }

    void transmitColumn() {
        QFETCH(QString, entry);
        QFETCH(QByteArray, offset);
        QFETCH(int, direction);
        QFETCH(QString, shown);
        Enter(1, 1, QStringLiteral("146.125"));
        m_Doc->EditImage().SetTone(1, kEncodeSide, 13);
        m_Page->RefreshRow(1);
        m_Doc->SetModifiedFlag(false);

        Enter(1, 3, entry);
        QCOMPARE(Record(*m_Doc, 1, 4, 4), offset);
        QCOMPARE(Record(*m_Doc, 1, 11, 1).at(0) & 0x03, direction);
        QCOMPARE(Cell(1, 3), shown);
        QCOMPARE(ReadOnly(1, 4), entry.isEmpty());
        QCOMPARE(Cell(1, 4), entry.isEmpty() ? QString() : QStringLiteral("100.0"));
        QCOMPARE(m_Doc->Image().GetTone(1, kEncodeSide), entry.isEmpty() ? 0 : 13);
        QVERIFY(m_Doc->IsModified());
    }

    void changingReceiveKeepsTransmit() {
        Enter(1, 1, QStringLiteral("146.125"));
        Enter(1, 3, QStringLiteral("146.725"));
        Enter(1, 1, QStringLiteral("146"));
        QCOMPARE(Cell(1, 1), QStringLiteral("146.00000"));
        QCOMPARE(Cell(1, 3), QStringLiteral("146.72500"));
        QCOMPARE(Record(*m_Doc, 1, 4, 4), QByteArray::fromHex("00250700"));
        QCOMPARE(Record(*m_Doc, 1, 11, 1).at(0) & 0x03, 2);
    }

    void clampsToTheBandLimits_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("stored");
        QTest::newRow("above") << "180"
                               << "173.99500";
        QTest::newRow("below") << "100"
                               << "136.00000";
        QTest::newRow("junk of nine characters") << "999999999"
                                                 << "173.99500";
    }

    void clampsToTheBandLimits() {
        QFETCH(QString, entry);
        QFETCH(QString, stored);
        Enter(7, 1, entry);
        QCOMPARE(Cell(7, 1), stored);
        QCOMPARE(QString::fromStdString(m_Doc->Image().GetFrequencyText(7, kDecodeSide)), stored);
    }

    void clearingAChannel() {
        Enter(2, 1, QStringLiteral("146.125"));
        Enter(2, 12, QStringLiteral("ab"));
        m_Doc->SetModifiedFlag(false);
        Enter(2, 1, QString());
        for (int column = 1; column <= 12; ++column) {
            QVERIFY(Cell(2, column).isEmpty());
            QCOMPARE(ReadOnly(2, column), column != 1);
        }
        QCOMPARE(Record(*m_Doc, 2, 0, 13), QByteArray::fromHex("ffffffffffffffff0000000800"));
        QCOMPARE(Bytes(*m_Doc, 0x0905, 5), QByteArray::fromHex("ffffffffff"));
        QVERIFY(m_Doc->IsModified());
    }

    // Enter on an untouched cell changes nothing; a comma typed is the decimal point.
    void enterWithoutTypingChangesNothingAndCommaIsThePoint() {
        const QByteArray before = Record(*m_Doc, 4, 0, 16);
        ClickCell(4, 1);
        QTest::keyClick(FrequencyEditor(), Qt::Key_Return);
        QCOMPARE(Record(*m_Doc, 4, 0, 16), before);
        QVERIFY(!m_Doc->IsModified());
        QVERIFY(!m_Doc->CanUndo());
        Enter(4, 1, QStringLiteral("146,52"));
        QCOMPARE(Cell(4, 1), QStringLiteral("146.52000"));
    }

    void escapeRestoresAndCommitsNothingNew() {
        Enter(3, 1, QStringLiteral("146.125"));
        m_Doc->SetModifiedFlag(false);
        const QByteArray before = Record(*m_Doc, 3, 0, 16);
        ClickCell(3, 1);
        QTest::keyClicks(FrequencyEditor(), QStringLiteral("150"));
        QTest::keyClick(FrequencyEditor(), Qt::Key_Escape);
        QVERIFY(!FrequencyEditor()->isVisible());
        QVERIFY(Grid()->hasFocus());
        QCOMPARE(Cell(3, 1), QStringLiteral("146.12500"));
        QCOMPARE(Record(*m_Doc, 3, 0, 16), before);
        QVERIFY(!m_Doc->IsModified());
    }

    void clickingAnotherCellCommitsTheOpenEdit() {
        ClickCell(4, 1);
        QTest::keyClicks(FrequencyEditor(), QStringLiteral("440"));
        ClickCell(5, 1);
        QCOMPARE(Cell(4, 1), QStringLiteral("173.99500"));
        QVERIFY(FrequencyEditor()->isVisible());
        QVERIFY(FrequencyEditor()->text().isEmpty());
        QTest::keyClick(FrequencyEditor(), Qt::Key_Escape);
        QVERIFY(m_Doc->Image().IsChannelEmpty(5));
    }

    // Keys move the closed list's selection; Enter takes it.
    void choiceAndToneLists() {
        Enter(1, 1, QStringLiteral("146.125"));
        m_Doc->SetModifiedFlag(false);

        ClickCell(1, 5);
        QComboBox* choice = List(kChoiceListId);
        QVERIFY(choice->isVisible());
        QCOMPARE(choice->count(), 2);
        QCOMPARE(choice->currentText(), QStringLiteral("High"));
        QTest::keyClick(choice, Qt::Key_Up);
        QTest::keyClick(choice, Qt::Key_Return);
        QVERIFY(!choice->isVisible());
        QCOMPARE(Record(*m_Doc, 1, 11, 1).at(0) & 0x08, 0);
        QCOMPARE(Cell(1, 5), QStringLiteral("Low"));
        QVERIFY(m_Doc->IsModified());

        m_Doc->SetModifiedFlag(false);
        ClickCell(1, 7);
        QCOMPARE(choice->count(), 3);
        QTest::keyClick(choice, Qt::Key_End);
        QTest::keyClick(choice, Qt::Key_Return);
        QCOMPARE(Record(*m_Doc, 1, 8, 1).at(0) & 0x40, 0x40);
        QCOMPARE(Cell(1, 7), QStringLiteral("Middle"));
        QVERIFY(m_Doc->IsModified());

        ClickCell(1, 4);
        QComboBox* encode = List(kEncodeListId);
        QVERIFY(encode->isVisible());
        QCOMPARE(encode->currentIndex(), 0);
        QTest::keyClick(encode, Qt::Key_Down);
        QTest::keyClick(encode, Qt::Key_Return);
        QVERIFY(!encode->isVisible());
        QCOMPARE(Record(*m_Doc, 1, 10, 1), QByteArray::fromHex("01"));
        QCOMPARE(Cell(1, 4), QStringLiteral("67.0"));

        ClickCell(1, 2);
        QComboBox* decode = List(kDecodeListId);
        QTest::keyClick(decode, Qt::Key_End);
        QTest::keyClick(decode, Qt::Key_Return);
        QCOMPARE(Record(*m_Doc, 1, 9, 1), QByteArray::fromHex("9a"));
        QCOMPARE(Record(*m_Doc, 1, 8, 1).at(0) & 0x10, 0x10);
        QCOMPARE(Cell(1, 2), QStringLiteral("D754I"));

        ClickCell(1, 2);
        QCOMPARE(decode->currentText(), QStringLiteral("D754I"));
        QTest::keyClick(decode, Qt::Key_Home);
        QTest::keyClick(decode, Qt::Key_Return);
        QCOMPARE(m_Doc->Image().GetTone(1, kDecodeSide), 0);
        QCOMPARE(Cell(1, 2), QStringLiteral("Off"));
    }

    void nameThroughTheKeystrokeFilter() {
        Enter(1, 1, QStringLiteral("146.125"));
        m_Doc->SetModifiedFlag(false);
        ClickCell(1, 12);
        QTest::keyClicks(NameEditor(), QStringLiteral("a!b-.1x"));
        QCOMPARE(NameEditor()->text(), QStringLiteral("ab-1x"));
        QTest::keyClick(NameEditor(), Qt::Key_Backspace);
        QTest::keyClick(NameEditor(), Qt::Key_Return);
        QCOMPARE(Bytes(*m_Doc, 0x0900, 5), QByteArray::fromHex("0c0d0a01ff"));
        QCOMPARE(Cell(1, 12), QStringLiteral("AB-1"));
        QVERIFY(m_Doc->IsModified());
    }

    // A paste brings its text through the filter a keystroke meets.
    void pastedTextIsFilteredAsTyped_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("cell");
        for (bool pasted : {false, true}) {
            const char* how = pasted ? "pasted" : "typed";
            QTest::addRow("%s frequency with its unit", how)
                << 1 << "146.52MHz" << pasted << "146.52000";
            QTest::addRow("%s frequency with a decimal comma and a second point", how)
                << 1 << "146,5.2" << pasted << "146.52000";
            QTest::addRow("%s name with a sign it cannot hold", how)
                << 12 << "ab#cd" << pasted << "ABCD";
        }
    }
    void pastedTextIsFilteredAsTyped() {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(QString, cell);
        Enter(1, 1, QStringLiteral("145"));
        ClickCell(1, column);
        QLineEdit* editor = column == 1 ? FrequencyEditor() : NameEditor();
        QTest::keyClick(editor, Qt::Key_Backspace);
        if (pasted) {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(editor, text);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(Cell(1, column), cell);
    }

    void lockedCellsOpenNoEditor() {
        ClickCell(5, 11);
        QVERIFY(!List(kChoiceListId)->isVisible());
        QVERIFY(ReadOnly(5, 11));
        QCOMPARE(Record(*m_Doc, 5, 8, 1), QByteArray::fromHex("00"));
    }

    void channelSettingLocksRowsFrom100() {
        WriteSetup(settings::kHighChannels, "0");
        m_Page->Reload();
        ClickCell(100, 1);
        QVERIFY(!FrequencyEditor()->isVisible());
        ClickCell(128, 1);
        QVERIFY(!FrequencyEditor()->isVisible());
        Enter(99, 1, QStringLiteral("146.125"));
        QCOMPARE(Cell(99, 1), QStringLiteral("146.12500"));

        OpenPage(99);
        Enter(99, 1, QStringLiteral("146.125"));
        QCOMPARE(Cell(99, 1), QStringLiteral("146.12500"));
    }

    void companderSettingShadesTheColumn() {
        Enter(1, 1, QStringLiteral("146.125"));
        WriteSetup(settings::kCompander, "0");
        m_Page->Reload();
        QVERIFY(ReadOnly(1, 11));
        ClickCell(1, 11);
        QVERIFY(!List(kChoiceListId)->isVisible());
    }

    void frequencyRangeSelector() {
        QComboBox* selector = m_Page->RangeSelector();
        Enter(1, 1, QStringLiteral("146.125"));
        m_Doc->SetModifiedFlag(false);

        ChooseInPopup(selector, 0);
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(!m_Doc->IsModified());

        MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        selector->setFocus();
        QTest::keyClick(selector, Qt::Key_Down);
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QCOMPARE(MessageBox::Shown()[0].caption, std::string("Confirm"));
        QCOMPARE(MessageBox::Shown()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(selector->currentIndex(), 0);
        QCOMPARE(Cell(1, 1), QStringLiteral("146.12500"));
        QVERIFY(!m_Doc->IsModified());

        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        QTest::keyClick(selector, Qt::Key_Down);
        QCOMPARE(selector->currentIndex(), 1);
        QCOMPARE(m_Doc->FindModelLine(), 1);
        QVERIFY(m_Doc->Image().IsChannelEmpty(1));
        QVERIFY(Cell(1, 1).isEmpty());
        QVERIFY(m_Doc->IsModified());
        Enter(1, 1, QStringLiteral("146.125"));
        QCOMPARE(Cell(1, 1), QStringLiteral("400.00000"));
    }

    void ctrlShortcutsWorkInsideTheEditors() {
        std::vector<int> commands;
        auto* filter =
            new AcceleratorFilter(m_Window.get(), [&](int id) { commands.push_back(id); });
        qApp->installEventFilter(filter);
        ClickCell(1, 1);
        QTest::keyClicks(FrequencyEditor(), QStringLiteral("146"));
        QTest::keyClick(FrequencyEditor(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(FrequencyEditor(), Qt::Key_N, Qt::ControlModifier);
        qApp->removeEventFilter(filter);
        QCOMPARE(commands, (std::vector<int>{kCommandSave, kCommandNew}));
        QCOMPARE(FrequencyEditor()->text(), QStringLiteral("146"));
    }
};

QTEST_MAIN(ChannelPageTest)
#include "channel_page_test.moc"
