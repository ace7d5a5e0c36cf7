// SPDX-License-Identifier: GPL-3.0-or-later
// The port dialog over virtual radios on pseudo-terminals: which ports it offers, what OK
// stores and shows, and the hidden search switch.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QtTest>

#include "link/port_dialog.h"
#include "link/serial_port.h"
#include "link/transfer_dialog.h"
#include "resources/command_ids.h"
#include "support/fake_device_tree.h"
#include "support/link_ui_fixture.h"

namespace {

using halvex::test::FakeDeviceTree;

QRadioButton* PortButton(QWidget* dialog, int n) {
    return FindControl<QRadioButton>(dialog, PortButtonId(n));
}

QListWidget* DeviceList(QWidget* dialog) {
    return FindControl<QListWidget>(dialog, kPortDeviceListId);
}

QString LabelText(QWidget* dialog, int id) {
    return FindControl<QLabel>(dialog, id)->text();
}

QStringList Entries(QWidget* dialog) {
    QStringList entries;
    for (int row = 0; row < DeviceList(dialog)->count(); ++row) {
        entries << DeviceList(dialog)->item(row)->text();
    }
    return entries;
}

void ClickEntry(QWidget* dialog, int row) {
    QListWidget* list = DeviceList(dialog);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void ClickOk(QWidget* dialog) {
    QTest::mouseClick(FindControl<QAbstractButton>(dialog, kIdOk), Qt::LeftButton);
}

bool AnyPortChecked(QWidget* dialog) {
    for (int n = 1; n <= kPortButtonCount; ++n) {
        if (PortButton(dialog, n)->isChecked()) {
            return true;
        }
    }
    return false;
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
        QVERIFY2(m_Fixture->app->Port().Open(1, 9600, &error), error.c_str());

        CPortDlg dialog(m_Fixture->app->Features());
        QVERIFY(!m_Fixture->app->Port().IsOpen());
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

        CPortDlg dialog(m_Fixture->app->Features());
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
        CPortDlg dialog(m_Fixture->app->Features());
        dialog.show();
        auto* search = FindControl<QCheckBox>(&dialog, kSearchCheckBoxId);
        QVERIFY(!search->isVisible());
        QVERIFY(search->isChecked());

        search->click();
        QCOMPARE(m_Fixture->StoredInt("searchcom"), 0);
        QTest::mouseClick(FindControl<QAbstractButton>(&dialog, kIdCancel), Qt::LeftButton);
        QCOMPARE(m_Fixture->StoredInt("searchcom"), 0);

        CPortDlg again(m_Fixture->app->Features());
        auto* searchAgain = FindControl<QCheckBox>(&again, kSearchCheckBoxId);
        QVERIFY(!searchAgain->isChecked());
        searchAgain->click();
        QCOMPARE(m_Fixture->StoredInt("searchcom"), 1);
    }

    void eachPortShowsItsDeviceAndTheDevicesFoundAreListed() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"com", 2}}, &error), error.c_str());
        m_Fixture->dir.AddMissingPort(1);
        QVERIFY2(m_Fixture->AddRadio(2, {}, PatternMemory(2), &error), error.c_str());
        FakeDeviceTree tree;
        tree.AddUsbAdapter({"ttyUSB0", "ch341", "1a86", "7523", "", "", ""});
        tree.AddUsbAdapter({"ttyACM0", "cdc_acm", "2e8a", "000a", "Maker", "Pico", ""});
        tree.AddBuiltInPort("ttyS1", 0);
        m_Fixture->app->SetDeviceRoots(tree.Roots());

        CPortDlg dialog(m_Fixture->app->Features());
        dialog.show();
        QCOMPARE(LabelText(&dialog, PortMappingId(1)),
                 QString::fromStdString(m_Fixture->dir.File("no-such-device")) + " (not present)");
        QString pty = QFileInfo(QString::fromStdString(m_Fixture->dir.PortLink(2))).symLinkTarget();
        QVERIFY(pty.startsWith("/dev/pts/"));
        QCOMPARE(LabelText(&dialog, PortMappingId(2)), pty + " (present)");
        QCOMPARE(Entries(&dialog),
                 QStringList({"ttyUSB0 \u2014 CH340 serial adapter (1a86:7523, ch341)",
                              "ttyACM0 \u2014 Maker Pico (2e8a:000a, cdc_acm)"}));
        QVERIFY(DeviceList(&dialog)->selectedItems().isEmpty());
        QVERIFY(PortButton(&dialog, 2)->isChecked());
        QCOMPARE(LabelText(&dialog, kPortInUseId),
                 "In use: COM2 (" + QString::fromStdString(m_Fixture->dir.PortLink(2)) + ")");

        // Plugged in while the dialog is open: no button to press.
        tree.AddUsbAdapter({"ttyUSB1", "pl2303", "067b", "2303", "", "", ""});
        QTRY_COMPARE(Entries(&dialog).size(), 3);
        QVERIFY(Entries(&dialog).at(1).startsWith("ttyUSB1 \u2014 PL2303"));

        FakeDeviceTree empty;
        m_Fixture->app->SetDeviceRoots(empty.Roots());
        dialog.RefreshDevices();
        QCOMPARE(Entries(&dialog), QStringList({"No serial devices found. Plug in the cable: it "
                                                "shows here at once."}));
        ClickEntry(&dialog, 0);
        ClickOk(&dialog);
        QCOMPARE(m_Fixture->StoredText("device"), std::string());
        QCOMPARE(m_Fixture->StoredInt("com"), 2);
    }

    // The list follows the cables while the dialog is open, with nothing pressed: each step
    // changes the device tree as plugging in or pulling a cable does.
    void theListFollowsCablesPluggedInAndPulled() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"com", 1}}, &error), error.c_str());
        FakeDeviceTree tree;
        tree.AddUsbAdapter({"ttyUSB0", "ch341", "1a86", "7523", "", "", ""});
        m_Fixture->app->SetDeviceRoots(tree.Roots());
        CPortDlg dialog(m_Fixture->app->Features());
        dialog.show();
        const QString ch340 =
            QStringLiteral("ttyUSB0 \u2014 CH340 serial adapter (1a86:7523, ch341)");
        const QString pl2303 =
            QStringLiteral("ttyUSB1 \u2014 PL2303 serial adapter (067b:2303, pl2303)");
        tree.AddUsbAdapter({"ttyUSB1", "pl2303", "067b", "2303", "", "", ""});
        QTRY_COMPARE_WITH_TIMEOUT(Entries(&dialog), (QStringList{ch340, pl2303}), 10000);
        const std::string stable = tree.AddStableName("usb-1a86_USB_Serial-if00-port0", "ttyUSB0");
        QTRY_COMPARE(DeviceList(&dialog)->item(0)->toolTip(), QString::fromStdString(stable));
        ClickEntry(&dialog, 0);
        tree.RemoveNode("ttyUSB0");
        std::filesystem::remove(stable);
        // A chosen cable that went stays, named as absent.
        const QString absent = QString::fromStdString(stable) + " (not present)";
        QTRY_COMPARE_WITH_TIMEOUT(Entries(&dialog), (QStringList{pl2303, absent}), 10000);
        tree.RemoveNode("ttyUSB1");
        QTRY_COMPARE_WITH_TIMEOUT(Entries(&dialog), QStringList{absent}, 10000);
        QVERIFY(DeviceList(&dialog)->currentItem()->isSelected());
        ClickOk(&dialog);
        QCOMPARE(m_Fixture->StoredText("device"), stable);
    }

    // The stable name is stored, the dialog shows it in use next time, and a COM port chosen
    // later gives the COMn mapping back.
    void choosingADeviceStoresItAndChoosingAPortClearsIt() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"com", 1}}, &error), error.c_str());
        QVERIFY2(m_Fixture->AddRadio(2, {}, PatternMemory(2), &error), error.c_str());
        FakeDeviceTree tree;
        tree.AddUsbAdapter({"ttyUSB0", "ch341", "1a86", "7523", "", "", ""});
        tree.AddUsbAdapter({"ttyUSB1", "ftdi_sio", "0403", "6001", "FTDI", "FT232R", ""});
        std::string stable = tree.AddStableName("usb-FTDI_FT232R_A50285BI-if00-port0", "ttyUSB1");
        m_Fixture->app->SetDeviceRoots(tree.Roots());

        {
            CPortDlg dialog(m_Fixture->app->Features());
            dialog.show();
            ClickEntry(&dialog, 1);
            QVERIFY(!AnyPortChecked(&dialog));
            ClickOk(&dialog);
        }
        QCOMPARE(m_Fixture->StoredText("device"), stable);
        QCOMPARE(m_Fixture->StoredInt("com"), 1);
        QCOMPARE(m_Fixture->PortPane(), QString("ttyUSB1"));

        {
            CPortDlg dialog(m_Fixture->app->Features());
            dialog.show();
            QCOMPARE(DeviceList(&dialog)->currentRow(), 1);
            QVERIFY(DeviceList(&dialog)->currentItem()->isSelected());
            QVERIFY(!AnyPortChecked(&dialog));
            QCOMPARE(LabelText(&dialog, kPortInUseId), "In use: " + QString::fromStdString(stable));
            // Unplugged: still shown and kept, never dropped by an OK.
            tree.RemoveNode("ttyUSB1");
            std::filesystem::remove(stable);
            dialog.RefreshDevices();
            QCOMPARE(Entries(&dialog).size(), 2);
            QCOMPARE(DeviceList(&dialog)->currentItem()->text(),
                     QString::fromStdString(stable) + " (not present)");
            ClickOk(&dialog);
        }
        QCOMPARE(m_Fixture->StoredText("device"), stable);

        {
            CPortDlg dialog(m_Fixture->app->Features());
            dialog.show();
            QTest::mouseClick(PortButton(&dialog, 2), Qt::LeftButton);
            QVERIFY(PortButton(&dialog, 2)->isChecked());
            QVERIFY(DeviceList(&dialog)->selectedItems().isEmpty());
            ClickOk(&dialog);
        }
        QCOMPARE(m_Fixture->StoredText("device"), std::string());
        QCOMPARE(m_Fixture->StoredInt("com"), 2);
        QCOMPARE(m_Fixture->PortPane(), QString("COM2"));
        QVERIFY(MessageBox::Shown().empty());
    }

    // With every COM port greyed the list gets the focus first; that is no choice, so OK keeps
    // the port in effect. Choosing another device says what it replaces.
    void onlyAChoiceChangesThePort() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"com", 1}}, &error), error.c_str());
        FakeDeviceTree tree;
        tree.AddUsbAdapter({"ttyUSB0", "ch341", "1a86", "7523", "", "", ""});
        m_Fixture->app->SetDeviceRoots(tree.Roots());
        const std::string before = m_Fixture->dir.Read("setting.ini");

        CPortDlg dialog(m_Fixture->app->Features());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(!PortButton(&dialog, 1)->isEnabled());
        DeviceList(&dialog)->setFocus();
        QTRY_VERIFY(DeviceList(&dialog)->hasFocus());
        QVERIFY(DeviceList(&dialog)->selectedItems().isEmpty());
        ClickOk(&dialog);
        QCOMPARE(m_Fixture->dir.Read("setting.ini"), before);

        CPortDlg again(m_Fixture->app->Features());
        again.show();
        ClickEntry(&again, 0);
        const QString told = LabelText(&again, kPortInUseId);
        QVERIFY2(told.startsWith("OK uses ") && told.contains("ttyUSB0 instead of COM1 ("),
                 qPrintable(told));
    }

    // Outside COM1-COM8's mapping and with the search on, a device chosen in the dialog is
    // where the read goes.
    void aReadGoesToTheDeviceChosenByName() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"com", 1}, {"searchcom", 1}}, &error), error.c_str());
        m_Fixture->dir.AddMissingPort(1);
        VirtualRadio radio;
        RadioMemory memory = PatternMemory(7);
        radio.SetMemory(memory);
        std::string cable = m_Fixture->dir.File("cable");
        QVERIFY2(radio.Start(cable, {}, &error), error.c_str());
        FakeDeviceTree tree;
        tree.AddUsbAdapter({"ttyUSB7", "ch341", "1a86", "7523", "", "", cable});
        std::string stable = tree.AddStableName("usb-1a86_USB_Serial-if00-port0", "ttyUSB7");
        m_Fixture->app->SetDeviceRoots(tree.Roots());

        CPortDlg portDialog(m_Fixture->app->Features());
        portDialog.show();
        ClickEntry(&portDialog, 0);
        ClickOk(&portDialog);
        QCOMPARE(m_Fixture->StoredText("device"), stable);

        CTransferDlg transfer(m_Fixture->app->Features(), true);
        transfer.show();
        QTest::mouseClick(FindControl<QAbstractButton>(&transfer, kIdOk), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!transfer.isVisible(), 60000);
        QCOMPARE(transfer.result(), kTransferEnded);
        const auto& bytes = m_Fixture->app->Document().Image().bytes;
        QVERIFY(std::equal(bytes.begin() + 0x0800, bytes.end(), memory.begin() + 0x0800));
        QCOMPARE(m_Fixture->StoredInt("com"), 1);
        QVERIFY(MessageBox::Shown().empty());
        radio.Stop();
    }

    void cableTypeMenuStoresRwtypeAndFollowsTheFile() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"rwtype", 1}}, &error), error.c_str());
        CMainFrame* frame = m_Fixture->app->MainFrame();
        QAction* direct = frame->MenuAction(kCommandCableDirect);
        QAction* echo = frame->MenuAction(kCommandCableEcho);
        QCOMPARE(direct->text(), QString("Cable type: &Direct"));
        QVERIFY(direct->isChecked() && !echo->isChecked());

        echo->trigger();
        QCOMPARE(m_Fixture->StoredInt("rwtype"), 2);
        QVERIFY(echo->isChecked() && !direct->isChecked());
        direct->trigger();
        QCOMPARE(m_Fixture->StoredInt("rwtype"), 1);
        QVERIFY(direct->isChecked() && !echo->isChecked());

        // Edited by hand while the program runs: the menu shows the file when it opens.
        QVERIFY2(m_Fixture->Set({{"rwtype", 2}}, &error), error.c_str());
        emit qobject_cast<QMenu*>(direct->parent())->aboutToShow();
        QVERIFY(echo->isChecked() && !direct->isChecked());
    }

private:
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(PortDialogTest)
#include "port_dialog_test.moc"
