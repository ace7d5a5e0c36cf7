// SPDX-License-Identifier: GPL-3.0-or-later
// Switching languages: the next-language command, the language dialog and the relabelling of
// menu, title and tabs that follows, with the selected tab kept.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/language_dialog.h"
#include "app/main_frame.h"
#include "common/main_view_page.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "resources/command_ids.h"
#include "resources/ids/function_page_ids.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

// Relabelled from the language's resource text 1028.
QString ScanModeLabel(CHalvexView* view) {
    return FindControl<QLabel>(view->Pages()[1]->Widget(), kScanModeId)->text();
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolder();
        m_Shell.Folder().WriteSettings({{"language", "a"}});
        m_Shell.Folder().Write(
            "a.lang", halvex::test::LanguageFile("Alpha", "Title A", {}, "1028=Scan Alpha\n"));
        m_Shell.Folder().Write(
            "b.lang", halvex::test::LanguageFile("Beta", "Title B", {}, "1028=Scan Beta\n"));
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    void nextLanguageRelabelsEverythingAndKeepsTheTab() {
        Start();
        CMainFrame* frame = m_Shell.App().MainFrame();
        CPageTabCtrl* tabs = frame->View()->TabControl();
        QCOMPARE(tabs->count(), 3);
        tabs->setCurrentIndex(1);
        QCOMPARE(ScanModeLabel(frame->View()), QStringLiteral("Scan Alpha"));
        MainViewPage* functions = frame->View()->Pages()[1];

        frame->ToolbarButton(kCommandNextLanguage)->click();
        QCOMPARE(g_LanguagePath, m_Shell.Folder().File("b.lang"));
        QVERIFY(m_Shell.Folder().Read("setting.ini").find("language=b") != std::string::npos);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled Beta - Title B"));
        QCOMPARE(frame->menuBar()->actions()[0]->text(), QStringLiteral("File Beta"));
        QCOMPARE(frame->MenuAction(kCommandNew)->text(), QStringLiteral("New Beta"));
        QCOMPARE(frame->MenuAction(kCommandOpen)->text(), QStringLiteral("Not Found"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("     Chan Beta     "));
        QCOMPARE(tabs->tabText(1), QStringLiteral("     Func Beta     "));
        QCOMPARE(tabs->tabText(2), QStringLiteral("     Vfo Beta     "));
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(ScanModeLabel(frame->View()), QStringLiteral("Scan Beta"));

        // The last file wraps to the first.
        frame->OnCommand(kCommandNextLanguage);
        QCOMPARE(g_LanguagePath, m_Shell.Folder().File("a.lang"));
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled Alpha - Title A"));

        // A new document reloads the pages it has instead of adding a second set.
        m_Shell.Folder().Write("a.lang", halvex::test::LanguageFile("Alpha", "Title A", {},
                                                                    "1028=Scan Alpha again\n"));
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        frame->OnCommand(kCommandNew);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(frame->View()->Pages()[1], functions);
        QCOMPARE(ScanModeLabel(frame->View()), QStringLiteral("Scan Alpha again"));
    }

    // Qt's own texts (standard buttons, dialogs, weekdays) follow the language file's locale.
    void qtTextsSwitchWithTheLanguage() {
        m_Shell.Folder().Write("b.lang",
                               halvex::test::LanguageFile("Beta", "Title B", {}, {}, "zh_CN"));
        m_Shell.Folder().Write(
            "c.lang", halvex::test::LanguageFile("Gamma", "Title C", {}, {}, "zh-CN.UTF-8"));
        Start();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        m_Shell.App().MainFrame()->OnCommand(kCommandNextLanguage);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("\u53d6\u6d88"));
        QCOMPARE(QLocale().dayName(1), QStringLiteral("\u661f\u671f\u4e00"));
        // A locale Qt cannot read leaves Qt in English rather than in the last language.
        m_Shell.App().MainFrame()->OnCommand(kCommandNextLanguage);
        QCOMPARE(g_LanguagePath, m_Shell.Folder().File("c.lang"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QCOMPARE(QLocale().dayName(1), QStringLiteral("Monday"));
    }

    void removedLanguageFileMovesToTheFirst() {
        Start();
        QFile::remove(m_Shell.FilePath("a.lang"));
        m_Shell.Folder().Write("c.lang", halvex::test::LanguageFile("Gamma", "Title C"));
        m_Shell.App().MainFrame()->OnCommand(kCommandNextLanguage);
        QCOMPARE(g_LanguagePath, m_Shell.Folder().File("b.lang"));
    }

    void withoutLanguageFilesNextLanguageDoesNothing() {
        QFile::remove(m_Shell.FilePath("a.lang"));
        QFile::remove(m_Shell.FilePath("b.lang"));
        Start();
        std::string before = g_LanguagePath;
        m_Shell.App().MainFrame()->OnCommand(kCommandNextLanguage);
        QCOMPARE(g_LanguagePath, before);
        QCOMPARE(m_Shell.Folder().Read("setting.ini"), std::string("[setup]\nlanguage=a\n"));
    }

    void dialogListsDisplayNamesAndSwitches() {
        m_Shell.Folder().Write("c.lang", "[String]\nIDS_WINDOWNAME=No face\n");
        m_Shell.Folder().Write("d.lang", "[Face]\ndisp=\n");
        Start();
        CLanguageDlg dialog(m_Shell.App().MainFrame(), [this] { m_Shell.App().ApplyLanguage(); });
        auto* list = FindControl<QComboBox>(&dialog, kLanguageListId);
        QStringList shown;
        for (int index = 0; index < list->count(); ++index) {
            shown << list->itemText(index);
        }
        QCOMPARE(shown, (QStringList{"-----", "Alpha", "Beta"}));
        QCOMPARE(list->currentText(), QStringLiteral("Alpha"));
        list->setCurrentIndex(list->findText("Beta"));
        dialog.accept();
        QCOMPARE(g_LanguagePath, m_Shell.Folder().File("b.lang"));
        QCOMPARE(m_Shell.App().MainFrame()->windowTitle(),
                 QStringLiteral("Untitled Beta - Title B"));
    }

    void dialogListsEveryShippedLanguage() {
        QDir bin(QStringLiteral(HALVEX_BIN_DIR));
        QStringList expected;
        for (const QString& file : bin.entryList({QStringLiteral("*.lang")}, QDir::Files)) {
            m_Shell.Folder().CopyFromBin({file.toStdString()});
            expected << QString::fromStdString(LoadLangText(bin.filePath(file).toStdString(),
                                                            "Face", "disp", "", kFaceBufferSize));
        }
        QFile::remove(m_Shell.FilePath("a.lang"));
        QFile::remove(m_Shell.FilePath("b.lang"));
        m_Shell.Folder().WriteSettings({{"language", "english"}});
        Start();
        CLanguageDlg dialog(m_Shell.App().MainFrame(), [this] { m_Shell.App().ApplyLanguage(); });
        auto* list = FindControl<QComboBox>(&dialog, kLanguageListId);
        QStringList shown;
        for (int index = 0; index < list->count(); ++index) {
            shown << list->itemText(index);
        }
        expected.sort();
        QCOMPARE(shown, expected);
        QCOMPARE(list->currentText(), QStringLiteral("English"));
        // Open, the list shows them all without scrolling.
        QVERIFY(list->maxVisibleItems() >= list->count());
    }

    void sameDisplayNameChoosesTheFirstFile() {
        m_Shell.Folder().Write("x.lang", halvex::test::LanguageFile("Same", "Title X"));
        m_Shell.Folder().Write("y.lang", halvex::test::LanguageFile("Same", "Title Y"));
        Start();
        CLanguageDlg dialog(m_Shell.App().MainFrame(), [this] { m_Shell.App().ApplyLanguage(); });
        auto* list = FindControl<QComboBox>(&dialog, kLanguageListId);
        list->setCurrentIndex(list->findText("Same"));
        dialog.accept();
        QCOMPARE(g_LanguagePath, m_Shell.Folder().File("x.lang"));
    }

    void okWithoutChoiceChangesNothing() {
        m_Shell.Folder().WriteSettings({{"language", "gone"}});
        Start();
        int applied = 0;
        CLanguageDlg dialog(m_Shell.App().MainFrame(), [&] { ++applied; });
        QCOMPARE(FindControl<QComboBox>(&dialog, kLanguageListId)->currentIndex(), -1);
        dialog.accept();
        QCOMPARE(applied, 0);
        QCOMPARE(g_LanguagePath, m_Shell.Folder().File("gone.lang"));
        QCOMPARE(m_Shell.Folder().Read("setting.ini"), std::string("[setup]\nlanguage=gone\n"));
    }

private:
    void Start() { QVERIFY(m_Shell.Start()); }

    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(LanguageTest)
#include "language_ui_test.moc"
