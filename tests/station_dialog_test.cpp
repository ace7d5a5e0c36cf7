// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Programming Station against virtual radios: two cables, each radio confirmed with
// its row's button, written, checked and logged, the result shown per row; and closing while
// a paced radio is being written asks first, and abandons it only on Yes; a log that would
// overwrite the open document or the settings is refused before any radio hears a byte.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "config/language.h"
#include "editors/channel_commit.h"
#include "link_ui_fixture.h"
#include "resources/ids/station_ids.h"
#include "station/station_dialog.h"
#include "support/dialog_builder.h"

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
        const Image sent = m_Fixture->app->Features().document.bytes;
        RadioMemory written = first->Memory();
        QVERIFY(std::equal(sent.begin() + 0x0800, sent.end(), written.begin() + 0x0800));
        std::string lines = ReadBytes(log);
        QCOMPARE(std::count(lines.begin(), lines.end(), '\n'), 2);
        QVERIFY2(lines.find(",verify-failed,1 block differs: 0x0D40,") != std::string::npos,
                 lines.c_str());
        dialog.reject();
        QTRY_VERIFY(!dialog.isVisible());
        QVERIFY(MessageBox::Shown().empty());
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
                 document.GetFrequencyText(1, kDecodeSide));
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
        for (const std::string& logPath :
             {documentPath, linked, m_Fixture->app->Features().settingsPath}) {
            const std::string before = ReadBytes(logPath);
            MessageBox::ClearShown();
            CStationDlg dialog(m_Fixture->app->Features(), m_Fixture->app->MainFrame());
            dialog.show();
            FindControl<QLineEdit>(&dialog, kStationOtherEditId)
                ->setText(QString::fromStdString(m_Fixture->dir.PortLink(3)));
            FindControl<QLineEdit>(&dialog, kStationLogEditId)
                ->setText(QString::fromStdString(logPath));
            FindControl<QAbstractButton>(&dialog, kStationStartId)->click();
            QCOMPARE(MessageBox::Shown().size(), size_t{1});
            const std::string& said = MessageBox::Shown().front().text;
            QVERIFY2(said.find("which this command reads") != std::string::npos, said.c_str());
            QCOMPARE(ReadBytes(logPath), before);
            QVERIFY(dialog.NextButton(0) == nullptr);
            QVERIFY(radio->ReceivedBytes().empty());
        }
    }

private:
    using Image = std::array<uint8_t, kImageSize>;
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(StationDialogTest)
#include "station_dialog_test.moc"
