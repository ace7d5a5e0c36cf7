// The Read and Write dialog driven through its buttons against virtual radios on
// pseudo-terminals, with the program's own document, port and frame.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <array>

#include "app/language.h"
#include "codeplug/band_lines.h"
#include "link/link_commands.h"
#include "link/port_dialog.h"
#include "link/transfer_dialog.h"
#include "link_ui_fixture.h"
#include "resources/command_ids.h"
#include "sim/demo_memory.h"

namespace {

using Image = std::array<uint8_t, kImageSize>;

constexpr int kCloneStart = 0x0800;
constexpr int kMegahertz = 100000;
// Generous: a full exchange over a pseudo-terminal on a busy machine.
constexpr int kTransferTimeoutMs = 60000;

QString Lang(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

bool SameRange(const uint8_t* a, const uint8_t* b, int from, int to) {
    return std::equal(a + from, a + to, b + from);
}

// A memory whose band words are those of band line 1 (400-480 MHz) of the installed settings.
RadioMemory SecondBandMemory() {
    RadioMemory memory = DemoMemory();
    BandLineWords words = DecodeBandLineWords("0040004800000000");
    std::copy(words.bytes.begin(), words.bytes.end(),
              memory.begin() + static_cast<ptrdiff_t>(words.offset));
    return memory;
}

// The document's image as a transfer will send it: what PrepareImage makes of it.
Image PreparedImage(const CHalvexDoc& document) {
    RadioImage prepared = document;
    prepared.PrepareImage();
    return prepared.bytes;
}

QAbstractButton* Button(QWidget* dialog, int id) {
    return FindControl<QAbstractButton>(dialog, id);
}

QString MessageLine(QWidget* dialog) {
    return FindControl<QLabel>(dialog, kTransferMessageId)->text();
}

}  // namespace

class TransferDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_Fixture = std::make_unique<LinkUiFixture>("transfer-dialog"); }
    void cleanup() { m_Fixture.reset(); }

    void readReplacesTheCloneRangeAndRefreshesTheBand() {
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        RadioMemory memory = SecondBandMemory();
        std::fill(memory.begin(), memory.begin() + kCloneStart, 0x11);
        QVERIFY2(m_Fixture->AddRadio(1, {}, memory, &error), error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        QCOMPARE(document.GetFrequencyLimits().m_FreqMin, 136 * kMegahertz);
        // Never moved by the radio: it must come back from the document's own copy.
        std::fill(document.bytes.begin(), document.bytes.begin() + kCloneStart, 0x22);
        Image prepared = PreparedImage(document);

        CTransferDlg dialog(*m_Fixture->app, true);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), Lang("IDS_READDATA"));
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QVERIFY(!Button(&dialog, kIdOk)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kTransferTimeoutMs);

        QCOMPARE(dialog.result(), kTransferEnded);
        QVERIFY(SameRange(document.bytes.data(), prepared.data(), 0, kCloneStart));
        QVERIFY(SameRange(document.bytes.data(), memory.data(), kCloneStart, kImageSize));
        QCOMPARE(document.GetFrequencyLimits().m_FreqMin, 400 * kMegahertz);
        QVERIFY(!document.IsModified());
        QVERIFY(!m_Fixture->app->m_Port.IsOpen());
        QVERIFY(MessageBox::Shown().empty());
    }

    void failedBlockKeepsTheDocumentAndOkRetries_data() {
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("wrongAddress");
        QTest::addColumn<QString>("promptKey");
        QTest::addColumn<QString>("failureKey");
        QTest::newRow("read, answer cut short") << true << false << "IDS_PROMPT_READ"
                                                << "IDS_PROMPT_READFAIL";
        QTest::newRow("write, no acknowledgement") << false << false << "IDS_PROMPT_WRITE"
                                                   << "IDS_PROMPT_WRITEFAIL";
        QTest::newRow("read, block skipped") << true << true << "IDS_PROMPT_READ"
                                             << "IDS_PROMPT_READSKIPPED";
    }

    void failedBlockKeepsTheDocumentAndOkRetries() {
        QFETCH(bool, read);
        QFETCH(bool, wrongAddress);
        QFETCH(QString, promptKey);
        QFETCH(QString, failureKey);
        constexpr int kFailingBlock = 0x1000;
        std::string error;
        // Long waits for the failing block hold the progress of the blocks before it.
        QVERIFY2(m_Fixture->Start({{"readtime", 300}, {"writetime", 300}}, &error), error.c_str());
        VirtualRadioOptions options;
        options.faults.shortAnswerBlock = read && !wrongAddress ? kFailingBlock : -1;
        options.faults.shortAnswerTimes = read && !wrongAddress ? 3 : 0;
        options.faults.wrongAddressBlock = wrongAddress ? kFailingBlock : -1;
        options.faults.wrongAddressTimes = wrongAddress ? 3 : 0;
        options.faults.noAckBlock = read ? -1 : kFailingBlock;
        options.faults.noAckTimes = read ? 0 : 3;
        RadioMemory memory = PatternMemory(5);
        VirtualRadio* radio = m_Fixture->AddRadio(1, options, memory, &error);
        QVERIFY2(radio, error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        Image prepared = PreparedImage(document);

        CTransferDlg dialog(*m_Fixture->app, read);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        // A wrong address is answered at once, so nothing holds the progress there.
        if (!wrongAddress) {
            QString stalled = Lang(promptKey.toLatin1().constData()) + " 50%";
            QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), stalled, kTransferTimeoutMs);
            QCOMPARE(FindControl<QProgressBar>(&dialog, kTransferProgressId)->value(), 512);
        }
        QString failure =
            Lang(failureKey.toLatin1().constData()).replace("%d", "1").replace("%s", "0x1000");
        QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), failure, kTransferTimeoutMs);

        QVERIFY(dialog.isVisible());
        QVERIFY(Button(&dialog, kIdOk)->isEnabled());
        QVERIFY(!m_Fixture->app->m_Port.IsOpen());
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(document.bytes == prepared);

        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kTransferTimeoutMs);
        QVERIFY(MessageBox::Shown().empty());
        if (read) {
            QVERIFY(SameRange(document.bytes.data(), memory.data(), kCloneStart, kImageSize));
        } else {
            QVERIFY(document.bytes == prepared);
            QVERIFY(SameRange(radio->Memory().data(), prepared.data(), kCloneStart, kImageSize));
        }
    }

    void radioErrorsEndTheDialogWithTheirMessage_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("identificationLength");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QString>("messageKey");
        QTest::newRow("no answer") << true << 8 << false << "IDS_ERROR_PORTCONN";
        QTest::newRow("short identification") << false << 5 << false << "IDS_ERROR_TYPE";
        QTest::newRow("echoing cable, direct setting")
            << false << 8 << true << "IDS_ERROR_ECHOCABLE";
    }

    void radioErrorsEndTheDialogWithTheirMessage() {
        QFETCH(bool, silent);
        QFETCH(int, identificationLength);
        QFETCH(bool, echo);
        QFETCH(QString, messageKey);
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        VirtualRadioOptions options;
        options.echo = echo;
        options.faults.silent = silent;
        options.faults.identificationLength = identificationLength;
        QVERIFY2(m_Fixture->AddRadio(1, options, PatternMemory(2), &error), error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        Image prepared = PreparedImage(document);

        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        CTransferDlg dialog(*m_Fixture->app, true);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kTransferTimeoutMs);

        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        const ShownMessage& shown = MessageBox::Shown().front();
        QCOMPARE(QString::fromStdString(shown.text), Lang(messageKey.toLatin1().constData()));
        QCOMPARE(QString::fromStdString(shown.caption), Lang("IDS_ERROR"));
        QVERIFY(shown.icon == MessageIcon::Stop);
        QVERIFY(document.bytes == prepared);
        QVERIFY(!m_Fixture->app->m_Port.IsOpen());
    }

    void cancelDuringTheSearchStopsBeforeTheNextPorts_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("close box") << true;
    }

    void cancelDuringTheSearchStopsBeforeTheNextPorts() {
        QFETCH(bool, closeBox);
        constexpr int kLastSilentPort = 8;
        std::string error;
        QVERIFY2(m_Fixture->Start({{"searchcom", 1}}, &error), error.c_str());
        m_Fixture->dir.AddMissingPort(1);
        std::vector<VirtualRadio*> radios(kLastSilentPort + 1, nullptr);
        VirtualRadioOptions silent;
        silent.faults.silent = true;
        for (int n = 2; n <= kLastSilentPort; ++n) {
            radios[n] = m_Fixture->AddRadio(n, silent, PatternMemory(n), &error);
            QVERIFY2(radios[n], error.c_str());
        }
        CHalvexDoc& document = m_Fixture->app->Document();
        Image prepared = PreparedImage(document);

        CTransferDlg dialog(*m_Fixture->app, true);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), Lang("IDS_SEARCHCOMPORT") + "..",
                                  kTransferTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(m_Fixture->PortPane(), QString("COM2"), kTransferTimeoutMs);
        if (closeBox) {
            dialog.close();
        } else {
            QTest::mouseClick(Button(&dialog, kIdCancel), Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kTransferTimeoutMs);

        // The worker may have moved one port on before it saw the flag, never two.
        for (int n = 4; n <= kLastSilentPort; ++n) {
            QVERIFY2(radios[n]->ReceivedBytes().empty(), qPrintable(QString("COM%1").arg(n)));
        }
        QVERIFY(!m_Fixture->app->m_Port.IsOpen());
        QCOMPARE(m_Fixture->PortPane(), QString("COM1"));
        QCOMPARE(m_Fixture->StoredInt("com"), 1);
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(document.bytes == prepared);
    }

    void commandsOpenTheirDialogs_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("titleKey");
        QTest::newRow("Read") << kCommandReadRadio << "IDS_READDATA";
        QTest::newRow("Write") << kCommandWriteRadio << "IDS_WRITEDATA";
        QTest::newRow("Communication port") << kCommandPort << "";
    }

    void commandsOpenTheirDialogs() {
        QFETCH(int, command);
        QFETCH(QString, titleKey);
        QVERIFY(RegisterLinkCommands());
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        QString title = titleKey.isEmpty() ? QString::fromStdString(LoadResourceText(kPortTemplate))
                                           : Lang(titleKey.toLatin1().constData());
        QString shownTitle;
        QTimer::singleShot(0, [&shownTitle] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shownTitle = modal->windowTitle();
                modal->close();
            }
        });
        m_Fixture->app->MainFrame()->OnCommand(command);
        QCOMPARE(shownTitle, title);
    }

private:
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(TransferDialogTest)
#include "transfer_dialog_test.moc"
