// The port dialog over virtual radios on pseudo-terminals: which ports it offers, what OK
// stores and shows, and the hidden search switch.
#include <QCheckBox>
#include <QRadioButton>
#include <QtTest>

#include "link/port_dialog.h"
#include "link/serial_port.h"
#include "link_ui_fixture.h"

namespace {

QRadioButton* PortButton(QWidget* dialog, int n) {
    return FindControl<QRadioButton>(dialog, PortButtonId(n));
}

}  // namespace

class PortDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_Fixture = std::make_unique<LinkUiFixture>("port-dialog"); }
    void cleanup() { m_Fixture.reset(); }

    void portsThatCannotBeOpenedAreDisabled() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"com", 3}}, &error), error.c_str());
        QVERIFY2(m_Fixture->AddRadio(1, {}, PatternMemory(1), &error), error.c_str());
        m_Fixture->dir.AddMissingPort(2);
        QVERIFY2(m_Fixture->AddRadio(3, {}, PatternMemory(3), &error), error.c_str());
        CSerialPort otherProgram(m_Fixture->dir.PortsPath());
        QVERIFY2(otherProgram.Open(3, 9600, &error), error.c_str());
        // Left open by an earlier exchange: the dialog must not count it as taken.
        QVERIFY2(m_Fixture->app->m_Port.Open(1, 9600, &error), error.c_str());

        CPortDlg dialog(*m_Fixture->app);
        QVERIFY(!m_Fixture->app->m_Port.IsOpen());
        QVERIFY(PortButton(&dialog, 1)->isEnabled());
        QVERIFY(!PortButton(&dialog, 1)->isChecked());
        QVERIFY(!PortButton(&dialog, 2)->isEnabled());
        QVERIFY(!PortButton(&dialog, 3)->isEnabled());
        QVERIFY(PortButton(&dialog, 3)->isChecked());

        dialog.show();
        QTest::mouseClick(FindControl<QAbstractButton>(&dialog, kIdOk), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_Fixture->StoredInt("com"), 3);
        QCOMPARE(m_Fixture->PortPane(), QString("COM3"));
        QVERIFY(MessageBox::Shown().empty());
    }

    void okStoresTheChosenPortAndShowsTheStoredOne_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("expected");
        QTest::newRow("COM2 chosen over COM1") << 1 << 2 << 2;
        QTest::newRow("stored port kept") << 2 << 0 << 2;
        QTest::newRow("port found by a search, no choice") << 12 << 0 << 12;
    }

    void okStoresTheChosenPortAndShowsTheStoredOne() {
        QFETCH(int, stored);
        QFETCH(int, clicked);
        QFETCH(int, expected);
        std::string error;
        QVERIFY2(m_Fixture->Start({{"com", stored}}, &error), error.c_str());
        for (int n : {1, 2}) {
            QVERIFY2(m_Fixture->AddRadio(n, {}, PatternMemory(n), &error), error.c_str());
        }

        CPortDlg dialog(*m_Fixture->app);
        dialog.show();
        for (int n : {1, 2}) {
            QCOMPARE(PortButton(&dialog, n)->isChecked(), n == stored);
        }
        if (clicked != 0) {
            QTest::mouseClick(PortButton(&dialog, clicked), Qt::LeftButton);
        }
        QTest::mouseClick(FindControl<QAbstractButton>(&dialog, kIdOk), Qt::LeftButton);

        QCOMPARE(m_Fixture->StoredInt("com"), expected);
        QCOMPARE(m_Fixture->PortPane(), QString("COM%1").arg(expected));
    }

    void searchSwitchIsStoredAtOnceAndSurvivesCancel() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"searchcom", 1}}, &error), error.c_str());
        CPortDlg dialog(*m_Fixture->app);
        dialog.show();
        auto* search = FindControl<QCheckBox>(&dialog, kSearchCheckBoxId);
        QVERIFY(!search->isVisible());
        QVERIFY(search->isChecked());

        search->click();
        QCOMPARE(m_Fixture->StoredInt("searchcom"), 0);
        QTest::mouseClick(FindControl<QAbstractButton>(&dialog, kIdCancel), Qt::LeftButton);
        QCOMPARE(m_Fixture->StoredInt("searchcom"), 0);

        CPortDlg again(*m_Fixture->app);
        auto* searchAgain = FindControl<QCheckBox>(&again, kSearchCheckBoxId);
        QVERIFY(!searchAgain->isChecked());
        searchAgain->click();
        QCOMPARE(m_Fixture->StoredInt("searchcom"), 1);
    }

private:
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(PortDialogTest)
#include "port_dialog_test.moc"
