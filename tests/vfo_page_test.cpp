// SPDX-License-Identifier: GPL-3.0-or-later
// The VFO page driven through its widgets: the two frequency boxes stored as receive
// frequency, shift and offset when one is left, and the lists bound to their record bits.
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "codeplug/document.h"
#include "common/dialog_builder.h"
#include "config/app_globals.h"
#include "editors/vfo_page.h"
#include "resources/ids/vfo_page_ids.h"
#include "support/page_test_support.h"
#include "support/program_globals.h"
#include "support/quiet_prompts.h"
#include "support/temp_folder.h"

namespace {

// The three-band line of the shipped settings: 136-174, 220-260 and 400-519.995 MHz.
constexpr int kThreeBandLine = 3;

const std::string kLanguage =
    "[String]\nIDS_OFF=Off\nIDS_ON=On\nIDS_LOW=Low\nIDS_HIGH=High\n"
    "IDS_WIDE=Wide\nIDS_NARROW=Narrow\nIDS_MIDDLE=Middle\n"
    "[Step]\n0=2.5\n1=5\n2=6.25\n3=10\n4=12.5\n5=25\n";

struct VfoBoxes {
    int record;
    size_t offset;
    int receiveId, transmitId;
};

constexpr VfoBoxes kF1 = {kVfoF1, 0x0830, kVfoF1ReceiveId, kVfoF1TransmitId};
constexpr VfoBoxes kF2 = {kVfoF2, 0x0820, kVfoF2ReceiveId, kVfoF2TransmitId};

// Both VFO records, F2 first as they lie in the image.
QByteArray VfoBytes(const CHalvexDoc& document) {
    return QByteArray(reinterpret_cast<const char*>(document.Image().bytes.data() + 0x0820), 32);
}

QByteArray RecordBytes(const CHalvexDoc& document, size_t offset) {
    return QByteArray(reinterpret_cast<const char*>(document.Image().bytes.data() + offset), 16);
}

}  // namespace

class VfoPageTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetModuleDir(HALVEX_BIN_DIR); }

    void init() {
        m_Document = std::make_unique<CHalvexDoc>(m_Prompts, StartupDocumentSettings());
        m_Document->ChangeFrequencyRange(kThreeBandLine);
        m_Document->SetModifiedFlag(false);
        QCOMPARE(m_Document->GetFrequencyLimits().m_FreqMax, 51999500);
        m_Window = std::make_unique<QWidget>();
        m_Page = new CVfoPage(m_Window.get(), *m_Document);
        QVERIFY(ShowActive(m_Window.get()));
    }

    void cleanup() {
        m_Window.reset();
        m_Document.reset();
    }

    void newRecordsShowTheBandEdge() {
        QCOMPARE(Box(kVfoF1ReceiveId)->text(), QStringLiteral("136.00000"));
        QCOMPARE(Box(kVfoF1TransmitId)->text(), QStringLiteral("136.00000"));
        QCOMPARE(Box(kVfoF2ReceiveId)->text(), QStringLiteral("136.00000"));
        QCOMPARE(List(kVfoF1PowerId)->currentText(), QStringLiteral("High"));
        QCOMPARE(List(kVfoF1ReceiveToneId)->count(), 259);
    }

    void frequenciesAreStoredWhenABoxIsLeft_data() {
        QTest::addColumn<bool>("secondVfo");
        QTest::addColumn<QString>("receive");
        QTest::addColumn<QString>("transmit");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("shownReceive");
        QTest::addColumn<QString>("shownTransmit");
        QTest::newRow("shift 2") << false << "146.125"
                                 << "146.725"
                                 << QByteArray("00 25 61 14 00 00 06 00 00 00 00 0a 00 ff ff ff")
                                 << "146.12500"
                                 << "146.72500";
        QTest::newRow("shift 1, F2")
            << true << "438.5"
            << "430.9" << QByteArray("00 00 85 43 00 00 76 00 00 00 00 09 00 ff ff ff")
            << "438.50000"
            << "430.90000";
        QTest::newRow("transmit emptied")
            << false << "146.125"
            << "" << QByteArray("00 25 61 14 00 25 61 14 00 00 00 09 00 ff ff ff") << "146.12500"
            << "";
        QTest::newRow("equal frequencies")
            << true << "146.125"
            << "146.125" << QByteArray("00 25 61 14 00 00 00 00 00 00 00 08 00 ff ff ff")
            << "146.12500"
            << "146.12500";
        QTest::newRow("receive above the band")
            << false << "600"
            << "146.125" << QByteArray("00 95 99 51 00 70 38 37 00 00 00 09 00 ff ff ff")
            << "519.99500"
            << "146.12500";
        QTest::newRow("off the raster")
            << false << "146.123"
            << "146.7" << QByteArray("00 25 61 14 00 75 05 00 00 00 00 0a 00 ff ff ff")
            << "146.12500"
            << "146.70000";
    }
    void frequenciesAreStoredWhenABoxIsLeft() {
        QFETCH(bool, secondVfo);
        QFETCH(QString, receive);
        QFETCH(QString, transmit);
        QFETCH(QByteArray, record);
        QFETCH(QString, shownReceive);
        QFETCH(QString, shownTransmit);
        const VfoBoxes& vfo = secondVfo ? kF2 : kF1;
        const VfoBoxes& other = secondVfo ? kF1 : kF2;
        const QByteArray otherBefore = RecordBytes(*m_Document, other.offset);
        TypeInto(Box(vfo.receiveId), receive);
        TypeInto(Box(vfo.transmitId), transmit);
        QCOMPARE(Box(vfo.transmitId)->text(), transmit);
        List(kVfoF1PowerId)->setFocus();
        QCOMPARE(RecordBytes(*m_Document, vfo.offset).toHex(' '), record);
        QCOMPARE(RecordBytes(*m_Document, other.offset), otherBefore);
        QVERIFY(m_Document->IsModified());
        QCOMPARE(Box(vfo.receiveId)->text(), shownReceive);
        QCOMPARE(Box(vfo.transmitId)->text(), shownTransmit);
        m_Page->FillFromImage();
        QCOMPARE(Box(vfo.receiveId)->text(), shownReceive);
        QCOMPARE(Box(vfo.transmitId)->text(), shownTransmit);
    }

    // Tabbing through the boxes, or typing back what was shown, changes no byte and so must
    // not ask for a save at the end.
    void leavingABoxWithoutAChangeKeepsTheDocumentUnmodified() {
        m_Document->SetFrequencyText(kVfoF2, kDecodeSide, "438.50000");
        m_Document->SetFrequencyText(kVfoF2, kEncodeSide, "007.60000");
        m_Document->EditImage().SetShiftDirection(kVfoF2, kShiftMinus);
        m_Page->FillFromImage();
        const QByteArray before = RecordBytes(*m_Document, kF2.offset);
        for (int id : {kF1.receiveId, kF1.transmitId, kF2.receiveId, kF2.transmitId}) {
            Box(id)->setFocus();
        }
        List(kVfoF1PowerId)->setFocus();
        QVERIFY(!m_Document->IsModified());
        TypeInto(Box(kF2.transmitId), QStringLiteral("430.9"));
        List(kVfoF1PowerId)->setFocus();
        QCOMPARE(RecordBytes(*m_Document, kF2.offset), before);
        QVERIFY(!m_Document->IsModified());
        TypeInto(Box(kF2.transmitId), QStringLiteral("431"));
        List(kVfoF1PowerId)->setFocus();
        QVERIFY(m_Document->IsModified());
    }

    void leavingTheReceiveBoxStoresAndReshowsBoth() {
        m_Document->SetFrequencyText(kVfoF1, kDecodeSide, "146.12500");
        m_Document->SetFrequencyText(kVfoF1, kEncodeSide, "000.60000");
        m_Document->EditImage().SetShiftDirection(kVfoF1, kShiftPlus);
        m_Page->FillFromImage();
        QCOMPARE(Box(kVfoF1TransmitId)->text(), QStringLiteral("146.72500"));
        TypeInto(Box(kVfoF1ReceiveId), "146.1");
        QCOMPARE(RecordBytes(*m_Document, kF1.offset).left(4).toHex(' '),
                 QByteArray("00 25 61 14"));
        List(kVfoF1PowerId)->setFocus();
        QCOMPARE(RecordBytes(*m_Document, kF1.offset).left(8).toHex(' '),
                 QByteArray("00 00 61 14 00 25 06 00"));
        QCOMPARE(Box(kVfoF1ReceiveId)->text(), QStringLiteral("146.10000"));
        QCOMPARE(Box(kVfoF1TransmitId)->text(), QStringLiteral("146.72500"));
    }

    void listsWriteTheirFields_data() {
        QTest::addColumn<int>("controlId");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("after");
        // New records hold 00 in +8 and +12 and 08 (power high) in +11.
        QTest::newRow("F1 power low") << kVfoF1PowerId << 0 << 0x083B << 0x00;
        QTest::newRow("F1 BCL") << kVfoF1BclId << 1 << 0x083B << 0x18;
        QTest::newRow("F1 scan add") << kVfoF1ScanAddId << 1 << 0x083B << 0x48;
        QTest::newRow("F1 reverse") << kVfoF1ReverseId << 1 << 0x083B << 0x0C;
        QTest::newRow("F1 PTT-ID") << kVfoF1PttIdId << 1 << 0x083B << 0x88;
        QTest::newRow("F1 narrow") << kVfoF1BandwidthId << 1 << 0x083B << 0x28;
        QTest::newRow("F1 compander") << kVfoF1CompanderId << 1 << 0x0838 << 0x08;
        QTest::newRow("F1 step") << kVfoF1StepId << 5 << 0x083C << 0x05;
        QTest::newRow("F1 transmit tone") << kVfoF1TransmitToneId << 3 << 0x083A << 0x03;
        QTest::newRow("F2 power low") << kVfoF2PowerId << 0 << 0x082B << 0x00;
        QTest::newRow("F2 BCL") << kVfoF2BclId << 1 << 0x082B << 0x18;
        QTest::newRow("F2 scan add") << kVfoF2ScanAddId << 1 << 0x082B << 0x48;
        QTest::newRow("F2 reverse") << kVfoF2ReverseId << 1 << 0x082B << 0x0C;
        QTest::newRow("F2 PTT-ID") << kVfoF2PttIdId << 1 << 0x082B << 0x88;
        QTest::newRow("F2 middle") << kVfoF2BandwidthId << 2 << 0x0828 << 0x40;
        QTest::newRow("F2 compander") << kVfoF2CompanderId << 1 << 0x0828 << 0x08;
        QTest::newRow("F2 step") << kVfoF2StepId << 2 << 0x082C << 0x02;
        QTest::newRow("F2 receive tone") << kVfoF2ReceiveToneId << 50 << 0x0829 << 50;
    }
    void listsWriteTheirFields() {
        QFETCH(int, controlId);
        QFETCH(int, index);
        QFETCH(int, offset);
        QFETCH(int, after);
        QByteArray expected = VfoBytes(*m_Document);
        expected[offset - 0x0820] = static_cast<char>(after);
        ChooseWithKeys(List(controlId), index);
        QCOMPARE(VfoBytes(*m_Document).toHex(' '), expected.toHex(' '));
        QVERIFY(m_Document->IsModified());
    }

    void middleThenNarrowClearsTheMiddleBit() {
        ChooseWithKeys(List(kVfoF1BandwidthId), 2);
        QCOMPARE(m_Document->Image().bytes[0x0838], uint8_t{0x40});
        QCOMPARE(m_Document->Image().bytes[0x083B], uint8_t{0x08});
        ChooseWithKeys(List(kVfoF1BandwidthId), 1);
        QCOMPARE(m_Document->Image().bytes[0x0838], uint8_t{0x00});
        QCOMPARE(m_Document->Image().bytes[0x083B], uint8_t{0x28});
        // Middle read back wins over the narrow bit.
        ChooseWithKeys(List(kVfoF1BandwidthId), 2);
        m_Page->FillFromImage();
        QCOMPARE(List(kVfoF1BandwidthId)->currentText(), QStringLiteral("Middle"));
    }

    void invertedDcsToneSetsThePolarityBit() {
        ChooseWithKeys(List(kVfoF1ReceiveToneId), 155);
        QCOMPARE(List(kVfoF1ReceiveToneId)->currentText(), QStringLiteral("D023I"));
        QCOMPARE(m_Document->Image().bytes[0x0839], uint8_t{51});
        QCOMPARE(m_Document->Image().bytes[0x0838], uint8_t{0x10});
        QCOMPARE(m_Document->Image().bytes[0x083A], uint8_t{0x00});
        m_Page->FillFromImage();
        QCOMPARE(List(kVfoF1ReceiveToneId)->currentIndex(), 155);
        // The same code with normal polarity clears the bit again.
        ChooseWithKeys(List(kVfoF1ReceiveToneId), 51);
        QCOMPARE(m_Document->Image().bytes[0x0839], uint8_t{51});
        QCOMPARE(m_Document->Image().bytes[0x0838], uint8_t{0x00});
    }

    void stepsComeFromTheLanguageFile() {
        m_Document->EditImage().bytes[0x083C] = 7;
        m_Page->FillFromImage();
        QCOMPARE(List(kVfoF1StepId)->count(), 6);
        QCOMPARE(List(kVfoF1StepId)->currentText(), QStringLiteral("2.5"));
        halvex::test::TempFolder dir;
        halvex::test::UseLanguagePath language(
            dir.Write("nosteps.lang", "[String]\nIDS_OFF=Off\n"));
        m_Page->FillFromImage();
        QCOMPARE(List(kVfoF1StepId)->count(), 0);
        // Leaving a frequency box on the way counts as an edit; only the list is tested here.
        List(kVfoF1StepId)->setFocus();
        m_Document->SetModifiedFlag(false);
        QTest::keyClick(List(kVfoF1StepId), Qt::Key_Down);
        QCOMPARE(m_Document->Image().bytes[0x083C], uint8_t{7});
        QVERIFY(!m_Document->IsModified());
    }

private:
    QLineEdit* Box(int id) { return FindControl<QLineEdit>(m_Page, id); }
    QComboBox* List(int id) { return FindControl<QComboBox>(m_Page, id); }

    halvex::test::TempFolder m_Dir;
    halvex::test::UseLanguagePath m_Language{m_Dir.Write("test.lang", kLanguage)};
    halvex::test::QuietPrompts m_Prompts;
    std::unique_ptr<CHalvexDoc> m_Document;
    std::unique_ptr<QWidget> m_Window;
    CVfoPage* m_Page = nullptr;
};

QTEST_MAIN(VfoPageTest)
#include "vfo_page_test.moc"
