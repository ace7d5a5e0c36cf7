// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the desktop program in a temporary program directory.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "app/about_dialog.h"
#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/pgm_file.h"
#include "common/main_view_page.h"
#include "config/app_globals.h"
#include "editors/channel_page.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "resources/frame_resources.h"
#include "resources/ids/about_ids.h"
#include "resources/ids/function_page_ids.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

const QStringList kNoArguments{QStringLiteral("halvex")};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(halvex::test::SeamsDrained()); }

    void missingSettingsShowsOnlyItsMessage() {
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        CHalvexApp app;
        QVERIFY(!app.InitInstance(dir.Path(), kNoArguments));
        QCOMPARE(app.MainFrame(), nullptr);
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QCOMPARE(MessageBox::Shown()[0].text, std::string("Can not find the file setting.ini!"));
        QCOMPARE(MessageBox::Shown()[0].icon, MessageIcon::Stop);
    }

    void emptySettingsChooseLanguageByLocale_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QString>("title");
        QTest::newRow("english elsewhere")
            << QByteArray("de_DE.UTF-8") << "Untitled English - English title";
        QTest::newRow("chinese for 2052")
            << QByteArray("zh_CN.UTF-8") << "Untitled 中文 - 中文标题";
    }
    void emptySettingsChooseLanguageByLocale() {
        QFETCH(QByteArray, locale);
        QFETCH(QString, title);
        qputenv("LC_ALL", locale);
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        dir.Write("setting.ini", "");
        dir.Write("english.lang",
                  halvex::test::LanguageFile("English", "English title", {}, {}, "en"));
        dir.Write("chinese.lang", halvex::test::LanguageFile("中文", "中文标题", {}, {}, "zh_CN"));
        CHalvexApp app;
        QVERIFY(app.InitInstance(dir.Path(), kNoArguments));
        qunsetenv("LC_ALL");
        QCOMPARE(app.MainFrame()->windowTitle(), title);
        QCOMPARE(app.MainFrame()->PortPaneText(), QStringLiteral("COM1"));
        QCOMPARE(g_ChannelCount, 1);
        // The chosen default is not written back.
        QCOMPARE(dir.Read("setting.ini"), std::string());
        QVERIFY(MessageBox::Shown().empty());
        QVERIFY(app.MainFrame()->StatusNoteText().contains(
            "setting.ini has no [setup] section: 1 channel, defaults used"));
    }

    void settingsThatAreNoTextStopStartUpByName() {
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        const std::string contents("[setup]\ncom=1\n\0\x01", 16);
        dir.Write("setting.ini", contents);
        CHalvexApp app;
        QVERIFY(!app.InitInstance(dir.Path(), kNoArguments));
        QCOMPARE(app.MainFrame(), nullptr);
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QVERIFY(MessageBox::Shown()[0].text.find("setting.ini is not a settings file") !=
                std::string::npos);
        QCOMPARE(dir.Read("setting.ini"), contents);
    }

    void portPaneShowsTheConfiguredPort() {
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        dir.WriteSettings({{"com", 4}, {"language", "english"}, {"readtime", "-5"}});
        CHalvexApp app;
        QVERIFY(app.InitInstance(dir.Path(), kNoArguments));
        QCOMPARE(app.MainFrame()->PortPaneText(), QStringLiteral("COM4"));
        // A wrong value elsewhere is replaced, said, and leaves the port alone.
        QVERIFY(app.MainFrame()->StatusNoteText().contains(
            "readtime=-5 is not allowed: readtime takes a whole number from 1 to 600000; 50 is "
            "used instead"));
        app.MainFrame()->SetPortPane(12);
        QCOMPARE(app.MainFrame()->PortPaneText(), QStringLiteral("COM12"));
    }

    void missingLanguageFileReadsNotFoundButKeepsDialogTexts() {
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        dir.WriteSettings({{"language", "klingon"}});
        CHalvexApp app;
        QVERIFY(app.InitInstance(dir.Path(), kNoArguments));
        CMainFrame* frame = app.MainFrame();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Not Found - Not Found"));
        for (QAction* menu : frame->menuBar()->actions()) {
            QCOMPARE(menu->text(), QStringLiteral("Not Found"));
        }
        for (const MenuResource& menu : MainMenuResource()) {
            for (const MenuItemResource& item : menu.items) {
                if (item.langKey != nullptr && item.commandId != kCommandRecentFile) {
                    QCOMPARE(frame->MenuAction(item.commandId)->text(),
                             QStringLiteral("Not Found"));
                }
            }
        }
        QCOMPARE(frame->View()->TabControl()->tabText(0), QStringLiteral("     Not Found     "));
        CAboutDlg about(frame);
        QCOMPARE(FindControl<QLabel>(&about, kAboutProductId)->text(),
                 QStringLiteral("Halvex " HALVEX_VERSION " 版"));
        QCOMPARE(FindControl<QPushButton>(&about, kIdOk)->text(), QStringLiteral("确定"));
        QCOMPARE(about.windowTitle(), QStringLiteral("关于 Halvex"));
    }

    // The licence, "or later" included, in every shipped language and within the box.
    void aboutBoxStatesTheLicence_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("terms");
        QTest::newRow("english") << "english"
                                 << "GNU GPL, version 3 or later";
        QTest::newRow("chinese") << "chinese"
                                 << "GNU GPL 第 3 版或更新版本";
    }
    void aboutBoxStatesTheLicence() {
        QFETCH(QString, language);
        QFETCH(QString, terms);
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        dir.CopyFromBin({"setting.ini", "english.lang", "chinese.lang"});
        dir.ChangeSettings({{"language", language.toStdString()}});
        CHalvexApp app;
        QVERIFY(app.InitInstance(dir.Path(), kNoArguments));
        CAboutDlg about(app.MainFrame());
        auto* line = FindControl<QLabel>(&about, kAboutLicenseId);
        QVERIFY2(line->text().contains(terms), qPrintable(line->text()));
        QVERIFY(about.rect().contains(line->geometry()));
        QVERIFY(line->heightForWidth(line->width()) <= line->height());
    }

    void fileOnCommandLineOpensWithoutQuestion() {
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        dir.WriteSettings({{"language", "english"}});
        PgmFile file = NewPgmFile();
        file.image[0x0D00] = 0x07;
        std::string error;
        QVERIFY(SavePgmFile(dir.File("radio.pgm"), file, &error));
        CHalvexApp app;
        QVERIFY(app.InitInstance(dir.Path(),
                                 {"halvex", QString::fromStdString(dir.File("radio.pgm"))}));
        QVERIFY(MessageBox::Shown().empty());
        QCOMPARE(app.Document().GetPathName(), dir.File("radio.pgm"));
        QCOMPARE(app.Document().Image().bytes[0x0D00], uint8_t(0x07));
        QVERIFY(!app.Document().IsModified());
        QCOMPARE(app.MainFrame()->windowTitle(), QStringLiteral("radio.pgm - Not Found"));
    }

    // Whatever is wrong with the file named at start-up, the user reads why and gets the
    // program as it starts without a file.
    void refusedFileOnCommandLineStartsAsWithoutOne_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("says");
        QTest::newRow("foreign file")
            << "other.pgm" << QByteArray(kPgmFileSize, 'x') << "Not radio data";
        QTest::newRow("cut short") << "short.pgm" << QByteArray(100, 'x') << "";
        QTest::newRow("missing") << "gone.pgm" << QByteArray() << "gone.pgm";
        QTest::newRow("a folder") << "folder.pgm" << QByteArray() << "";
    }
    void refusedFileOnCommandLineStartsAsWithoutOne() {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QString, says);
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        dir.WriteSettings({{"language", "test"}});
        dir.Write("test.lang",
                  halvex::test::LanguageFile("Test", "Title", "IDS_WARN_LOAD=Not radio data\n"));
        const std::string path = dir.File(name.toStdString());
        if (!contents.isEmpty()) {
            dir.Write(name.toStdString(), contents.toStdString());
        } else if (name == "folder.pgm") {
            QVERIFY(std::filesystem::create_directory(path));
        }
        CHalvexApp app;
        QVERIFY(app.InitInstance(dir.Path(), {"halvex", QString::fromStdString(path)}));
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Stop);
        QVERIFY2(QString::fromStdString(MessageBox::Shown().back().text).contains(says),
                 MessageBox::Shown().back().text.c_str());
        QVERIFY(app.MainFrame()->isVisible());
        QCOMPARE(app.MainFrame()->windowTitle(), QStringLiteral("Untitled Test - Title"));
        QVERIFY(app.Document().GetPathName().empty());
        QVERIFY(!app.Document().IsModified());
        QCOMPARE(app.MainFrame()->View()->Pages().size(), size_t{3});
    }

    // The table has the focus on channel 1 from the start; Ctrl+Tab comes back to it, and no
    // Tab stop is a place that shows no focus.
    void startsOnTheTableAndEveryTabStopShows() {
        halvex::test::ModuleFolder& dir = m_Shell.NewFolder();
        dir.WriteSettings({{"language", "english"}});
        CHalvexApp app;
        QVERIFY(app.InitInstance(dir.Path(), kNoArguments));
        QVERIFY(QTest::qWaitForWindowActive(app.MainFrame()));
        CHalvexView* view = app.MainFrame()->View();
        CGridCtrl* grid = static_cast<CChannelPage*>(view->Pages()[0])->Grid();
        QTRY_VERIFY(grid->hasFocus());
        QCOMPARE(grid->GetFocusCell().row, 1);
        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        }
        QCOMPARE(view->TabControl()->currentIndex(), 0);
        QVERIFY(grid->hasFocus());
        view->TabControl()->setCurrentIndex(1);
        FindControl<QWidget>(view->Pages()[1]->Widget(), kSideToneId)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != view);
    }

private:
    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(StartupTest)
#include "startup_ui_test.moc"
