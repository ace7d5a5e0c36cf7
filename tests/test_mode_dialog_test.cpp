// SPDX-License-Identifier: GPL-3.0-or-later
// The access dialog and the test dialog, driven through their widgets against a virtual radio
// on a pseudo-terminal, with the program's own document, port and frame.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/pgm_file.h"
#include "common/file_dialog.h"
#include "common/message_box.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_commit.h"
#include "editors/channel_page.h"
#include "grid/grid_ctrl.h"
#include "platform/profile.h"
#include "resources/command_ids.h"
#include "sim/demo_memory.h"
#include "sim/virtual_radio.h"
#include "support/link_test_support.h"
#include "support/shell_fixture.h"
#include "testmode/mode_dialog.h"
#include "testmode/password_dialog.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kEndByte = 0x62;
// Test items 0, 20, 35 and 57 and where the radio keeps them.
constexpr int kItem20Address = 0x0FF4;
struct ItemAddress {
    int item;
    int address;
};
constexpr ItemAddress kSampleItems[] = {{0, 0x0FE0}, {20, 0x0FF4}, {35, 0x0FC3}, {57, 0x0FDF}};

// A memory whose test region differs from the document's and from byte to byte.
RadioMemory TestRegionMemory() {
    RadioMemory memory = PatternMemory(3);
    for (int address = 0x0FC0; address < 0x1000; ++address) {
        memory[address] = static_cast<uint8_t>(address * 7 + 1);
    }
    return memory;
}

Bytes AdjustHead(uint8_t bank, uint8_t value, uint8_t index, uint8_t bankNumber) {
    Bytes head = {0x67, 0x0F, bank, 0x10, value, index, bankNumber};
    head.insert(head.end(), 9, 0xFF);
    return head;
}

// A direct cable's radio answers the acknowledgement after each block read with the same byte,
// which test mode's echo-tolerant rule takes for the echo and waits out; an echoing cable
// keeps a read all of 512 blocks quick.
VirtualRadioOptions EchoingCable() {
    VirtualRadioOptions options;
    options.echo = true;
    return options;
}

bool Contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

QString ItemLine(int item, int value) {
    std::vector<std::string> names = LoadLangList("TestData");
    return QString::fromStdString(names.at(item)) + QStringLiteral("-(%1)").arg(value);
}

QAbstractButton* Button(QWidget* dialog, int id) {
    return FindControl<QAbstractButton>(dialog, id);
}

QListWidget* ItemList(QWidget* dialog) {
    return FindControl<QListWidget>(dialog, kTestItemListId);
}

QScrollBar* ValueBar(QWidget* dialog) {
    return FindControl<QScrollBar>(dialog, kTestValueBarId);
}

QString ValueText(QWidget* dialog) {
    return FindControl<QLineEdit>(dialog, kTestValueEditId)->text();
}

QProgressBar* ProgressBar(QWidget* dialog) {
    return FindControl<QProgressBar>(dialog, kTestProgressId);
}

// While an exchange runs its buttons are off; they come back when it has ended.
bool ExchangeRunning(QWidget* dialog) {
    return !Button(dialog, kReadAllId)->isEnabled();
}

// Clicks the button of an exchange and waits until its worker has ended.
bool RunExchange(QWidget* dialog, int buttonId) {
    Button(dialog, buttonId)->click();
    return QTest::qWaitFor([dialog] { return !ExchangeRunning(dialog); }, 60000);
}

// What the radio must have heard by now may still be on its way on a busy machine; a wait
// this long only ever ends early.
constexpr int kRadioHearsMs = 60000;

bool EndedWithEndByte(const VirtualRadio& radio) {
    Bytes received = radio.ReceivedBytes();
    return !received.empty() && received.back() == kEndByte;
}

// The receive frequency the channel table shows for channel 1 of memory.
QString ChannelOneText(const RadioMemory& memory) {
    RadioImage image;
    std::copy(memory.begin(), memory.end(), image.bytes.begin());
    return QString::fromStdString(image.GetFrequencyText(1, kDecodeSide));
}

