// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Programming Station against virtual radios: two cables, each radio confirmed with
// its row's button, written, checked and logged, the result shown per row; and closing while
// a paced radio is being written asks first, and abandons it only on Yes; a log that would
// overwrite the open document or the settings, a file that is no station log and a first PTT
// ID code that is no code are refused before any radio hears a byte.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "codeplug/ptt_id_code.h"
#include "common/dialog_builder.h"
#include "config/language.h"
#include "editors/channel_commit.h"
#include "resources/ids/station_ids.h"
#include "station/station_dialog.h"
#include "support/link_ui_fixture.h"

namespace {

using halvex::test::ReadBytes;

constexpr int kRadioTimeoutMs = 90000;

QString Lang(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

}  // namespace

class StationDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        MessageBox::SetUnattended(true);
        m_Fixture = std::make_unique<LinkUiFixture>("station-dialog");
        std::string error;
        QVERIFY2(m_Fixture->Start({{"readtime", 2000}, {"writetime", 2000}}, &error),
                 error.c_str());
    }
    void cleanup() { m_Fixture.reset(); }

    void eachConfirmedRadioIsWrittenCheckedAndShown() {
        std::string error;
        VirtualRadio* first = m_Fixture->AddRadio(3, {}, PatternMemory(3), &error);
        VirtualRadioOptions unstored;
        unstored.faults.unstoredBlock = 0x0D40;
        VirtualRadio* second = m_Fixture->AddRadio(4, unstored, PatternMemory(4), &error);
        QVERIFY2(first && second, error.c_str());
        CStationDlg dialog(m_Fixture->app->Features(), m_Fixture->app->MainFrame());
        dialog.show();
        std::string log = m_Fixture->dir.File("station.csv");
        FindControl<QLineEdit>(&dialog, kStationOtherEditId)
            ->setText(QString::fromStdString(m_Fixture->dir.PortLink(3) + " " +
                                             m_Fixture->dir.PortLink(4)));
        FindControl<QLineEdit>(&dialog, kStationLogEditId)->setText(QString::fromStdString(log));
        FindControl<QLineEdit>(&dialog, kStationCodeEditId)->setText("0101");
        FindControl<QAbstractButton>(&dialog, kStationStartId)->click();
        for (size_t cable : {0u, 1u}) {
            QTRY_VERIFY(dialog.NextButton(cable) && dialog.NextButton(cable)->isEnabled());
            // Laid out to fit: no path or state line is cut and nothing scrolls sideways.
            for (QLabel* label : {dialog.StateLabel(cable), dialog.ResultLabel(cable)}) {
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            }
            dialog.NextButton(cable)->click();
        }
        QVERIFY(dialog.maximumWidth() > dialog.minimumWidth());
        auto* area = dialog.findChild<QScrollArea*>();
        QVERIFY(area != nullptr);
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        for (QLabel* label : area->widget()->findChildren<QLabel*>()) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
        QTRY_COMPARE_WITH_TIMEOUT(dialog.ResultLabel(0)->text(), Lang("IDS_STATION_DONE"),
                                  kRadioTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.ResultLabel(1)->text(), Lang("IDS_STATION_FAILED"),
                                  kRadioTimeoutMs);
        // Each radio its own code, in its memory and in its line.
        RadioImage held;
        held.bytes = first->Memory();
        const QString firstCode = QString::fromStdString(PttIdCodeText(held.GetPttIdCode()));
        QVERIFY(firstCode == "0101" || firstCode == "0102");
        RadioImage sent;
        sent.bytes = m_Fixture->app->Features().document.Image().bytes;
        sent.SetPttIdCode(PttIdCodeFromText(firstCode.toStdString()));
        QVERIFY(
            std::equal(sent.bytes.begin() + 0x0800, sent.bytes.end(), held.bytes.begin() + 0x0800));
        std::string lines = ReadBytes(log);
        QCOMPARE(std::count(lines.begin(), lines.end(), '\n'), 3);
        QVERIFY2(lines.find(",verify-failed,1 block differs: 0x0D40,") != std::string::npos,
                 lines.c_str());
        QVERIFY2(lines.find(",0101\n") != std::string::npos, lines.c_str());
        QVERIFY2(lines.find(",0102\n") != std::string::npos, lines.c_str());
        // The list words each radio as the command line does, never as the log's CSV.
        auto* list = FindControl<QListWidget>(&dialog, kStationLogListId);
        const QString done = QString::fromStdString(m_Fixture->dir.PortLink(3)) +
                             ": radio %1 ok, PTT ID code " + firstCode + ": done, unplug";
        QVERIFY(!list->findItems(done.arg(firstCode.back()), Qt::MatchExactly).isEmpty());
        dialog.reject();
        QTRY_VERIFY(!dialog.isVisible());
        QVERIFY(MessageBox::Shown().empty());
    }

    // Checking only: each radio read and compared with the document, none written, the one
    // that holds the document green and the other red, both logged by what was found.
    void checkOnlyReadsEachRadioAndWritesNone() {
        CHalvexDoc& document = m_Fixture->app->Document();
        document.PrepareImageUnrecorded();
        RadioMemory same{};
        std::copy_n(document.Image().bytes.begin(), kImageSize, same.begin());
        std::string error;
        VirtualRadio* holding = m_Fixture->AddRadio(3, {}, same, &error);
        VirtualRadio* other = m_Fixture->AddRadio(4, {}, PatternMemory(4), &error);
        QVERIFY2(holding && other, error.c_str());
        const RadioMemory otherBefore = other->Memory();
        CStationDlg dialog(m_Fixture->app->Features(), m_Fixture->app->MainFrame());
        dialog.show();
        std::string log = m_Fixture->dir.File("check.csv");
        FindControl<QLineEdit>(&dialog, kStationOtherEditId)
            ->setText(QString::fromStdString(m_Fixture->dir.PortLink(3) + " " +
                                             m_Fixture->dir.PortLink(4)));
        FindControl<QLineEdit>(&dialog, kStationLogEditId)->setText(QString::fromStdString(log));
        FindControl<QCheckBox>(&dialog, kStationCheckOnlyId)->setChecked(true);
        QVERIFY(!FindControl<QCheckBox>(&dialog, kStationVerifyId)->isEnabled());
        FindControl<QAbstractButton>(&dialog, kStationStartId)->click();
        for (size_t cable : {0u, 1u}) {
            QTRY_VERIFY(dialog.NextButton(cable) && dialog.NextButton(cable)->isEnabled());
            dialog.NextButton(cable)->click();
        }
        for (size_t cable : {0u, 1u}) {
            QTRY_COMPARE_WITH_TIMEOUT(dialog.ResultLabel(cable)->text(),
                                      Lang("IDS_STATION_CHECKED"), kRadioTimeoutMs);
        }
        QVERIFY(dialog.ResultLabel(0)->styleSheet().contains("#1b7f2a"));
        QVERIFY(dialog.ResultLabel(1)->styleSheet().contains("#b3161b"));
        const std::string lines = ReadBytes(log);
        QVERIFY2(lines.find(",same,") != std::string::npos, lines.c_str());
        QVERIFY2(lines.find(",differs,") != std::string::npos, lines.c_str());
        QVERIFY(holding->Memory() == same);
        QVERIFY(other->Memory() == otherBefore);
        dialog.reject();
        QTRY_VERIFY(!dialog.isVisible());
    }

    // The radios get the open document; with unsaved changes the label and the log say so
    // instead of naming the file on disk.
    void labelAndLogNameWhatTheRadiosGet_data() {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("edited");
        // The language key of what the label names; none for the file's own path.
        QTest::addColumn<QString>("labelKey");
        QTest::newRow("untitled") << false << true << "IDS_STATION_UNTITLED";
        QTest::newRow("saved file") << true << false << "";
        QTest::newRow("file with unsaved edits") << true << true << "IDS_STATION_UNSAVED";
    }

    void labelAndLogNameWhatTheRadiosGet() {
        QFETCH(bool, saved);
        QFETCH(bool, edited);
        QFETCH(QString, labelKey);
        const QString label = labelKey.isEmpty() ? "%1" : Lang(qPrintable(labelKey));
        CHalvexDoc& document = m_Fixture->app->Document();
        const std::string path = m_Fixture->dir.File("t2.pgm");
        if (saved) {
            QVERIFY(document.OnSaveDocument(path));
        }
        if (edited) {
            CommitReceiveFrequency(document, 1, "150.125");
            document.SetModifiedFlag();
        }
        std::string error;
        VirtualRadio* radio = m_Fixture->AddRadio(3, {}, PatternMemory(3), &error);
        QVERIFY2(radio, error.c_str());
        CStationDlg dialog(m_Fixture->app->Features(), m_Fixture->app->MainFrame());
        dialog.show();
        const QString named = Lang("IDS_STATION_FILE").arg(label.arg(QString::fromStdString(path)));
        QCOMPARE(FindControl<QLabel>(&dialog, kStationFileId)->text(), named);
        FindControl<QLineEdit>(&dialog, kStationOtherEditId)
            ->setText(QString::fromStdString(m_Fixture->dir.PortLink(3)));
        FindControl<QLineEdit>(&dialog, kStationLogEditId)->clear();
        FindControl<QAbstractButton>(&dialog, kStationStartId)->click();
        QTRY_VERIFY(dialog.NextButton(0) && dialog.NextButton(0)->isEnabled());
        dialog.NextButton(0)->click();
        QTRY_COMPARE_WITH_TIMEOUT(dialog.ResultLabel(0)->text(), Lang("IDS_STATION_DONE"),
                                  kRadioTimeoutMs);
        auto* log = FindControl<QListWidget>(&dialog, kStationLogListId);
        QCOMPARE(log->count() > 0 && log->item(0)->text() == named, edited);
        RadioImage written;
        std::copy_n(radio->Memory().begin(), kImageSize, written.bytes.begin());
        QCOMPARE(written.GetFrequencyText(1, kDecodeSide),
                 document.Image().GetFrequencyText(1, kDecodeSide));
        dialog.reject();
        QTRY_VERIFY(!dialog.isVisible());
    }

    void closingWhileARadioIsWrittenAsksAndAbandonsItOnlyOnYes() {
        std::string error;
        VirtualRadioOptions paced;
        paced.pace9600 = true;
        VirtualRadio* radio = m_Fixture->AddRadio(3, paced, PatternMemory(3), &error);
        QVERIFY2(radio, error.c_str());
        CStationDlg dialog(m_Fixture->app->Features(), m_Fixture->app->MainFrame());
        dialog.show();
        std::string log = m_Fixture->dir.File("station.csv");
        FindControl<QLineEdit>(&dialog, kStationOtherEditId)
            ->setText(QString::fromStdString(m_Fixture->dir.PortLink(3)));
        FindControl<QLineEdit>(&dialog, kStationLogEditId)->setText(QString::fromStdString(log));
        FindControl<QAbstractButton>(&dialog, kStationStartId)->click();
        QTRY_VERIFY(dialog.NextButton(0) && dialog.NextButton(0)->isEnabled());
        dialog.NextButton(0)->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            dialog.StateLabel(0)->text().startsWith(Lang("IDS_STATION_WRITING").section('%', 0, 0)),
            kRadioTimeoutMs);
        MessageBox::SetNextAnswer(MessageAnswer::No);
        dialog.reject();
        QVERIFY(dialog.isVisible());
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QVERIFY(MessageBox::Shown().front().buttons == MessageButtons::YesNo);
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        dialog.reject();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kRadioTimeoutMs);
        std::string lines = ReadBytes(log);
        QVERIFY2(lines.find(",cancelled,") != std::string::npos, lines.c_str());
    }

    void aLogThatIsTheOpenDocumentOrTheSettingsIsRefused() {
        std::string error;
        VirtualRadio* radio = m_Fixture->AddRadio(3, {}, PatternMemory(3), &error);
        QVERIFY2(radio, error.c_str());
        const std::string documentPath = m_Fixture->dir.File("open.pgm");
        QVERIFY2(m_Fixture->app->Features().document.OnSaveDocument(documentPath, &error),
                 error.c_str());
        const std::string linked = m_Fixture->dir.File("linked.csv");
        std::filesystem::create_symlink(documentPath, linked);
        const std::string channels =
            m_Fixture->dir.Write("channels.csv", "Location,Name\n1,BASE\n");
        const struct {
            std::string logPath;
            QString firstCode;
            std::string says;
        } cases[] = {
            {documentPath, "", "which this command reads"},
            {linked, "", "which this command reads"},
            {m_Fixture->app->Features().settingsPath, "", "which this command reads"},
            {channels, "", "does not end in a radio's line"},
            {m_Fixture->dir.File("new.csv"), "12a", LoadLangString("IDS_STATION_CODE_BAD")},
        };
        for (const auto& c : cases) {
            const bool existed = std::filesystem::exists(c.logPath);
            const std::string before = ReadBytes(c.logPath);
            MessageBox::ClearShown();
            CStationDlg dialog(m_Fixture->app->Features(), m_Fixture->app->MainFrame());
            dialog.show();
            FindControl<QLineEdit>(&dialog, kStationOtherEditId)
                ->setText(QString::fromStdString(m_Fixture->dir.PortLink(3)));
            FindControl<QLineEdit>(&dialog, kStationLogEditId)
                ->setText(QString::fromStdString(c.logPath));
            FindControl<QLineEdit>(&dialog, kStationCodeEditId)->setText(c.firstCode);
            FindControl<QAbstractButton>(&dialog, kStationStartId)->click();
            QCOMPARE(MessageBox::Shown().size(), size_t{1});
            const std::string& said = MessageBox::Shown().front().text;
            QVERIFY2(said.find(c.says) != std::string::npos, said.c_str());
            QCOMPARE(std::filesystem::exists(c.logPath), existed);
            QCOMPARE(ReadBytes(c.logPath), before);
            QVERIFY(dialog.NextButton(0) == nullptr);
            QVERIFY(radio->ReceivedBytes().empty());
        }
    }

private:
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(StationDialogTest)
#include "station_dialog_test.moc"
