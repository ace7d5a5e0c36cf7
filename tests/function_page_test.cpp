// SPDX-License-Identifier: GPL-3.0-or-later
// The optional-functions page driven through its widgets: what it shows for the stored
// option bytes and which bits each change writes.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "codeplug/document.h"
#include "codeplug/radio_options.h"
#include "common/dialog_builder.h"
#include "config/app_globals.h"
#include "editors/difference_words.h"
#include "editors/function_options.h"
#include "editors/function_page.h"
#include "resources/ids/function_page_ids.h"
#include "support/page_test_support.h"
#include "support/program_globals.h"
#include "support/quiet_prompts.h"
#include "support/temp_folder.h"

namespace {

constexpr size_t kScanByte = 0x0D01;
constexpr size_t kModeByte = 0x0D02;
constexpr size_t kDisplayByte = 0x0D04;
constexpr size_t kSideToneByte = 0x0D05;

const std::string kLanguage =
    "[String]\nIDS_OFF=Off\n"
    "[Resource]\n1026=Squelch level\n"
    "[ScanType]\n0=Time\n1=Carrier\n2=Search\n"
    "[FreqMode]\n0=Channel\n1=Frequency\n"
    "[PttId]\n0=Off\n1=Begin\n2=End\n3=Both\n"
    "[RadiogramWorkMode]\n0=Preset\n1=Frequency\n"
    "[RadioWorkModeA]\n0=Channel\n1=Frequency\n"
    "[RadioWorkModeB]\n0=Channel\n1=Frequency\n"
    "[Voice]\n0=Chinese\n1=English\n"
    "[TxDtr]\n0=Selected\n1=A\n2=B\n3=Last busy\n"
    "[ChannelShowedF1]\n0=Frequency\n1=Number\n2=Name\n"
    "[ChannelShowedF2]\n0=Frequency\n1=Number\n2=Name\n";

// The defaults of a new document: 04 78 88 01 00 00 00 and no PTT-ID code.
void WriteOptionDefaults(CHalvexDoc& document) {
    const uint8_t defaults[] = {0x04, 0x78, 0x88, 0x01, 0x00, 0x00, 0x00};
    std::copy(std::begin(defaults), std::end(defaults),
              document.EditImage().bytes.begin() + 0x0D00);
}

QByteArray OptionBytes(const CHalvexDoc& document) {
    return QByteArray(reinterpret_cast<const char*>(document.Image().bytes.data() + 0x0D00), 7);
}

QByteArray CodeBytes(const CHalvexDoc& document) {
    return QByteArray(reinterpret_cast<const char*>(document.Image().bytes.data() + 0x0D20), 6);
}

}  // namespace

class FunctionPageTest : public QObject {
    Q_OBJECT
private slots:

    void init() {
        m_Document = std::make_unique<CHalvexDoc>(m_Prompts, StartupDocumentSettings());
        WriteOptionDefaults(*m_Document);
        m_Window = std::make_unique<QWidget>();
        m_Page = new CFunctionPage(m_Window.get(), *m_Document);
        QVERIFY(ShowActive(m_Window.get()));
    }

    void cleanup() {
        m_Window.reset();
        m_Document.reset();
    }

