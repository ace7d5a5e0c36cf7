// SPDX-License-Identifier: GPL-3.0-or-later
// The Read and Write dialog driven through its buttons against virtual radios on
// pseudo-terminals, with the program's own document, port and frame.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "codeplug/band_lines.h"
#include "config/language.h"
#include "link/compare_dialog.h"
#include "link/port_dialog.h"
#include "link/transfer_dialog.h"
#include "resources/command_ids.h"
#include "sim/demo_memory.h"
#include "support/link_ui_fixture.h"
#include "support/next_modal.h"
#include "support/virtual_radio_fixture.h"

namespace {

using Image = std::array<uint8_t, kImageSize>;

constexpr int kCloneStart = 0x0800;
constexpr int kMegahertz = 100000;
// Generous: a full exchange over a pseudo-terminal on a busy machine.
constexpr int kTransferTimeoutMs = 60000;
// Where a test does not look at the result line, the dialog need not hold it for a reader.
constexpr int kQuickDoneLineMs = 50;

QString Lang(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

// The words of a doctor's text after its last placeholder, as they appear in every message.
QString DoctorWords(const char* key) {
    QString text = Lang(key);
    qsizetype mark = text.lastIndexOf(QRegularExpression("%\\d"));
    return mark < 0 ? text : text.mid(mark + 2);
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
    RadioImage prepared = document.Image();
    prepared.PrepareImage();
    return prepared.bytes;
}

QAbstractButton* Button(QWidget* dialog, int id) {
    return FindControl<QAbstractButton>(dialog, id);
}

QString MessageLine(QWidget* dialog) {
    return FindControl<QLabel>(dialog, kTransferMessageId)->text();
}

// A write of a document without any used channel asks first; these tests' writes are not such.
void GiveAChannel(CHalvexDoc& document) {
    document.SetFrequencyText(1, kDecodeSide, "146.52000");
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        files.push_back(entry.path());
    }
    return files;
}

}  // namespace

class TransferDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        MessageBox::SetUnattended(true);
        m_Fixture = std::make_unique<LinkUiFixture>("transfer-dialog");
    }
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
        std::fill(document.EditImage().bytes.begin(),
                  document.EditImage().bytes.begin() + kCloneStart, 0x22);
        Image prepared = PreparedImage(document);

        CTransferDlg dialog(m_Fixture->app->Features(), true);
        dialog.SetDoneLineMs(kQuickDoneLineMs);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), Lang("IDS_READDATA"));
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QVERIFY(!Button(&dialog, kIdOk)->isEnabled());
        QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                  kTransferTimeoutMs);

        QCOMPARE(dialog.result(), kTransferEnded);
        QVERIFY(SameRange(document.Image().bytes.data(), prepared.data(), 0, kCloneStart));
        QVERIFY(SameRange(document.Image().bytes.data(), memory.data(), kCloneStart, kImageSize));
        QCOMPARE(document.GetFrequencyLimits().m_FreqMin, 400 * kMegahertz);
        // The radio's data is no file's until saved: closing asks and Save asks for a name.
        QVERIFY(document.IsModified());
        QVERIFY(document.GetPathName().empty());
        QVERIFY(m_Fixture->app->MainFrame()->windowTitle().startsWith("Radio (COM1)* - "));
        // The edit before the read belongs to a document that is gone.
        QVERIFY(!document.CanUndo());
        QVERIFY(!m_Fixture->app->Port().IsOpen());
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
        GiveAChannel(document);
        Image prepared = PreparedImage(document);

        CTransferDlg dialog(m_Fixture->app->Features(), read);
        dialog.SetDoneLineMs(kQuickDoneLineMs);
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
        if (!read) {
            // What the radio holds now: the 128 blocks before the failing one.
            QString stopped = Lang("IDS_PROMPT_WRITESTOPPED");
            stopped.replace(stopped.indexOf("%d"), 2, "128");
            failure += "\n" + stopped.replace(stopped.indexOf("%d"), 2, "384");
        }
        QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), failure, kTransferTimeoutMs);

        QVERIFY(dialog.isVisible());
        QVERIFY(Button(&dialog, kIdOk)->isEnabled());
        QVERIFY(!m_Fixture->app->Port().IsOpen());
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(document.Image().bytes == prepared);

        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                  kTransferTimeoutMs);
        QVERIFY(MessageBox::Shown().empty());
        if (read) {
            QVERIFY(
                SameRange(document.Image().bytes.data(), memory.data(), kCloneStart, kImageSize));
        } else {
            QVERIFY(document.Image().bytes == prepared);
            QVERIFY(SameRange(radio->Memory().data(), prepared.data(), kCloneStart, kImageSize));
        }
    }

    void radioErrorsEndTheDialogWithTheirMessage_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("identificationLength");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QString>("messageKey");
        QTest::addColumn<QString>("doctorKey");
        // An echo cause asks to switch the cable type; the others only tell.
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("no answer") << true << 8 << false << "IDS_ERROR_PORTCONN"
                                   << "IDS_DOCTOR_SILENT" << false << false;
        QTest::newRow("short identification") << false << 5 << false << "IDS_ERROR_TYPE"
                                              << "IDS_DOCTOR_OTHERMODEL" << false << false;
        QTest::newRow("echoing cable, direct setting, switched")
            << false << 8 << true << "IDS_ERROR_ECHOCABLE"
            << "IDS_DOCTOR_OTHERANSWERED" << true << true;
        QTest::newRow("echoing cable, direct setting, kept")
            << false << 8 << true << "IDS_ERROR_ECHOCABLE"
            << "IDS_DOCTOR_OTHERANSWERED" << true << false;
    }

    void radioErrorsEndTheDialogWithTheirMessage() {
        QFETCH(bool, silent);
        QFETCH(int, identificationLength);
        QFETCH(bool, echo);
        QFETCH(QString, messageKey);
        QFETCH(QString, doctorKey);
        QFETCH(bool, asks);
        QFETCH(bool, answerYes);
        std::string error;
        QVERIFY2(m_Fixture->Start({{"rwtype", 1}}, &error), error.c_str());
        VirtualRadioOptions options;
        options.echo = echo;
        options.faults.silent = silent;
        options.faults.identificationLength = identificationLength;
        QVERIFY2(m_Fixture->AddRadio(1, options, PatternMemory(2), &error), error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        Image prepared = PreparedImage(document);

        MessageBox::SetNextAnswer(!asks       ? MessageAnswer::Ok
                                  : answerYes ? MessageAnswer::Yes
                                              : MessageAnswer::No);
        CTransferDlg dialog(m_Fixture->app->Features(), true);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                  kTransferTimeoutMs);

        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        const ShownMessage& shown = MessageBox::Shown().front();
        QString text = QString::fromStdString(shown.text);
        QVERIFY2(text.startsWith(Lang(messageKey.toLatin1().constData()) + "\n\n"),
                 qPrintable(text));
        QVERIFY2(text.contains(DoctorWords(doctorKey.toLatin1().constData())), qPrintable(text));
        QCOMPARE(QString::fromStdString(shown.caption), Lang("IDS_ERROR"));
        QVERIFY(shown.icon == (asks ? MessageIcon::Question : MessageIcon::Stop));
        QVERIFY(shown.buttons == (asks ? MessageButtons::YesNo : MessageButtons::Ok));
        QCOMPARE(m_Fixture->StoredInt("rwtype"), asks && answerYes ? 2 : 1);
        QVERIFY(document.Image().bytes == prepared);
        QVERIFY(!m_Fixture->app->Port().IsOpen());
    }

    // A radio the search found on another port than the configured one: the done line and the
    // status bar say which port answered, and that port is kept as the one in use.
    void searchSaysWhichPortAnswered_data() {
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("verify");
        QTest::newRow("read") << true << 0;
        QTest::newRow("write") << false << 0;
        QTest::newRow("checked write") << false << 1;
    }

    void searchSaysWhichPortAnswered() {
        QFETCH(bool, read);
        QFETCH(int, verify);
        std::string error;
        QVERIFY2(m_Fixture->Start({{"searchcom", 1}, {"verifywrite", verify}}, &error),
                 error.c_str());
        m_Fixture->dir.AddMissingPort(1);
        m_Fixture->dir.AddMissingPort(2);
        VirtualRadio* radio = m_Fixture->AddRadio(3, {}, PatternMemory(3), &error);
        QVERIFY2(radio, error.c_str());
        GiveAChannel(m_Fixture->app->Document());
        CTransferDlg dialog(m_Fixture->app->Features(), read);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        const QString answered = Lang("IDS_PORT_ANSWERED").replace("%d", "3");
        const QString done = Lang(read ? "IDS_READ_DONE" : "IDS_WRITE_DONE") + "\n" + answered;
        QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), done, kTransferTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kTransferTimeoutMs);
        QCOMPARE(m_Fixture->app->MainFrame()->StatusNoteText(), answered);
        QCOMPARE(m_Fixture->StoredInt("com"), 3);
        QCOMPARE(m_Fixture->PortPane(), QString("COM3"));
        if (!read) {
            Image sent = PreparedImage(m_Fixture->app->Document());
            RadioMemory memory = radio->Memory();
            QVERIFY(SameRange(memory.data(), sent.data(), kCloneStart, kImageSize));
        }
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

        CTransferDlg dialog(m_Fixture->app->Features(), true);
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
        QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                  kTransferTimeoutMs);

        // The worker may have moved one port on before it saw the flag, never two.
        for (int n = 4; n <= kLastSilentPort; ++n) {
            QVERIFY2(radios[n]->ReceivedBytes().empty(), qPrintable(QString("COM%1").arg(n)));
        }
        QVERIFY(!m_Fixture->app->Port().IsOpen());
        QCOMPARE(m_Fixture->PortPane(), QString("COM1"));
        QCOMPARE(m_Fixture->StoredInt("com"), 1);
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(document.Image().bytes == prepared);
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
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        QString title = titleKey.isEmpty() ? QString::fromStdString(LoadResourceText(kPortTemplate))
                                           : Lang(titleKey.toLatin1().constData());
        QString shownTitle;
        halvex::test::NextModal<> dialog([&shownTitle](QWidget& modal) {
            shownTitle = modal.windowTitle();
            modal.close();
        });
        m_Fixture->app->MainFrame()->OnCommand(command);
        QVERIFY(dialog.Shown());
        QCOMPARE(shownTitle, title);
    }

    void readOverUnsavedEditsAsksFirst() {
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        VirtualRadio* radio = m_Fixture->AddRadio(1, {}, PatternMemory(12), &error);
        QVERIFY2(radio, error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        GiveAChannel(document);
        document.SetModifiedFlag();
        Image edited = document.Image().bytes;

        MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        m_Fixture->app->MainFrame()->OnCommand(kCommandReadRadio);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QVERIFY(MessageBox::Shown().front().buttons == MessageButtons::YesNoCancel);
        QVERIFY(document.Image().bytes == edited);
        QVERIFY(document.IsModified());
        QVERIFY(radio->ReceivedBytes().empty());

        // Discarding the edits goes on to the read dialog.
        QString shownTitle;
        halvex::test::NextModal<> dialog([&shownTitle](QWidget& modal) {
            shownTitle = modal.windowTitle();
            modal.close();
        });
        MessageBox::SetNextAnswer(MessageAnswer::No);
        m_Fixture->app->MainFrame()->OnCommand(kCommandReadRadio);
        QVERIFY(dialog.Shown());
        QCOMPARE(shownTitle, Lang("IDS_READDATA"));
    }

    void readKeepsABackupAndAFailedBackupOnlyWarns_data() {
        QTest::addColumn<bool>("folderUsable");
        QTest::newRow("backup kept") << true;
        QTest::newRow("backup folder blocked by a file") << false;
    }

    void readKeepsABackupAndAFailedBackupOnlyWarns() {
        QFETCH(bool, folderUsable);
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        RadioMemory memory = PatternMemory(13);
        QVERIFY2(m_Fixture->AddRadio(1, {}, memory, &error), error.c_str());
        std::filesystem::path state = std::filesystem::path(m_Fixture->dir.File("state"));
        if (!folderUsable) {
            std::ofstream(state) << "a file where the folder should be";
        }
        m_Fixture->app->SetBackupFolder((state / "halvex" / "backups").string());
        CHalvexDoc& document = m_Fixture->app->Document();

        CTransferDlg dialog(m_Fixture->app->Features(), true);
        dialog.SetDoneLineMs(kQuickDoneLineMs);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                  kTransferTimeoutMs);

        QCOMPARE(dialog.result(), kTransferEnded);
        QVERIFY(SameRange(document.Image().bytes.data(), memory.data(), kCloneStart, kImageSize));
        if (folderUsable) {
            QVERIFY(MessageBox::Shown().empty());
            std::vector<std::filesystem::path> backups = FilesIn(m_Fixture->app->BackupFolder());
            QCOMPARE(backups.size(), size_t{1});
            PgmFile backup;
            QCOMPARE(LoadPgmFile(backups.front().string(), &backup, &error), PgmLoadResult::Loaded);
            QVERIFY(backup.image == document.Image().bytes);
        } else {
            QCOMPARE(MessageBox::Shown().size(), size_t{1});
            QVERIFY(QString::fromStdString(MessageBox::Shown().front().text)
                        .startsWith(Lang("IDS_WARN_BACKUP")));
        }
    }

    void portThatIsNotACharacterDeviceIsNamedAndLeftAlone() {
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        std::filesystem::path plain = std::filesystem::path(m_Fixture->dir.File("plain-file"));
        std::ofstream(plain) << "kept";
        std::filesystem::create_symlink(plain, m_Fixture->dir.PortLink(1));
        CHalvexDoc& document = m_Fixture->app->Document();
        GiveAChannel(document);
        Image prepared = PreparedImage(document);

        CTransferDlg dialog(m_Fixture->app->Features(), false);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                  kTransferTimeoutMs);

        // One box: the doctor names the port and says what it is not.
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QString shown = QString::fromStdString(MessageBox::Shown().front().text);
        QVERIFY2(shown.startsWith(Lang("IDS_ERROR_PORTCONN")), qPrintable(shown));
        QVERIFY2(shown.contains(QString::fromStdString(m_Fixture->dir.PortLink(1))),
                 qPrintable(shown));
        QVERIFY2(shown.contains(DoctorWords("IDS_DOCTOR_NOTSERIAL")), qPrintable(shown));
        std::ifstream kept(plain);
        std::string contents((std::istreambuf_iterator<char>(kept)), {});
        QCOMPARE(contents, std::string("kept"));
        QVERIFY(document.Image().bytes == prepared);
    }

    void writeThatWouldEraseTheRadioAsksFirst() {
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        RadioMemory memory = PatternMemory(14);
        VirtualRadio* radio = m_Fixture->AddRadio(1, {}, memory, &error);
        QVERIFY2(radio, error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        Image before = document.Image().bytes;

        CTransferDlg dialog(m_Fixture->app->Features(), false);
        dialog.show();
        MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QCOMPARE(QString::fromStdString(MessageBox::Shown().front().text), Lang("IDS_WARN_ERASE"));
        QCOMPARE(MessageBox::Shown().front().caption, LoadLangString("IDS_CONFIRM"));
        QVERIFY(MessageBox::Shown().front().buttons == MessageButtons::OkCancel);
        QVERIFY(MessageBox::Shown().front().defaultAnswer == MessageAnswer::Cancel);
        QVERIFY(Button(&dialog, kIdOk)->isEnabled());
        QVERIFY(dialog.isVisible());
        // The port is free and nothing reached the radio before a byte sent now.
        std::optional<halvex::test::Bytes> sent =
            halvex::test::ReceivedBeforeMarker(*radio, radio->SlavePath());
        QVERIFY(sent && sent->empty());
        QVERIFY(radio->Memory() == memory);
        QVERIFY(document.Image().bytes == before);

        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        Image prepared = PreparedImage(document);
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        // Seen and spoken before the dialog closes by itself.
        QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), Lang("IDS_WRITE_DONE"), kTransferTimeoutMs);
        QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                  kTransferTimeoutMs);
        QVERIFY(SameRange(radio->Memory().data(), prepared.data(), kCloneStart, kImageSize));
        // Preparing the image for the radio is no step the user could undo.
        QVERIFY(document.Image().bytes != before);
        QVERIFY(!document.CanUndo());
    }

    // A write that has sent blocks stops only when the user says so, and then says how much
    // of the new data the radio holds.
    void cancelledWriteAsksAndSaysWhatTheRadioHolds_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("Cancel, then Yes to stop") << true;
        QTest::newRow("Cancel, then No: the write goes on") << false;
    }

    void cancelledWriteAsksAndSaysWhatTheRadioHolds() {
        QFETCH(bool, stop);
        std::string error;
        // A paced line answers later than the quick link's usual time-out.
        QVERIFY2(m_Fixture->Start({{"writetime", 300}}, &error), error.c_str());
        VirtualRadioOptions options;
        options.pace9600 = true;
        RadioMemory memory = PatternMemory(16);
        VirtualRadio* radio = m_Fixture->AddRadio(1, options, memory, &error);
        QVERIFY2(radio, error.c_str());
        GiveAChannel(m_Fixture->app->Document());
        Image prepared = PreparedImage(m_Fixture->app->Document());

        CTransferDlg dialog(m_Fixture->app->Features(), false);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QVERIFY(!FindControl<QCheckBox>(&dialog, kTransferVerifyId)->isEnabled());
        QProgressBar* bar = FindControl<QProgressBar>(&dialog, kTransferProgressId);
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 400, kTransferTimeoutMs);
        MessageBox::SetNextAnswer(stop ? MessageAnswer::Yes : MessageAnswer::No);
        QTest::mouseClick(Button(&dialog, kIdCancel), Qt::LeftButton);
        QCOMPARE(MessageBox::Shown().front().text, LoadLangString("IDS_ASK_STOPWRITE"));
        QVERIFY(MessageBox::Shown().front().defaultAnswer == MessageAnswer::No);
        if (!stop) {
            const int answered = bar->value();
            QTRY_VERIFY_WITH_TIMEOUT(bar->value() > answered + 50, kTransferTimeoutMs);
            QVERIFY(dialog.isVisible());
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(MessageBox::Shown().size(), size_t{2}, kTransferTimeoutMs);
        const std::string& told = MessageBox::Shown().back().text;
        QVERIFY2(told.starts_with("The write was stopped after ") &&
                     told.find(" of 384 blocks: the radio holds part") != std::string::npos,
                 told.c_str());
        QVERIFY(!dialog.isVisible());
        QVERIFY(radio->Memory() != memory);
        QVERIFY(!SameRange(radio->Memory().data(), prepared.data(), kCloneStart, kImageSize));
    }

    // Cancel in the wait after the last block, with the read-back on: the radio holds the
    // whole file, so the write is done and no read-back starts.
    void cancelAfterTheLastBlockFinishesTheWrite() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"verifywrite", 1}}, &error), error.c_str());
        RadioMemory memory = PatternMemory(17);
        VirtualRadio* radio = m_Fixture->AddRadio(1, {}, memory, &error);
        QVERIFY2(radio, error.c_str());
        GiveAChannel(m_Fixture->app->Document());
        Image prepared = PreparedImage(m_Fixture->app->Document());

        CTransferDlg dialog(m_Fixture->app->Features(), false);
        dialog.SetDoneLineMs(kQuickDoneLineMs);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QProgressBar* bar = FindControl<QProgressBar>(&dialog, kTransferProgressId);
        QTRY_COMPARE_WITH_TIMEOUT(bar->value(), bar->maximum(), kTransferTimeoutMs);
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        QTest::mouseClick(Button(&dialog, kIdCancel), Qt::LeftButton);
        QCOMPARE(MessageBox::Shown().front().text, LoadLangString("IDS_ASK_STOPWRITE"));
        QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), Lang("IDS_WRITE_DONE"), kTransferTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kTransferTimeoutMs);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QVERIFY(SameRange(radio->Memory().data(), prepared.data(), kCloneStart, kImageSize));
        QTRY_COMPARE(radio->ReceivedBytes().back(), uint8_t{0x62});
    }

    void checkedWriteReadsBackAndNamesWhatTheRadioDidNotKeep_data() {
        QTest::addColumn<int>("unstoredBlock");
        QTest::addColumn<int>("shortReadBlock");
        QTest::newRow("radio keeps everything") << -1 << -1;
        QTest::newRow("radio drops block 0x1230") << 0x1230 << -1;
        QTest::newRow("read-back cut short at 0x1230") << -1 << 0x1230;
    }

    void checkedWriteReadsBackAndNamesWhatTheRadioDidNotKeep() {
        QFETCH(int, unstoredBlock);
        QFETCH(int, shortReadBlock);
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        VirtualRadioOptions options;
        options.faults.unstoredBlock = unstoredBlock;
        options.faults.shortAnswerBlock = shortReadBlock;
        options.faults.shortAnswerTimes = 1 << 30;
        RadioMemory memory = PatternMemory(15);
        VirtualRadio* radio = m_Fixture->AddRadio(1, options, memory, &error);
        QVERIFY2(radio, error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        GiveAChannel(document);

        CTransferDlg dialog(m_Fixture->app->Features(), false);
        dialog.SetDoneLineMs(kQuickDoneLineMs);
        auto* verify = FindControl<QCheckBox>(&dialog, kTransferVerifyId);
        QVERIFY(!verify->isHidden());
        QVERIFY(!verify->isChecked());
        verify->click();
        QCOMPARE(m_Fixture->StoredInt("verifywrite"), 1);
        dialog.show();
        QTest::mouseClick(Button(&dialog, kIdOk), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog).left(Lang("IDS_PROMPT_VERIFY").size()),
                                  Lang("IDS_PROMPT_VERIFY"), kTransferTimeoutMs);
        if (shortReadBlock >= 0) {
            QTRY_COMPARE_WITH_TIMEOUT(MessageLine(&dialog), Lang("IDS_PROMPT_VERIFYUNREAD"),
                                      kTransferTimeoutMs);
            QVERIFY(dialog.isVisible());
            QVERIFY(Button(&dialog, kIdOk)->isEnabled());
        } else if (unstoredBlock < 0) {
            QTRY_VERIFY2_WITH_TIMEOUT(!dialog.isVisible(), qPrintable(MessageLine(&dialog)),
                                      kTransferTimeoutMs);
            QCOMPARE(dialog.result(), kTransferEnded);
        } else {
            QTRY_VERIFY2_WITH_TIMEOUT(
                MessageLine(&dialog).startsWith(Lang("IDS_PROMPT_VERIFYFAIL")),
                qPrintable(MessageLine(&dialog)), kTransferTimeoutMs);
            QVERIFY(MessageLine(&dialog).endsWith("1 block differs: 0x1230"));
            QVERIFY(dialog.isVisible());
            QVERIFY(Button(&dialog, kIdOk)->isEnabled());
        }
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(!m_Fixture->app->Port().IsOpen());

        // The box shows the stored setting and is not offered for a read.
        CTransferDlg nextWrite(m_Fixture->app->Features(), false);
        QVERIFY(FindControl<QCheckBox>(&nextWrite, kTransferVerifyId)->isChecked());
        CTransferDlg read(m_Fixture->app->Features(), true);
        QVERIFY(FindControl<QCheckBox>(&read, kTransferVerifyId)->isHidden());
    }

    void compareListsTheDifferencesAndLeavesTheDocument() {
        std::string error;
        QVERIFY2(m_Fixture->Start({}, &error), error.c_str());
        CHalvexDoc& document = m_Fixture->app->Document();
        GiveAChannel(document);
        document.EditImage().PrepareImage();
        RadioMemory memory;
        std::copy(document.Image().bytes.begin(), document.Image().bytes.end(), memory.begin());
        CHalvexDoc radioDocument(document);
        radioDocument.SetFrequencyText(1, kDecodeSide, "147.00000");
        radioDocument.EditImage().SetPowerHigh(1, !document.Image().GetPowerHigh(1));
        std::copy(radioDocument.Image().bytes.begin(), radioDocument.Image().bytes.end(),
                  memory.begin());
        VirtualRadio* radio = m_Fixture->AddRadio(1, {}, memory, &error);
        QVERIFY2(radio, error.c_str());
        document.SetModifiedFlag();
        Image before = document.Image().bytes;

        // Presses OK in the transfer dialog, then reads and closes the list it opens.
        QStringList listed;
        bool started = false;
        QTimer watcher;
        watcher.setInterval(20);
        QObject::connect(&watcher, &QTimer::timeout, [&listed, &watcher, &started] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!started && qobject_cast<CTransferDlg*>(modal) != nullptr) {
                started = true;
                QCOMPARE(modal->windowTitle(), Lang("IDS_COMPAREDATA"));
                QTest::mouseClick(Button(modal, kIdOk), Qt::LeftButton);
                return;
            }
            auto* results = qobject_cast<CCompareDlg*>(modal);
            if (results == nullptr) {
                return;
            }
            auto* list = FindControl<QListWidget>(results, kCompareListId);
            for (int row = 0; row < list->count(); ++row) {
                listed << list->item(row)->text();
            }
            watcher.stop();
            results->close();
        });
        watcher.start();
        m_Fixture->app->MainFrame()->OnCommand(kCommandCompareRadio);

        // A simplex channel's transmit frequency follows its receive frequency.
        QCOMPARE(listed,
                 QStringList({"Channel 1, RX Freq (MHz): 146.52000 → 147.00000",
                              "Channel 1, TX Freq (MHz): 146.52000 → 147.00000",
                              QString("Channel 1, Power: %1 → %2")
                                  .arg(document.Image().GetPowerHigh(1) ? "High" : "Low")
                                  .arg(document.Image().GetPowerHigh(1) ? "Low" : "High")}));
        QVERIFY(document.Image().bytes == before);
        QVERIFY(document.IsModified());
        QVERIFY(radio->Memory() == memory);
        QVERIFY(MessageBox::Shown().empty());
    }

private:
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(TransferDialogTest)
#include "transfer_dialog_test.moc"