CChannelPage* ChannelPage(CHalvexApp& app) {
    return app.MainFrame()->findChild<CChannelPage*>();
}

// Counts the whole-document updates that make the main window's pages reload.
class UpdateCounter : public DocumentView {
public:
    explicit UpdateCounter(CHalvexDoc& document) : m_Document(document) {
        m_Document.AddView(this);
    }
    ~UpdateCounter() override { m_Document.RemoveView(this); }
    UpdateCounter(const UpdateCounter&) = delete;
    UpdateCounter& operator=(const UpdateCounter&) = delete;
    void OnUpdate() override { ++updates; }

    int updates = 0;

private:
    CHalvexDoc& m_Document;
};

void ClickBarArrow(QScrollBar* bar, QStyle::SubControl arrow) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    QRect rect = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, rect.center());
}

// Closes every test dialog that opens modally and counts them, so a dialog opened by mistake
// fails an assertion instead of waiting for a user.
class TestDialogWatch : public QObject {
public:
    TestDialogWatch() {
        connect(&m_Timer, &QTimer::timeout, this, [this] {
            if (auto* dialog = qobject_cast<CTestModeDlg*>(QApplication::activeModalWidget())) {
                ++opened;
                itemCount = ItemList(dialog)->count();
                Button(dialog, kIdCancel)->click();
            }
        });
        m_Timer.start(10);
    }

    int opened = 0;
    int itemCount = -1;

private:
    QTimer m_Timer;
};

}  // namespace

class TestModeDialogTest : public QObject {
    Q_OBJECT

private slots:

    void init() {
        halvex::test::ModuleFolder& folder = m_Shell.NewFolder();
        folder.CopyFromBin({"setting.ini", "english.lang"});
        // A busy machine must not turn the radio's late answer into a failed block.
        folder.ChangeSettings({{"language", "english"},
                               {"searchcom", 0},
                               {"com", 1},
                               {"readtime", 500},
                               {"writetime", 500}});
        QVERIFY(m_Shell.Start());
    }

    void cleanup() {
        const bool drained = m_Shell.Finish();
        if (m_Radio) {
            m_Radio->Stop();
            m_Radio.reset();
        }
        QVERIFY(drained);
    }