    void storedValuesShowByTheReadRules_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("controlId");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("text");
        QTest::newRow("squelch 0x0F") << 0x0D00 << 0x0F << kSquelchId << 0 << "0";
        QTest::newRow("squelch 9") << 0x0D00 << 0x09 << kSquelchId << 9 << "9";
        QTest::newRow("time limit 9") << 0x0D03 << 0x09 << kTxTimeLimitId << 0 << "Off";
        QTest::newRow("time limit 7") << 0x0D03 << 0x07 << kTxTimeLimitId << 7 << "7";
        QTest::newRow("scan mode 3") << 0x0D01 << 0x03 << kScanModeId << 2 << "Search";
        QTest::newRow("frequency mode bit 7")
            << 0x0D01 << 0x80 << kFrequencyModeId << 1 << "Frequency";
        QTest::newRow("F1 display 3") << 0x0D04 << 0x30 << kDisplayF1Id << 2 << "Name";
        QTest::newRow("F2 display 3") << 0x0D04 << 0xC0 << kDisplayF2Id << 2 << "Name";
        QTest::newRow("PTT-ID mode 3") << 0x0D02 << 0x03 << kPttIdModeId << 3 << "Both";
        QTest::newRow("voice selection") << 0x0D02 << 0x80 << kVoiceSelectId << 1 << "English";
        QTest::newRow("dual-watch transmit") << 0x0D04 << 0x02 << kDualWatchTxId << 2 << "B";
        QTest::newRow("VOX 0xFF") << 0x0D06 << 0xFF << kVoxLevelId << 0 << "0";
    }
    void storedValuesShowByTheReadRules() {
        QFETCH(int, offset);
        QFETCH(int, stored);
        QFETCH(int, controlId);
        QFETCH(int, shown);
        QFETCH(QString, text);
        m_Document->EditImage().bytes[static_cast<size_t>(offset)] = static_cast<uint8_t>(stored);
        m_Page->FillFromImage();
        auto* list = FindControl<QComboBox>(m_Page, controlId);
        QVERIFY(list != nullptr);
        QCOMPARE(list->currentIndex(), shown);
        QCOMPARE(list->currentText(), text);
    }

    void choicesWriteOnlyTheirBits_data() {
        QTest::addColumn<int>("controlId");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("after");
        QTest::newRow("frequency mode, others clear")
            << kFrequencyModeId << 0x0D01 << 0x00 << 1 << 0x80;
        QTest::newRow("frequency mode, others set")
            << kFrequencyModeId << 0x0D01 << 0x7F << 1 << 0xFF;
        QTest::newRow("frequency mode back to 0")
            << kFrequencyModeId << 0x0D01 << 0xFF << 0 << 0x7F;
        QTest::newRow("scan mode") << kScanModeId << 0x0D01 << 0xFC << 2 << 0xFE;
        QTest::newRow("PTT-ID mode") << kPttIdModeId << 0x0D02 << 0xFC << 3 << 0xFF;
        QTest::newRow("FM work mode") << kRadioWorkModeId << 0x0D02 << 0xEF << 1 << 0xFF;
        QTest::newRow("work mode A") << kWorkModeAId << 0x0D02 << 0x00 << 1 << 0x20;
        QTest::newRow("work mode B") << kWorkModeBId << 0x0D02 << 0x00 << 1 << 0x40;
        QTest::newRow("voice selection") << kVoiceSelectId << 0x0D02 << 0xFF << 0 << 0x7F;
        QTest::newRow("dual-watch transmit") << kDualWatchTxId << 0x0D04 << 0xFC << 1 << 0xFD;
        QTest::newRow("F1 display") << kDisplayF1Id << 0x0D04 << 0xCF << 1 << 0xDF;
        QTest::newRow("F2 display") << kDisplayF2Id << 0x0D04 << 0x3F << 2 << 0xBF;
        QTest::newRow("squelch") << kSquelchId << 0x0D00 << 0x04 << 7 << 0x07;
        QTest::newRow("time limit off") << kTxTimeLimitId << 0x0D03 << 0x01 << 0 << 0x00;
        QTest::newRow("VOX") << kVoxLevelId << 0x0D06 << 0x00 << 9 << 0x09;
    }
    void choicesWriteOnlyTheirBits() {
        QFETCH(int, controlId);
        QFETCH(int, offset);
        QFETCH(int, before);
        QFETCH(int, index);
        QFETCH(int, after);
        m_Document->EditImage().bytes[static_cast<size_t>(offset)] = static_cast<uint8_t>(before);
        m_Page->FillFromImage();
        QByteArray expected = OptionBytes(*m_Document);
        expected[offset - 0x0D00] = static_cast<char>(after);
        ChooseWithKeys(FindControl<QComboBox>(m_Page, controlId), index);
        QCOMPARE(OptionBytes(*m_Document).toHex(' '), expected.toHex(' '));
        QVERIFY(m_Document->IsModified());
    }

    void checkBoxesWriteTheirBits_data() {
        QTest::addColumn<int>("controlId");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("afterClick");
        QTest::addColumn<int>("afterSecondClick");
        QTest::newRow("beep off is bit 4 set")
            << kBeepId << 0x0D01 << 0x10 << false << 0x00 << 0x10;
        QTest::newRow("beep on is bit 4 clear")
            << kBeepId << 0x0D01 << 0xEF << true << 0xFF << 0xEF;
        QTest::newRow("side tone 0x80") << kSideToneId << 0x0D05 << 0x80 << true << 0x00 << 0x01;
        QTest::newRow("side tone off") << kSideToneId << 0x0D05 << 0x00 << false << 0x01 << 0x00;
        QTest::newRow("dual watch") << kDualWatchId << 0x0D01 << 0x00 << false << 0x04 << 0x00;
        QTest::newRow("end tone") << kEndToneId << 0x0D01 << 0xFF << true << 0xF7 << 0xFF;
        QTest::newRow("backlight") << kBacklightId << 0x0D01 << 0x00 << false << 0x20 << 0x00;
        QTest::newRow("power save") << kPowerSaveId << 0x0D01 << 0x00 << false << 0x40 << 0x00;
        QTest::newRow("FM radio") << kRadioFunctionId << 0x0D02 << 0x00 << false << 0x04 << 0x00;
        QTest::newRow("voice prompt") << kVoicePromptId << 0x0D02 << 0xFF << true << 0xF7 << 0xFF;
    }
    void checkBoxesWriteTheirBits() {
        QFETCH(int, controlId);
        QFETCH(int, offset);
        QFETCH(int, before);
        QFETCH(bool, shown);
        QFETCH(int, afterClick);
        QFETCH(int, afterSecondClick);
        const auto at = static_cast<size_t>(offset);
        m_Document->EditImage().bytes[at] = static_cast<uint8_t>(before);
        m_Page->FillFromImage();
        auto* box = FindControl<QCheckBox>(m_Page, controlId);
        QCOMPARE(box->isChecked(), shown);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(m_Document->Image().bytes[at], static_cast<uint8_t>(afterClick));
        QVERIFY(m_Document->IsModified());
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(box->isChecked(), shown);
        QCOMPARE(m_Document->Image().bytes[at], static_cast<uint8_t>(afterSecondClick));
    }

    // The difference list names an option by the label of the control that shows it.
    void everyOptionIsNamedByItsControl() {
        for (const RadioOptionDefinition& option : kRadioOptions) {
            for (int value : {1, 0}) {
                option.store(m_Document->EditImage(), value);
                m_Page->FillFromImage();
                auto* list = FindControl<QComboBox>(m_Page, OptionControlId(option));
                auto* box = FindControl<QCheckBox>(m_Page, OptionControlId(option));
                QVERIFY2(list != nullptr || box != nullptr, option.name);
                QCOMPARE(list != nullptr ? list->currentIndex() : int{box->isChecked()}, value);
            }
        }
    }

    void hiddenAniBoxShowsItsBit() {
        auto* box = FindControl<QCheckBox>(m_Page, kAniTxId);
        QVERIFY(box->isHidden());
        QVERIFY(!box->isEnabled());
        QVERIFY(!box->isChecked());
        m_Document->EditImage().bytes[kDisplayByte] = 0x08;
        m_Page->FillFromImage();
        QVERIFY(box->isChecked());
    }

    void pttIdCodeIsStoredWhenTheBoxIsLeft_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("refilled");
        QTest::newRow("lower case shown upper")
            << "12ab"
            << "12AB" << QByteArray("01 02 0a 0b ff ff") << "12AB";
        QTest::newRow("empty box") << ""
                                   << "" << QByteArray("ff ff ff ff ff ff") << "";
        // What the radio cannot store is refused while typing, never dropped when leaving.
        QTest::newRow("# refused") << "#1"
                                   << "1" << QByteArray("01 ff ff ff ff ff") << "1";
        QTest::newRow("* refused") << "12*3"
                                   << "123" << QByteArray("01 02 03 ff ff ff") << "123";
        QTest::newRow("other keys dropped") << "1e-x.2Z"
                                            << "12" << QByteArray("01 02 ff ff ff ff") << "12";
        QTest::newRow("six at most") << "1234567"
                                     << "123456" << QByteArray("01 02 03 04 05 06") << "123456";
    }
    void pttIdCodeIsStoredWhenTheBoxIsLeft() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, stored);
        QFETCH(QString, refilled);
        m_Document->EditImage().SetPttIdCode({9, 9, 9, 9, 9, 9});
        m_Page->FillFromImage();
        auto* edit = FindControl<QLineEdit>(m_Page, kPttIdCodeId);
        TypeInto(edit, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(CodeBytes(*m_Document).toHex(' '), QByteArray("09 09 09 09 09 09"));
        FindControl<QComboBox>(m_Page, kSquelchId)->setFocus();
        QCOMPARE(CodeBytes(*m_Document).toHex(' '), stored);
        QVERIFY(m_Document->IsModified());
        QCOMPARE(edit->text(), shown);
        m_Page->FillFromImage();
        QCOMPARE(edit->text(), refilled);
    }

    // The box's editing keys work; what a paste brings is filtered as typing is.
    void pttIdCodeTakesTheEditingKeys() {
        m_Document->EditImage().SetPttIdCode({9, 9, 9, 9, 9, 9});
        m_Page->FillFromImage();
        auto* edit = FindControl<QLineEdit>(m_Page, kPttIdCodeId);
        TypeInto(edit, "12ab");
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit->selectedText(), QStringLiteral("12AB"));
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12AB"));
        QApplication::clipboard()->setText(QStringLiteral("3#*d"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("3D3D3D"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("3D3D3D"));
        FindControl<QComboBox>(m_Page, kSquelchId)->setFocus();
        QCOMPARE(CodeBytes(*m_Document).toHex(' '), QByteArray("03 0d 03 0d 03 0d"));
    }

    void storedCodeShowsUpToItsFirstNonDigit() {
        m_Document->EditImage().SetPttIdCode({1, 14, 2, 3, 4, 5});
        m_Page->FillFromImage();
        QCOMPARE(FindControl<QLineEdit>(m_Page, kPttIdCodeId)->text(), QStringLiteral("1"));
    }

    void unchangedCodeLeavesTheDocumentUnmodified() {
        // Bytes after the shown digits that no digit stands for survive a visit of the box.
        m_Document->EditImage().SetPttIdCode({1, 2, 0xFF, 7, 0x55, 0xFF});
        m_Page->FillFromImage();
        auto* edit = FindControl<QLineEdit>(m_Page, kPttIdCodeId);
        auto* elsewhere = FindControl<QComboBox>(m_Page, kSquelchId);
        edit->setFocus();
        elsewhere->setFocus();
        QVERIFY(!m_Document->IsModified());
        QCOMPARE(CodeBytes(*m_Document).toHex(' '), QByteArray("01 02 ff 07 55 ff"));
        // Retyped the same is no edit either.
        TypeInto(edit, "12");
        elsewhere->setFocus();
        QVERIFY(!m_Document->IsModified());
        QCOMPARE(CodeBytes(*m_Document).toHex(' '), QByteArray("01 02 ff 07 55 ff"));
    }

    void missingOrShortListsLeaveTheFieldAlone() {
        halvex::test::TempFolder dir;
        halvex::test::UseLanguagePath language(
            dir.Write("short.lang",
                      "[String]\nIDS_OFF=Off\n[ScanType]\n0=Time\n1=Carrier\n"
                      "[TxDtr]\n1=A\n2=B\n"));
        m_Document->EditImage().bytes[kScanByte] = 0x02;
        m_Document->EditImage().bytes[kDisplayByte] = 0x01;
        m_Page->FillFromImage();
        auto* scan = FindControl<QComboBox>(m_Page, kScanModeId);
        auto* dualWatchTx = FindControl<QComboBox>(m_Page, kDualWatchTxId);
        auto* voice = FindControl<QComboBox>(m_Page, kVoiceSelectId);
        QCOMPARE(scan->count(), 2);
        QCOMPARE(scan->currentIndex(), -1);
        QCOMPARE(dualWatchTx->count(), 0);
        QCOMPARE(voice->count(), 0);
        dualWatchTx->setFocus();
        QTest::keyClick(dualWatchTx, Qt::Key_Down);
        QCOMPARE(m_Document->Image().bytes[kDisplayByte], uint8_t{0x01});
        QVERIFY(!m_Document->IsModified());
        // The generated lists do not depend on the language file.
        QCOMPARE(FindControl<QComboBox>(m_Page, kSquelchId)->count(), 10);
        QCOMPARE(FindControl<QComboBox>(m_Page, kTxTimeLimitId)->count(), 8);
    }

    void reloadTakesTheCurrentLanguage() {
        QCOMPARE(FindControl<QLabel>(m_Page, kSquelchId)->text(), QStringLiteral("Squelch level"));
        halvex::test::TempFolder dir;
        halvex::test::UseLanguagePath language(
            dir.Write("other.lang",
                      "[String]\nIDS_OFF=Aus\n[Resource]\n1026=Rauschsperre\n"
                      "[FreqMode]\n0=Kanal\n1=Frequenz\n"));
        m_Document->EditImage().bytes[0x0D03] = 0;
        m_Page->Reload();
        QCOMPARE(FindControl<QLabel>(m_Page, kSquelchId)->text(), QStringLiteral("Rauschsperre"));
        QCOMPARE(FindControl<QComboBox>(m_Page, kTxTimeLimitId)->currentText(),
                 QStringLiteral("Aus"));
        QCOMPARE(FindControl<QComboBox>(m_Page, kFrequencyModeId)->itemText(1),
                 QStringLiteral("Frequenz"));
    }

private:
    halvex::test::TempFolder m_Dir;
    halvex::test::UseLanguagePath m_Language{m_Dir.Write("test.lang", kLanguage)};
    halvex::test::QuietPrompts m_Prompts;
    std::unique_ptr<CHalvexDoc> m_Document;
    std::unique_ptr<QWidget> m_Window;
    CFunctionPage* m_Page = nullptr;
};

QTEST_MAIN(FunctionPageTest)
#include "function_page_test.moc"
