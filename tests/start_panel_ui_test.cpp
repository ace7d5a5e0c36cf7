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
#include "app/recent_files.h"
#include "app/start_panel.h"
#include "codeplug/pgm_file.h"
#include "resources/command_ids.h"
#include "support/shell_fixture.h"

namespace {

const std::string kChannelsFile = std::string(HALVEX_TEST_DATA_DIR) + "/pgm/v1_05_channels.pgm";

enum class Step { Nothing, Dismiss, ReadChannels, ReadEmpty, TypeChannels, OpenButton };

}  // namespace

Q_DECLARE_METATYPE(Step)

class StartPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        MessageBox::ClearShown();
        QFile::remove(RecentFileList::FilePath());
        m_Shell.NewFolder();
        m_Shell.Folder().WriteSettings({{"language", "test"}});
        m_Shell.Folder().Write(
            "test.lang",
            halvex::test::LanguageFile(
                "Test", "Title",
                "IDS_WARN_CLEAR=Clear?\nIDS_START_TITLE=Start\nIDS_START_DISMISS=Away\n"
                "IDS_EXAMPLE_SOURCE=Example %s\nIDS_NO_EXAMPLES=None here\n"
                "Menu_Program_ReadData=&Read it\\tCtrl+R\nMenu_File_Open=Op&en...\\tCtrl+O\n"
                "Menu_Program_CheckConnection=Check(&K)...\n"));
        std::string error;
        QVERIFY(LoadPgmFile(kChannelsFile, &m_Channels, &error) == PgmLoadResult::Loaded);
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    void panelFollowsTheDocumentAndStaysAwayOnceGone_data() {
        QTest::addColumn<bool>("startWithChannels");
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("shownAfterStep");
        QTest::addColumn<bool>("shownAfterNew");
        QTest::addRow("empty, left alone") << false << Step::Nothing << true << true;
        QTest::addRow("empty, dismissed") << false << Step::Dismiss << false << false;
        QTest::addRow("empty, a radio with channels read")
            << false << Step::ReadChannels << false << false;
        QTest::addRow("empty, an empty radio read") << false << Step::ReadEmpty << true << true;
        // Typing leaves the table where it is; the panel is gone from the next document on.
        QTest::addRow("empty, channels typed in") << false << Step::TypeChannels << true << false;
        QTest::addRow("empty, a file opened from it")
            << false << Step::OpenButton << false << false;
        QTest::addRow("a file with channels at start") << true << Step::Nothing << false << false;
    }
    void panelFollowsTheDocumentAndStaysAwayOnceGone() {
        QFETCH(bool, startWithChannels);
        QFETCH(Step, step);
        QFETCH(bool, shownAfterStep);
        QFETCH(bool, shownAfterNew);
        QVERIFY(m_Shell.Start(startWithChannels ? QStringList{QString::fromStdString(kChannelsFile)}
                                                : QStringList{}));
        CMainFrame* frame = m_Shell.App().MainFrame();
        StartPanel* panel = frame->GetStartPanel();
        QCOMPARE(panel->isVisible(), !startWithChannels);
        CHalvexDoc& document = m_Shell.App().Document();
        std::array<uint8_t, kImageSize> empty = document.bytes;
        switch (step) {
            case Step::Nothing:
                break;
            case Step::Dismiss:
                Button(panel, QStringLiteral("startDismiss"))->click();
                break;
            case Step::ReadChannels:
                m_Shell.App().OnRadioRead(m_Channels.image);
                break;
            case Step::ReadEmpty:
                m_Shell.App().OnRadioRead(empty);
                break;
            case Step::TypeChannels:
                document.bytes = m_Channels.image;
                document.SetModifiedFlag();
                break;
            case Step::OpenButton:
                FileDialog::SetNextFileName(kChannelsFile);
                Button(panel, QStringLiteral("start%1").arg(kCommandOpen))->click();
                QCOMPARE(document.GetPathName(), kChannelsFile);
                break;
        }
        QCOMPARE(panel->isVisible(), shownAfterStep);
        // The smallest window keeps the pages' room whole beside the panel, and no more.
        QCOMPARE(frame->minimumHeight() > kFrameMinimumHeight, shownAfterStep);
        // A new, empty document brings it back only when no document held channels yet.
        document.SetModifiedFlag(false);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        frame->OnCommand(kCommandNew);
        QCOMPARE(panel->isVisible(), shownAfterNew);
        MessageBox::ClearShown();
    }

    // The buttons carry the menu's words and shortcuts, without the accelerator marks.
    void buttonsAreNamedAsTheMenuAndRunItsCommands() {
        QVERIFY(m_Shell.Start());
        StartPanel* panel = m_Shell.App().MainFrame()->GetStartPanel();
        QCOMPARE(Button(panel, QStringLiteral("start%1").arg(kCommandReadRadio))->text(),
                 QStringLiteral("Read it (Ctrl+R)"));
        QCOMPARE(Button(panel, QStringLiteral("start%1").arg(kCommandOpen))->text(),
                 QStringLiteral("Open... (Ctrl+O)"));
        QCOMPARE(Button(panel, QStringLiteral("start%1").arg(kCommandCheckConnection))->text(),
                 QStringLiteral("Check..."));
        QCOMPARE(Button(panel, QStringLiteral("startDismiss"))->text(), QStringLiteral("Away"));
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
    }

    // An example opens as a copy: no file of its own, so Save asks for a name and the example
    // is never written; a damaged one is refused and the document stays as it was.
    void examplesOpenAsCopiesAndADamagedOneChangesNothing() {
        std::string error;
        std::filesystem::create_directories(m_Shell.Folder().File("examples"));
        QVERIFY(SavePgmFile(m_Shell.Folder().File("examples/demo.pgm"), m_Channels, &error));
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
        QCOMPARE(document.bytes, m_Channels.image);
        QVERIFY(document.GetPathName().empty());
        QVERIFY(!document.IsModified());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Example demo.pgm - Title"));
        QVERIFY(!frame->GetStartPanel()->isVisible());
        FileDialog::SetNextFileName(std::nullopt);
        frame->OnCommand(kCommandSave);
        QCOMPARE(m_Shell.Folder().Read("examples/demo.pgm"), before);
        QVERIFY(frame->MenuAction(kCommandRecentFile) == nullptr);

        const std::array<uint8_t, kImageSize> held = document.bytes;
        frame->ExampleMenu()->actions().at(0)->trigger();
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Stop);
        QCOMPARE(document.bytes, held);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Example demo.pgm - Title"));
        MessageBox::ClearShown();
    }

    void noExamplesIsSaidInTheMenu() {
        QVERIFY(m_Shell.Start());
        const QList<QAction*> entries = m_Shell.App().MainFrame()->ExampleMenu()->actions();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.front()->text(), QStringLiteral("None here"));
        QVERIFY(!entries.front()->isEnabled());
    }

private:
    static QPushButton* Button(StartPanel* panel, const QString& name) {
        auto* button = panel->findChild<QPushButton*>(name);
        if (button == nullptr) {
            qFatal("no button %s", qPrintable(name));
        }
        return button;
    }

    halvex::test::ShellFixture m_Shell;
    PgmFile m_Channels;
};

QTEST_MAIN(StartPanelTest)
#include "start_panel_ui_test.moc"
