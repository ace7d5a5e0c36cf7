// SPDX-License-Identifier: GPL-3.0-or-later
// What a first start shows: the start panel over an empty document, which goes for the run
// once dismissed or once a document holds channels; and File > Open Example, which opens an
// example as a copy that Save never writes back.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "app/start_panel.h"
#include "codeplug/pgm_file.h"
#include "resources/command_ids.h"
#include "support/shell_fixture.h"

namespace {

const std::string kChannelsFile = std::string(HALVEX_TEST_DATA_DIR) + "/pgm/v1_05_channels.pgm";

enum class Step { Nothing, StartWithFile, Dismiss, ReadChannels, ReadEmpty, TypeIn, OpenButton };

}  // namespace

Q_DECLARE_METATYPE(Step)

class StartPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolderInTestLanguage(
            "IDS_WARN_CLEAR=Clear?\nIDS_START_TITLE=Start\nIDS_START_DISMISS=Away\n"
            "IDS_EXAMPLE_SOURCE=Example %s\nIDS_NO_EXAMPLES=None here\n"
            "Menu_Program_ReadData=&Read it\\tCtrl+R\nMenu_File_Open=Op&en...\\tCtrl+O\n"
            "Menu_Program_CheckConnection=Check(&K)...\n");
        std::string error;
        QVERIFY(LoadPgmFile(kChannelsFile, &m_Channels, &error) == PgmLoadResult::Loaded);
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    void panelFollowsTheDocumentAndStaysAwayOnceGone_data() {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("shownAfterStep");
        QTest::addColumn<bool>("shownAfterNew");
        QTest::addRow("empty, left alone") << Step::Nothing << true << true;
        QTest::addRow("a file with channels at start") << Step::StartWithFile << false << false;
        QTest::addRow("dismissed") << Step::Dismiss << false << false;
        QTest::addRow("a radio with channels read") << Step::ReadChannels << false << false;
        QTest::addRow("an empty radio read") << Step::ReadEmpty << true << true;
        // Typing leaves the table where it is; the panel is gone from the next document on.
        QTest::addRow("channels typed in") << Step::TypeIn << true << false;
        QTest::addRow("a file opened from it") << Step::OpenButton << false << false;
    }
    void panelFollowsTheDocumentAndStaysAwayOnceGone() {
        QFETCH(Step, step);
        QFETCH(bool, shownAfterStep);
        QFETCH(bool, shownAfterNew);
        const bool withFile = step == Step::StartWithFile;
        QVERIFY(m_Shell.Start(withFile ? QStringList{QString::fromStdString(kChannelsFile)}
                                       : QStringList{}));
        CMainFrame* frame = m_Shell.App().MainFrame();
        StartPanel* panel = frame->GetStartPanel();
        QCOMPARE(panel->isVisible(), !withFile);
        CHalvexDoc& document = m_Shell.App().Document();
        if (step == Step::Dismiss) {
            Button(panel, "Dismiss")->click();
        } else if (step == Step::ReadChannels || step == Step::ReadEmpty) {
            const auto read = step == Step::ReadEmpty ? document.Image().bytes : m_Channels.image;
            m_Shell.App().OnRadioRead(read);
        } else if (step == Step::TypeIn) {
            document.EditImage().bytes = m_Channels.image;
            document.SetModifiedFlag();
        } else if (step == Step::OpenButton) {
            FileDialog::SetNextFileName(kChannelsFile);
            Button(panel, kCommandOpen)->click();
            QCOMPARE(document.GetPathName(), kChannelsFile);
        }
        QCOMPARE(panel->isVisible(), shownAfterStep);
        // The smallest window keeps the pages' room whole beside the panel, and no more.
        QCOMPARE(frame->minimumHeight() > kFrameMinimumHeight, shownAfterStep);
        // A new, empty document brings it back only when no document held channels yet.
        document.SetModifiedFlag(false);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        frame->OnCommand(kCommandNew);
        QCOMPARE(panel->isVisible(), shownAfterNew);
    }

    // The buttons carry the menu's words and shortcuts, without the accelerator marks; with no
    // example installed the menu says so.
    void wordsComeFromTheLanguageFile() {
        QVERIFY(m_Shell.Start());
        StartPanel* panel = m_Shell.App().MainFrame()->GetStartPanel();
        QCOMPARE(Button(panel, kCommandReadRadio)->text(), QStringLiteral("Read it (Ctrl+R)"));
        QCOMPARE(Button(panel, kCommandOpen)->text(), QStringLiteral("Open... (Ctrl+O)"));
        QCOMPARE(Button(panel, kCommandCheckConnection)->text(), QStringLiteral("Check..."));
        QCOMPARE(Button(panel, "Dismiss")->text(), QStringLiteral("Away"));
        QCOMPARE(panel->accessibleName(), QStringLiteral("Start"));
        const std::pair<std::string, QString> entries[] = {
            {"从对讲机读取(&R)\tCtrl+R", QStringLiteral("从对讲机读取 (Ctrl+R)")},
            {"サンプルを開く（&M）", QStringLiteral("サンプルを開く")},
            {"Save &As...", QStringLiteral("Save As...")},
            {"Sa&ve && Close", QStringLiteral("Save & Close")},
            {"Ends in &", QStringLiteral("Ends in &")},
        };
        for (const auto& [entry, shown] : entries) {
            QCOMPARE(ButtonTextOfMenuEntry(entry), shown);
        }
        const QList<QAction*> examples = m_Shell.App().MainFrame()->ExampleMenu()->actions();
        QCOMPARE(examples.size(), 1);
        QCOMPARE(examples.front()->text(), QStringLiteral("None here"));
        QVERIFY(!examples.front()->isEnabled());
    }

    // An example opens as a copy: no file of its own, so Save asks for a name and the example
    // is never written; a damaged one is refused and the document stays as it was.
    void examplesOpenAsCopiesAndADamagedOneChangesNothing() {
        std::filesystem::create_directories(m_Shell.Folder().File("examples"));
        QVERIFY(
            std::filesystem::copy_file(kChannelsFile, m_Shell.Folder().File("examples/demo.pgm")));
        m_Shell.Folder().Write("examples/broken.pgm", "not a radio file");
        m_Shell.Folder().Write("examples/notes.txt", "");
        const std::string before = m_Shell.Folder().Read("examples/demo.pgm");
        QVERIFY(m_Shell.Start());
        CMainFrame* frame = m_Shell.App().MainFrame();
        QStringList names;
        for (QAction* action : frame->ExampleMenu()->actions()) {
            names << action->text();
        }
        QCOMPARE(names, (QStringList{"broken.pgm", "demo.pgm"}));

        frame->ExampleMenu()->actions().at(1)->trigger();
        CHalvexDoc& document = m_Shell.App().Document();
        QCOMPARE(document.Image().bytes, m_Channels.image);
        QVERIFY(document.GetPathName().empty());
        QVERIFY(!document.IsModified());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Example demo.pgm - Title"));
        QVERIFY(!frame->GetStartPanel()->isVisible());
        FileDialog::SetNextFileName(std::nullopt);
        frame->OnCommand(kCommandSave);
        QCOMPARE(m_Shell.Folder().Read("examples/demo.pgm"), before);
        QVERIFY(frame->MenuAction(kCommandRecentFile) == nullptr);

        const std::array<uint8_t, kImageSize> held = document.Image().bytes;
        frame->ExampleMenu()->actions().at(0)->trigger();
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Stop);
        QCOMPARE(document.Image().bytes, held);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Example demo.pgm - Title"));
    }

private:
    // The panel's buttons are named "start" and their command, or "startDismiss".
    static QPushButton* Button(StartPanel* panel, const QString& name) {
        auto* button = panel->findChild<QPushButton*>(QStringLiteral("start") + name);
        if (button == nullptr) {
            qFatal("no button %s", qPrintable(name));
        }
        return button;
    }
    static QPushButton* Button(StartPanel* panel, int command) {
        return Button(panel, QString::number(command));
    }

    halvex::test::ShellFixture m_Shell;
    PgmFile m_Channels;
};

QTEST_MAIN(StartPanelTest)
#include "start_panel_ui_test.moc"
