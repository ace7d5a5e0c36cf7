// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Programming Station against virtual radios: two cables, each radio confirmed with
// its row's button, written, checked and logged, the result shown per row; and closing while
// a paced radio is being written asks first, and abandons it only on Yes.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>

#include "app/dialog_builder.h"
#include "config/language.h"
#include "link_ui_fixture.h"
#include "resources/ids/station_ids.h"
#include "station/station_dialog.h"

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

private:
    using Image = std::array<uint8_t, kImageSize>;
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(StationDialogTest)
#include "station_dialog_test.moc"
