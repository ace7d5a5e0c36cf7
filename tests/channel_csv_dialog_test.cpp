// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import Channels and Export Channels in the desktop program, offscreen: the report
// dialog shows every loss before anything changes, OK applies the import as one change that
// the channel table shows at once, and Cancel or a refused file changes nothing.
#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/document.h"
#include "editors/channel_commit.h"
#include "editors/channel_csv_dialog.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "support/shell_fixture.h"

namespace {

const std::string kCsv =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
    "1,SEA 01,146.960000,-,0.600000,Tone,103.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
    "3,AIR,121.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,5.0W,,,,,\r\n";

}  // namespace

class ChannelCsvDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        MessageBox::ClearShown();
        m_Shell.NewFolder();
        m_Shell.Folder().CopyFromBin({"setting.ini", "english.lang"});
        m_Shell.Folder().Write("list.csv", kCsv);
        QVERIFY(m_Shell.Start());
        CommitReceiveFrequency(m_Shell.App().Document(), 2, "150.000");
        m_Shell.App().Document().UpdateAllViews();
        m_Shell.App().Document().SetModifiedFlag(false);
        MessageBox::ClearShown();
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    // Import is always offered; Export only while a channel is in use.
    void menuOffersExportOnlyForUsedChannels_data() {
        QTest::addColumn<bool>("used");
        QTest::newRow("a channel in use") << true;
        QTest::newRow("an empty table") << false;
    }
    void menuOffersExportOnlyForUsedChannels() {
        QFETCH(bool, used);
        if (!used) {
            CommitReceiveFrequency(m_Shell.App().Document(), 2, "");
        }
        CMainFrame* frame = m_Shell.App().MainFrame();
        frame->UpdateCommandStates();
        QVERIFY(frame->MenuAction(kCommandImportChannels)->isEnabled());
        QCOMPARE(frame->MenuAction(kCommandImportChannels)->text(),
                 QStringLiteral("&Import Channels..."));
        QCOMPARE(frame->MenuAction(kCommandExportChannels)->isEnabled(), used);
        QCOMPARE(frame->IsCommandEnabled(kCommandExportChannels), used);
    }

    void reportComesFirstAndOkAppliesOneChange() {
        const auto before = m_Shell.App().Document().Image().bytes;
        QStringList report;
        QString summary;
        RunImport([&](CChannelImportDlg& dialog) {
            // Nothing is applied while the user reads the report.
            QVERIFY(m_Shell.App().Document().Image().bytes == before);
            QVERIFY(!m_Shell.App().Document().IsModified());
            FindControl<QRadioButton>(&dialog, kImportReplaceId)->click();
            report = ReportLines(dialog);
            dialog.accept();
        });
        QCOMPARE(report, QStringList({
                             "channel 2 is not in the file and was cleared",
                             "row 2, Name: \"SEA 01\" stored as \"SEA01\"",
                             "row 3, Frequency: 121.500000 MHz is outside the band "
                             "136.00000-173.99500 MHz, row skipped",
                         }));
        QVERIFY(m_Shell.App().Document().IsModified());
        // Replace chosen: channel 2, not in the file, is cleared.
        QCOMPARE(Cell(1, kColumnReceive), QStringLiteral("146.96000"));
        QCOMPARE(Cell(1, kColumnTransmit), QStringLiteral("146.36000"));
        QCOMPARE(Cell(1, kColumnEncode), QStringLiteral("103.5"));
        QCOMPARE(Cell(1, kColumnName), QStringLiteral("SEA01"));
        QCOMPARE(Cell(2, kColumnReceive), QString());
    }

    // Filling only empty channels is the first choice: Enter keeps every channel in use.
    void enterFillsOnlyEmptyChannels() {
        m_Shell.Folder().Write("list.csv",
                               kCsv + "2,NEW,160.000000,,0,,,,,,,,FM,5.00,,5.0W,,,,,\r\n");
        QStringList report;
        RunImport([&](CChannelImportDlg& dialog) {
            QVERIFY(FindControl<QRadioButton>(&dialog, kImportFillEmptyId)->isChecked());
            report = ReportLines(dialog);
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QVERIFY(!report.contains("channel 2 is not in the file and was cleared"));
        QVERIFY(report.contains("row 4, Location: channel 2 is in use, row skipped"));
        QCOMPARE(Cell(1, kColumnReceive), QStringLiteral("146.96000"));
        QCOMPARE(Cell(2, kColumnReceive), QStringLiteral("150.00000"));
    }

    // Another program's file without Power must not turn a low channel high.
    void rowOnAUsedChannelKeepsWhatTheFileHasNoColumnFor() {
        CommitChoice(m_Shell.App().Document(), 2, kColumnPower, 0);
        m_Shell.Folder().Write("list.csv", "Location,Frequency\r\n2,151.0\r\n");
        QStringList report;
        RunImport([&](CChannelImportDlg& dialog) {
            FindControl<QRadioButton>(&dialog, kImportReplaceId)->click();
            report = ReportLines(dialog);
            dialog.accept();
        });
        QCOMPARE(Cell(2, kColumnReceive), QStringLiteral("151.00000"));
        QCOMPARE(Cell(2, kColumnPower), QStringLiteral("Low"));
        QVERIFY(report.filter("new channels").isEmpty());
    }

    // Cancel in the report, or a file that is no CSV, leaves the document as it was.
    void cancelOrARefusedFileChangesNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("told");
        QTest::newRow("cancelled") << QString() << QString();
        QTest::newRow("quote never closed") << "Location,Name\r\n1,\"A\r\n"
                                            << "line 2: a quoted field is never closed";
    }
    void cancelOrARefusedFileChangesNothing() {
        QFETCH(QString, file);
        QFETCH(QString, told);
        const auto before = m_Shell.App().Document().Image().bytes;
        if (file.isEmpty()) {
            RunImport([](CChannelImportDlg& dialog) { dialog.reject(); });
            QVERIFY(MessageBox::Shown().empty());
        } else {
            m_Shell.Folder().Write("list.csv", file.toStdString());
            FileDialog::SetNextFileName(m_Shell.Folder().File("list.csv"));
            m_Shell.App().MainFrame()->OnCommand(kCommandImportChannels);
            QCOMPARE(MessageBox::Shown().size(), size_t(1));
            QCOMPARE(MessageBox::Shown()[0].icon, MessageIcon::Stop);
            QVERIFY(QString::fromStdString(MessageBox::Shown()[0].text).contains(told));
        }
        QVERIFY(m_Shell.App().Document().Image().bytes == before);
        QVERIFY(!m_Shell.App().Document().IsModified());
        QCOMPARE(Cell(1, kColumnReceive), QString());
    }

    void saveReportWritesEveryLine() {
        RunImport([&](CChannelImportDlg& dialog) {
            FindControl<QRadioButton>(&dialog, kImportReplaceId)->click();
            FileDialog::SetNextFileName(m_Shell.Folder().File("report"));
            FindControl<QPushButton>(&dialog, kImportSaveReportId)->click();
            dialog.reject();
        });
        QCOMPARE(m_Shell.Folder().Read("report.txt"),
                 std::string("channel 2 is not in the file and was cleared\n"
                             "row 2, Name: \"SEA 01\" stored as \"SEA01\"\n"
                             "row 3, Frequency: 121.500000 MHz is outside the band "
                             "136.00000-173.99500 MHz, row skipped\n"
                             "1 row imported, 3 changes reported.\n"));
    }

    void exportWritesTheFileAndNotesWhatItCannotHold() {
        CommitChoice(m_Shell.App().Document(), 2, kColumnBandwidth, 2);
        FileDialog::SetNextFileName(m_Shell.Folder().File("out.csv"));
        m_Shell.App().MainFrame()->OnCommand(kCommandExportChannels);
        QVERIFY(m_Shell.Folder().Read("out.csv").find("\r\n2,,150.000000,,0.000000,") !=
                std::string::npos);
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QVERIFY(MessageBox::Shown()[0].text.find("channel 2: middle bandwidth written as FM") !=
                std::string::npos);
    }

private:
    // Runs File > Import Channels on list.csv and hands the report dialog to act.
    void RunImport(const std::function<void(CChannelImportDlg&)>& act) {
        FileDialog::SetNextFileName(m_Shell.Folder().File("list.csv"));
        QVERIFY(m_Shell.RunWithDialog<CChannelImportDlg>(kCommandImportChannels, act));
    }

    static QStringList ReportLines(const CChannelImportDlg& dialog) {
        QStringList lines;
        for (int row = 0; row < dialog.ReportList()->count(); ++row) {
            lines.push_back(dialog.ReportList()->item(row)->text());
        }
        return lines;
    }

    QString Cell(int row, int column) const {
        return m_Shell.App().MainFrame()->findChild<CGridCtrl*>()->GetCellText(row, column);
    }

    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(ChannelCsvDialogTest)
#include "channel_csv_dialog_test.moc"