    void wrongCodeIsRefused_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("other case") << "ro264";
        QTest::newRow("one letter lower") << "Ro264";
        QTest::newRow("too short") << "RO26";
        QTest::newRow("too long") << "RO2640";
        QTest::newRow("leading space") << " RO264";
        QTest::newRow("empty") << "";
    }

    void wrongCodeIsRefused() {
        QFETCH(QString, code);
        TestDialogWatch watch;
        CPasswordDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        FindControl<QLineEdit>(&dialog, kPasswordEditId)->setText(code);
        Button(&dialog, kIdOk)->click();
        QCOMPARE(watch.opened, 0);
        QVERIFY(dialog.isVisible());
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        const ShownMessage& shown = MessageBox::Shown().front();
        QCOMPARE(shown.text, LoadLangString("IDS_ERROR_PASSWORD"));
        QCOMPARE(shown.caption, LoadLangString("IDS_WINDOWNAME"));
        QCOMPARE(shown.icon, MessageIcon::Stop);
    }

    // The menu command asks for the code; the test dialog lists every item and closes back to
    // the main window, not to the code just typed.
    void testModeCommandOpensTheTestDialogBehindTheCode() {
        TestDialogWatch watch;
        bool passwordStayedOpen = false;
        QVERIFY(m_Shell.RunWithDialog<CPasswordDlg>(kCommandTestMode, [&](CPasswordDlg& password) {
            FindControl<QLineEdit>(&password, kPasswordEditId)->setText("RO264");
            Button(&password, kIdOk)->click();
            passwordStayedOpen = password.isVisible();
            Button(&password, kIdCancel)->click();
        }));
        QCOMPARE(watch.opened, 1);
        QCOMPARE(watch.itemCount, static_cast<int>(LoadLangList("TestData").size()));
        QVERIFY(!passwordStayedOpen);
        QVERIFY(MessageBox::Shown().empty());
    }

    // Start test mode shows the radio's values; an end scroll on item 20 stores its new value
    // and sends it to the radio at once.
    void startTestModeAndEndScrollAdjustTheRadio() {
        RadioMemory memory = TestRegionMemory();
        StartRadio(memory);
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        QVERIFY(RunExchange(&dialog, kStartTestModeId));
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(m_Shell.App().Port().IsOpen());
        for (const ItemAddress& sample : kSampleItems) {
            QCOMPARE(ItemList(&dialog)->item(sample.item)->text(),
                     ItemLine(sample.item, memory[sample.address]));
        }
        QCOMPARE(ValueText(&dialog), QString::number(memory[0x0FE0]));
        QTRY_VERIFY_WITH_TIMEOUT(
            Contains(m_Radio->ReceivedBytes(), AdjustHead(0xE0, memory[0x0FE0], 0, 0)),
            kRadioHearsMs);

        uint8_t value = memory[kItem20Address];
        ItemList(&dialog)->setCurrentRow(20);
        QCOMPARE(ValueText(&dialog), QString::number(value));
        QTRY_VERIFY_WITH_TIMEOUT(Contains(m_Radio->ReceivedBytes(), AdjustHead(0xF0, value, 4, 1)),
                                 kRadioHearsMs);

        ClickBarArrow(ValueBar(&dialog), QStyle::SC_ScrollBarAddLine);
        uint8_t raised = static_cast<uint8_t>(value + 1);
        QCOMPARE(ValueText(&dialog), QString::number(raised));
        QCOMPARE(m_Shell.App().Document().Image().GetTestItem(20), int{raised});
        QCOMPARE(ItemList(&dialog)->item(20)->text(), ItemLine(20, raised));
        QCOMPARE(ItemList(&dialog)->currentRow(), 20);
        QTRY_VERIFY_WITH_TIMEOUT(Contains(m_Radio->ReceivedBytes(), AdjustHead(0xF0, raised, 4, 1)),
                                 kRadioHearsMs);
    }

    void valueBarWrapsAndStoresOnlyAtTheEnd_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("shown");
        QTest::newRow("right at 255 wraps to 0") << 255 << int{Qt::Key_Right} << 0;
        QTest::newRow("left at 0 wraps to 255") << 0 << int{Qt::Key_Left} << 255;
        QTest::newRow("right steps up") << 7 << int{Qt::Key_Right} << 8;
        QTest::newRow("left steps down") << 7 << int{Qt::Key_Left} << 6;
        QTest::newRow("page keys do nothing") << 7 << int{Qt::Key_PageDown} << 7;
        QTest::newRow("end key does nothing") << 7 << int{Qt::Key_End} << 7;
    }

    void valueBarWrapsAndStoresOnlyAtTheEnd() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, shown);
        m_Shell.App().Document().EditImage().SetTestItem(0, start);
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        QScrollBar* bar = ValueBar(&dialog);
        QTest::keyPress(bar, static_cast<Qt::Key>(key));
        QCOMPARE(ValueText(&dialog), QString::number(shown));
        QCOMPARE(bar->value(), shown);
        QCOMPARE(m_Shell.App().Document().Image().GetTestItem(0), start);
        QTest::keyRelease(bar, static_cast<Qt::Key>(key));
        QCOMPARE(m_Shell.App().Document().Image().GetTestItem(0), shown);
        QCOMPARE(ItemList(&dialog)->item(0)->text(), ItemLine(0, shown));
        // Out of test mode nothing goes to the radio, so nothing opens the port.
        QVERIFY(!m_Shell.App().Port().IsOpen());
    }

    // Every way out ends test mode on the radio and frees the port; Enter too.
    void everyEndingLeavesTestMode_data() {
        QTest::addColumn<QString>("ending");
        QTest::newRow("cancel button") << "cancel";
        QTest::newRow("enter in the list") << "enter";
        QTest::newRow("escape") << "escape";
        QTest::newRow("close box") << "close";
    }

    void everyEndingLeavesTestMode() {
        QFETCH(QString, ending);
        StartRadio(TestRegionMemory());
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        QVERIFY(RunExchange(&dialog, kStartTestModeId));
        QVERIFY(m_Shell.App().Port().IsOpen());
        if (ending == "cancel") {
            Button(&dialog, kIdCancel)->click();
        } else if (ending == "enter") {
            QTest::keyClick(ItemList(&dialog), Qt::Key_Return);
        } else if (ending == "escape") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            dialog.close();
        }
        QVERIFY(!dialog.isVisible());
        QVERIFY(!m_Shell.App().Port().IsOpen());
        QVERIFY(!dialog.Session().InTestMode());
        QTRY_VERIFY_WITH_TIMEOUT(EndedWithEndByte(*m_Radio), kRadioHearsMs);
    }

    void exchangesShowTheirMessages_data() {
        QTest::addColumn<int>("buttonId");
        QTest::addColumn<bool>("radio");
        QTest::addColumn<bool>("refuseWrites");
        QTest::addColumn<QString>("textKey");
        QTest::addColumn<QString>("captionKey");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("portOpen");
        // The doctor's finding that follows the message, when the radio was not reached.
        QTest::addColumn<QString>("doctorKey");
        QTest::newRow("start, no radio")
            << kStartTestModeId << false << false << "IDS_ERROR_PORTCONN"
            << "IDS_ERROR" << true << false << "IDS_DOCTOR_NODEVICE";
        QTest::newRow("read all, no radio")
            << kReadAllId << false << false << "IDS_ERROR_PORTCONN"
            << "IDS_ERROR" << true << false << "IDS_DOCTOR_NODEVICE";
        QTest::newRow("read all") << kReadAllId << true << false << "IDS_PROMPT_READSUCC"
                                  << "IDS_PROMPT" << false << false << "";
        QTest::newRow("write all") << kWriteAllId << true << false << "IDS_PROMPT_WRITESUCC"
                                   << "IDS_PROMPT" << false << false << "";
        QTest::newRow("write all, block refused")
            << kWriteAllId << true << true << "IDS_PROMPT_WRITEFAIL"
            << "IDS_PROMPT" << false << true << "";
    }

    void exchangesShowTheirMessages() {
        QFETCH(int, buttonId);
        QFETCH(bool, radio);
        QFETCH(bool, refuseWrites);
        QFETCH(QString, textKey);
        QFETCH(QString, captionKey);
        QFETCH(bool, stop);
        QFETCH(bool, portOpen);
        QFETCH(QString, doctorKey);
        if (radio) {
            VirtualRadioOptions options = EchoingCable();
            if (refuseWrites) {
                options.faults.noAckBlock = 0x0100;
                options.faults.noAckTimes = 1;
            }
            StartRadio(TestRegionMemory(), options);
        }
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        QVERIFY(RunExchange(&dialog, buttonId));
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        const ShownMessage& shown = MessageBox::Shown().front();
        if (doctorKey.isEmpty()) {
            QCOMPARE(QString::fromStdString(shown.text),
                     QString::fromStdString(LoadLangString(textKey.toStdString())));
        } else {
            QVERIFY2(shown.text.starts_with(LoadLangString(textKey.toStdString()) + "\n\n"),
                     shown.text.c_str());
            // The doctor's words after the port's name.
            std::string doctor = LoadLangString(doctorKey.toStdString());
            QVERIFY2(shown.text.find(doctor.substr(doctor.rfind("%1") + 2)) != std::string::npos,
                     shown.text.c_str());
        }
        QCOMPARE(shown.caption, LoadLangString(captionKey.toStdString()));
        QCOMPARE(shown.icon, stop ? MessageIcon::Stop : MessageIcon::Information);
        QCOMPARE(m_Shell.App().Port().IsOpen(), portOpen);
    }

    // Read all runs on a worker: the window keeps handling events and the bar moves, and the
    // radio's channels then reach the pages of the main window, marked as unsaved.
    void readAllKeepsTheWindowAliveAndReachesThePages() {
        RadioMemory memory = DemoMemory();
        StartRadio(memory, EchoingCable());
        CChannelPage* channels = ChannelPage(m_Shell.App());
        QVERIFY(channels != nullptr);
        QVERIFY(channels->Grid()->GetCellText(1, 1) != ChannelOneText(memory));
        UpdateCounter counter(m_Shell.App().Document());
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        bool sawProgress = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            QProgressBar* bar = ProgressBar(&dialog);
            sawProgress = sawProgress || (bar != nullptr && bar->value() > bar->minimum() &&
                                          bar->value() < bar->maximum());
        });
        watch.start(5);
        Button(&dialog, kReadAllId)->click();
        QVERIFY2(MessageBox::Shown().empty(), "read all held the window until it ended");
        QVERIFY(ExchangeRunning(&dialog));
        QTRY_COMPARE_WITH_TIMEOUT(MessageBox::Shown().size(), size_t{1}, 60000);
        QVERIFY(sawProgress);
        QCOMPARE(QString::fromStdString(MessageBox::Shown().front().text),
                 QString::fromStdString(LoadLangString("IDS_PROMPT_READSUCC")));
        QVERIFY(!ExchangeRunning(&dialog));
        QVERIFY(std::equal(memory.begin(), memory.end(),
                           m_Shell.App().Document().Image().bytes.begin()));
        QVERIFY(m_Shell.App().Document().IsModified());
        QVERIFY(counter.updates > 0);
        QCOMPARE(channels->Grid()->GetCellText(1, 1), ChannelOneText(memory));
        QCOMPARE(ItemList(&dialog)->item(0)->text(), ItemLine(0, memory[0x0FE0]));
        QVERIFY(!m_Shell.App().Port().IsOpen());
    }

    // Read all replaces the whole document, as Read from Radio does: unsaved edits are asked
    // about first, and the undo step says what it replaced.
    void readAllAsksAboutUnsavedEditsFirst_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel") << MessageAnswer::Cancel << false << false;
        QTest::newRow("discard") << MessageAnswer::No << true << false;
        QTest::newRow("save first") << MessageAnswer::Yes << true << true;
    }

    void readAllAsksAboutUnsavedEditsFirst() {
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, reads);
        QFETCH(bool, saved);
        RadioMemory memory = DemoMemory();
        StartRadio(memory, EchoingCable());
        CHalvexDoc& document = m_Shell.App().Document();
        CommitReceiveFrequency(document, 1, "150.125");
        document.SetModifiedFlag();
        document.CommitEdit(StepName("IDS_STEP_RANGE"));
        const auto edited = document.Image().bytes;
        std::string path = m_Shell.Folder().File("kept.pgm");
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        MessageBox::SetNextAnswer(answer);
        if (saved) {
            FileDialog::SetNextFileName(path);
        }
        Button(&dialog, kReadAllId)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!ExchangeRunning(&dialog), 60000);
        QCOMPARE(MessageBox::Shown().front().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(MessageBox::Shown().size(), size_t{reads ? 2u : 1u});
        QCOMPARE(std::filesystem::exists(path), saved);
        if (saved) {
            PgmFile file;
            std::string error;
            QCOMPARE(LoadPgmFile(path, &file, &error), PgmLoadResult::Loaded);
            RadioImage kept;
            kept.bytes = file.image;
            QCOMPARE(kept.GetFrequencyText(1, kDecodeSide), std::string("150.12500"));
        }
        if (!reads) {
            QVERIFY(m_Radio->ReceivedBytes().empty());
            QVERIFY(document.Image().bytes == edited);
            QVERIFY(document.IsModified());
            return;
        }
        QCOMPARE(MessageBox::Shown().back().text, LoadLangString("IDS_PROMPT_READSUCC"));
        QVERIFY(std::equal(memory.begin(), memory.end(), document.Image().bytes.begin()));
        QCOMPARE(StepText(document.UndoName()),
                 QString::fromStdString(LoadLangString("IDS_STEP_TEST_READ_ALL")));
        QVERIFY(document.Undo());
        QCOMPARE(document.Image().GetFrequencyText(1, kDecodeSide), std::string("150.12500"));
    }

    // Cancel stops the exchange at once: the radio hears the end byte, the port is free, the
    // document is as it was and the dialog stays open for the next try; a write cut short says
    // so.
    void cancelEndsTheExchangeWithTheEndByte_data() {
        QTest::addColumn<int>("buttonId");
        QTest::addColumn<bool>("betweenBlocks");
        QTest::newRow("start, while waking the radio") << kStartTestModeId << false;
        QTest::newRow("read all, between blocks") << kReadAllId << true;
        QTest::newRow("write all, between blocks") << kWriteAllId << true;
    }

    void cancelEndsTheExchangeWithTheEndByte() {
        QFETCH(int, buttonId);
        QFETCH(bool, betweenBlocks);
        RadioMemory memory = DemoMemory();
        VirtualRadioOptions options;
        // A paced line keeps a block exchange running long enough to be cancelled midway;
        // ignored wake-ups keep the link busy before any block.
        options.pace9600 = betweenBlocks;
        options.faults.ignoreWakeUps = betweenBlocks ? 0 : 9;
        StartRadio(memory, options);
        std::array<uint8_t, kImageSize> before = m_Shell.App().Document().Image().bytes;
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        Button(&dialog, buttonId)->click();
        QVERIFY(ExchangeRunning(&dialog));
        if (betweenBlocks) {
            QTRY_VERIFY_WITH_TIMEOUT(ProgressBar(&dialog)->value() > 0, kRadioHearsMs);
            // Enter goes on: the blocks keep coming after it.
            const int atEnter = ProgressBar(&dialog)->value();
            QTest::keyClick(&dialog, Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(ProgressBar(&dialog)->value() > atEnter + 2, kRadioHearsMs);
            QVERIFY(ExchangeRunning(&dialog));
            QVERIFY(dialog.isVisible());
        }
        Button(&dialog, kIdCancel)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!ExchangeRunning(&dialog), kRadioHearsMs);
        QVERIFY(dialog.isVisible());
        QVERIFY(ProgressBar(&dialog)->value() < ProgressBar(&dialog)->maximum());
        if (buttonId == kWriteAllId) {
            // The radio is part old, part new now: that must not pass in silence.
            QCOMPARE(MessageBox::Shown().size(), size_t{1});
            QVERIFY(MessageBox::Shown().front().text.starts_with("Writing was cancelled."));
            QCOMPARE(MessageBox::Shown().front().caption, LoadLangString("IDS_PROMPT"));
        } else if (buttonId == kReadAllId) {
            // A stopped read says so and how far it got, instead of a bar frozen midway.
            QCOMPARE(MessageBox::Shown().size(), size_t{1});
            const std::string& told = MessageBox::Shown().front().text;
            QVERIFY2(told.starts_with("Reading was stopped after ") &&
                         told.find(" of 512 blocks.") != std::string::npos,
                     told.c_str());
            QCOMPARE(ProgressBar(&dialog)->value(), 0);
        } else {
            QVERIFY(MessageBox::Shown().empty());
        }
        QVERIFY(!m_Shell.App().Port().IsOpen());
        QVERIFY(!dialog.Session().InTestMode());
        QTRY_VERIFY_WITH_TIMEOUT(EndedWithEndByte(*m_Radio), kRadioHearsMs);
        QVERIFY(m_Shell.App().Document().Image().bytes == before);
        QVERIFY(!m_Shell.App().Document().IsModified());
        if (buttonId != kWriteAllId) {
            QVERIFY(m_Radio->Memory() == memory);
        }
    }

    // Closing the window or destroying the dialog mid-exchange waits for the worker, which
    // ends the exchange as Cancel does.
    void closingMidExchangeWaitsForTheWorker_data() {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("close box") << false;
        QTest::newRow("destroyed") << true;
    }

    void closingMidExchangeWaitsForTheWorker() {
        QFETCH(bool, destroy);
        VirtualRadioOptions options;
        options.pace9600 = true;
        StartRadio(DemoMemory(), options);
        std::array<uint8_t, kImageSize> before = m_Shell.App().Document().Image().bytes;
        auto dialog =
            std::make_unique<CTestModeDlg>(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog->show();
        Button(dialog.get(), kReadAllId)->click();
        QTRY_VERIFY_WITH_TIMEOUT(ProgressBar(dialog.get())->value() > 0, kRadioHearsMs);
        if (destroy) {
            dialog.reset();
        } else {
            dialog->close();
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kRadioHearsMs);
        }
        QVERIFY(!m_Shell.App().Port().IsOpen());
        QTRY_VERIFY_WITH_TIMEOUT(EndedWithEndByte(*m_Radio), kRadioHearsMs);
        QVERIFY(m_Shell.App().Document().Image().bytes == before);
        QVERIFY(MessageBox::Shown().empty());
    }

    // What test mode stores reaches the main window's pages and is marked as unsaved; data
    // opened from a file is the file as it stands.
    void changesReachTheMainWindow_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("modified");
        QTest::newRow("start test mode") << "start" << true;
        QTest::newRow("end scroll") << "scroll" << true;
        QTest::newRow("open data") << "open" << false;
    }

    void changesReachTheMainWindow() {
        QFETCH(QString, change);
        QFETCH(bool, modified);
        RadioMemory file = DemoMemory();
        std::string path = m_Shell.Folder().File("opened.pgm");
        if (change == "start") {
            StartRadio(TestRegionMemory());
        } else if (change == "open") {
            PgmFile pgm = NewPgmFile();
            std::copy(file.begin(), file.end(), pgm.image.begin());
            std::string error;
            QVERIFY2(SavePgmFile(path, pgm, &error), error.c_str());
        }
        CTestModeDlg dialog(m_Shell.App().Features(), m_Shell.App().MainFrame());
        dialog.show();
        UpdateCounter counter(m_Shell.App().Document());
        if (change == "start") {
            QVERIFY(RunExchange(&dialog, kStartTestModeId));
            QVERIFY(MessageBox::Shown().empty());
            QCOMPARE(m_Shell.App().Document().Image().GetTestItem(0),
                     int{TestRegionMemory()[0x0FE0]});
        } else if (change == "scroll") {
            QTest::keyPress(ValueBar(&dialog), Qt::Key_Right);
            QVERIFY(!m_Shell.App().Document().IsModified());
            QTest::keyRelease(ValueBar(&dialog), Qt::Key_Right);
        } else {
            FileDialog::SetNextFileName(path);
            Button(&dialog, kOpenDataId)->click();
            QCOMPARE(ChannelPage(m_Shell.App())->Grid()->GetCellText(1, 1), ChannelOneText(file));
            QCOMPARE(m_Shell.App().Document().GetPathName(), path);
        }
        QCOMPARE(m_Shell.App().Document().IsModified(), modified);
        QVERIFY(counter.updates > 0);
    }

private:
    void StartRadio(const RadioMemory& memory, const VirtualRadioOptions& options = {}) {
        m_Radio = std::make_unique<VirtualRadio>();
        m_Radio->SetMemory(memory);
        std::string error;
        QVERIFY2(m_Radio->Start(m_Shell.Folder().PortLink(1), options, &error), error.c_str());
    }

    halvex::test::ShellFixture m_Shell;
    std::unique_ptr<VirtualRadio> m_Radio;
};

QTEST_MAIN(TestModeDialogTest)
#include "test_mode_dialog_test.moc"
