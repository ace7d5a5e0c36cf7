// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Check Connection against virtual radios: the finding in its box, the cable switch
// that the question offers, the device setting, and Cancel while the radio is silent.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

#include "common/dialog_builder.h"
#include "config/language.h"
#include "link/doctor_dialog.h"
#include "link/doctor_messages.h"
#include "resources/command_ids.h"
#include "resources/ids/transfer_ids.h"
#include "support/link_ui_fixture.h"

namespace {

QString Lang(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

// The part of a language text before its first placeholder.
QString Opening(const char* key) {
    QString text = Lang(key);
    return text.left(text.indexOf('%'));
}

constexpr int kCheckTimeoutMs = 30000;

}  // namespace

class DoctorDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        MessageBox::SetUnattended(true);
        m_Fixture = std::make_unique<LinkUiFixture>("doctor-dialog");
    }
    void cleanup() { m_Fixture.reset(); }

    // The program with the lock is named, and each other program with the port open too.
    void aPortInUseNamesEveryProgramWithItOpen() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"rwtype", 1}}, &error), error.c_str());
        Diagnosis diagnosis;
        diagnosis.cause = DoctorCause::InUse;
        diagnosis.device = "/dev/ttyUSB0";
        diagnosis.holderPid = 41;
        diagnosis.holderName = "minicom";
        diagnosis.otherHolders = {{42, "radio-sim"}, {43, "cat"}};
        const QString text = QString::fromStdString(DoctorMessage(diagnosis));
        const QString openToo = Lang("IDS_DOCTOR_OPEN_TOO");
        for (const QString& line :
             {Lang("IDS_DOCTOR_INUSE").arg("/dev/ttyUSB0", "minicom", "41"),
              QString(openToo).arg("radio-sim", "42"), QString(openToo).arg("cat", "43")}) {
            QVERIFY2(text.contains(line), qPrintable(text + " | " + line));
        }
    }

    void aRadioThatAnswersIsReported() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"rwtype", 1}}, &error), error.c_str());
        QVERIFY2(m_Fixture->AddRadio(1, {}, PatternMemory(3), &error), error.c_str());
        m_Fixture->app->MainFrame()->OnCommand(kCommandCheckConnection);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        const ShownMessage& shown = MessageBox::Shown().front();
        QString text = QString::fromStdString(shown.text);
        QVERIFY2(text.startsWith(Opening("IDS_DOCTOR_FOUND") + "COM1 ("), qPrintable(text));
        QCOMPARE(QString::fromStdString(shown.caption), Lang("IDS_PROMPT"));
        QVERIFY(shown.icon == MessageIcon::Information);
        QVERIFY(!m_Fixture->app->Port().IsOpen());
    }

    // Yes stores the other cable type, and the next check then finds the radio through it.
    void theEchoQuestionSwitchesTheCableTypeThatThenWorks() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"rwtype", 1}}, &error), error.c_str());
        VirtualRadioOptions echoing;
        echoing.echo = true;
        QVERIFY2(m_Fixture->AddRadio(1, echoing, PatternMemory(3), &error), error.c_str());
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        m_Fixture->app->MainFrame()->OnCommand(kCommandCheckConnection);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QVERIFY(MessageBox::Shown().front().buttons == MessageButtons::YesNo);
        QCOMPARE(m_Fixture->StoredInt("rwtype"), 2);

        MessageBox::ClearShown();
        m_Fixture->app->MainFrame()->OnCommand(kCommandCheckConnection);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QVERIFY(MessageBox::Shown().front().icon == MessageIcon::Information);
    }

    // The device setting is the port when set: a missing one is named, with no radio woken.
    void aMissingDeviceOfTheSettingIsNamed() {
        std::string error;
        std::string missing = m_Fixture->dir.File("ttyUSB9");
        QVERIFY2(m_Fixture->Start({{"device", missing}}, &error), error.c_str());
        VirtualRadio* radio = m_Fixture->AddRadio(1, {}, PatternMemory(3), &error);
        QVERIFY2(radio, error.c_str());
        m_Fixture->app->MainFrame()->OnCommand(kCommandCheckConnection);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        const ShownMessage& shown = MessageBox::Shown().front();
        QVERIFY2(QString::fromStdString(shown.text).startsWith(QString::fromStdString(missing)),
                 shown.text.c_str());
        QCOMPARE(QString::fromStdString(shown.caption), Lang("IDS_ERROR"));
        QVERIFY(shown.icon == MessageIcon::Stop);
        QVERIFY(radio->ReceivedBytes().empty());
    }

    // The check runs on a worker: the window keeps handling events while the silent radio is
    // tried, and Cancel ends the dialog without a finding.
    void cancelEndsTheCheckWithoutAFinding() {
        std::string error;
        QVERIFY2(m_Fixture->Start({{"rwtype", 1}}, &error), error.c_str());
        VirtualRadioOptions silent;
        silent.faults.silent = true;
        QVERIFY2(m_Fixture->AddRadio(1, silent, PatternMemory(3), &error), error.c_str());
        CDoctorDlg dialog(m_Fixture->app->Features(), m_Fixture->app->MainFrame());
        dialog.show();
        QCOMPARE(FindControl<QLabel>(&dialog, kTransferMessageId)->text(),
                 Lang("IDS_DOCTOR_CHECKING"));
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(10);
        QTRY_VERIFY(ticks >= 5);
        FindControl<QAbstractButton>(&dialog, kIdCancel)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kCheckTimeoutMs);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(MessageBox::Shown().empty());
    }

private:
    std::unique_ptr<LinkUiFixture> m_Fixture;
};

QTEST_MAIN(DoctorDialogTest)
#include "doctor_dialog_test.moc"
