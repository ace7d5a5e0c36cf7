// Switching languages: the next-language command, the language dialog and the relabelling of
// menu, title and tabs that follows, with the selected tab kept.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

#include "app/app_globals.h"
#include "app/halvex_app.h"
#include "app/language_dialog.h"
#include "app/main_frame.h"
#include "resources/command_ids.h"
#include "resources/ids/function_page_ids.h"
#include "shell_test_support.h"
#include "view/main_view.h"
#include "view/main_view_page.h"
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
    void initTestCase() {
        UseTemporarySettings(m_SettingsHome);
        MessageBox::SetUnattended(true);
        FileDialog::SetUnattended(true);
    }
    void init() {
        m_Dir = std::make_unique<TempModuleDir>();
        m_Dir->Write("setting.ini", "[setup]\nlanguage=a\n");
        m_Dir->Write("a.lang", LanguageFile("Alpha", "Title A", {}, "1028=Scan Alpha\n"));
        m_Dir->Write("b.lang", LanguageFile("Beta", "Title B", {}, "1028=Scan Beta\n"));
    }
    void cleanup() {
        m_App.reset();
        QVERIFY(SeamsDrained());
    }

    void nextLanguageRelabelsEverythingAndKeepsTheTab() {
        Start();
        CMainFrame* frame = m_App->MainFrame();
        CPageTabCtrl* tabs = frame->View()->TabControl();
        QCOMPARE(tabs->count(), 3);
        tabs->setCurrentIndex(1);
        QCOMPARE(ScanModeLabel(frame->View()), QStringLiteral("Scan Alpha"));
        MainViewPage* functions = frame->View()->Pages()[1];

        frame->ToolbarButton(kCommandNextLanguage)->click();
        QCOMPARE(g_LanguagePath, m_Dir->FilePath("b.lang"));
        QVERIFY(m_Dir->Read("setting.ini").contains("language=b"));
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
        QCOMPARE(g_LanguagePath, m_Dir->FilePath("a.lang"));
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled Alpha - Title A"));

        // A new document reloads the pages it has instead of adding a second set.
        m_Dir->Write("a.lang", LanguageFile("Alpha", "Title A", {}, "1028=Scan Alpha again\n"));
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        frame->OnCommand(kCommandNew);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(frame->View()->Pages()[1], functions);
        QCOMPARE(ScanModeLabel(frame->View()), QStringLiteral("Scan Alpha again"));
    }

    void removedLanguageFileMovesToTheFirst() {
        Start();
        QFile::remove(QString::fromStdString(m_Dir->FilePath("a.lang")));
        m_Dir->Write("c.lang", LanguageFile("Gamma", "Title C"));
        m_App->MainFrame()->OnCommand(kCommandNextLanguage);
        QCOMPARE(g_LanguagePath, m_Dir->FilePath("b.lang"));
    }

    void withoutLanguageFilesNextLanguageDoesNothing() {
        QFile::remove(QString::fromStdString(m_Dir->FilePath("a.lang")));
        QFile::remove(QString::fromStdString(m_Dir->FilePath("b.lang")));
        Start();
        std::string before = g_LanguagePath;
        m_App->MainFrame()->OnCommand(kCommandNextLanguage);
        QCOMPARE(g_LanguagePath, before);
        QCOMPARE(m_Dir->Read("setting.ini"), QByteArray("[setup]\nlanguage=a\n"));
    }

    void dialogListsDisplayNamesAndSwitches() {
        m_Dir->Write("c.lang", "[String]\nIDS_WINDOWNAME=No face\n");
        m_Dir->Write("d.lang", "[Face]\ndisp=\n");
        Start();
        CLanguageDlg dialog(m_App->MainFrame(), [this] { m_App->ApplyLanguage(); });
        auto* list = FindControl<QComboBox>(&dialog, kLanguageListId);
        QStringList shown;
        for (int index = 0; index < list->count(); ++index) {
            shown << list->itemText(index);
        }
        QCOMPARE(shown, (QStringList{"-----", "Alpha", "Beta"}));
        QCOMPARE(list->currentText(), QStringLiteral("Alpha"));
        list->setCurrentIndex(list->findText("Beta"));
        dialog.accept();
        QCOMPARE(g_LanguagePath, m_Dir->FilePath("b.lang"));
        QCOMPARE(m_App->MainFrame()->windowTitle(), QStringLiteral("Untitled Beta - Title B"));
    }

    void sameDisplayNameChoosesTheFirstFile() {
        m_Dir->Write("x.lang", LanguageFile("Same", "Title X"));
        m_Dir->Write("y.lang", LanguageFile("Same", "Title Y"));
        Start();
        CLanguageDlg dialog(m_App->MainFrame(), [this] { m_App->ApplyLanguage(); });
        auto* list = FindControl<QComboBox>(&dialog, kLanguageListId);
        list->setCurrentIndex(list->findText("Same"));
        dialog.accept();
        QCOMPARE(g_LanguagePath, m_Dir->FilePath("x.lang"));
    }

    void okWithoutChoiceChangesNothing() {
        m_Dir->Write("setting.ini", "[setup]\nlanguage=gone\n");
        Start();
        int applied = 0;
        CLanguageDlg dialog(m_App->MainFrame(), [&] { ++applied; });
        QCOMPARE(FindControl<QComboBox>(&dialog, kLanguageListId)->currentIndex(), -1);
        dialog.accept();
        QCOMPARE(applied, 0);
        QCOMPARE(g_LanguagePath, m_Dir->FilePath("gone.lang"));
        QCOMPARE(m_Dir->Read("setting.ini"), QByteArray("[setup]\nlanguage=gone\n"));
    }

private:
    void Start() {
        m_App = std::make_unique<CHalvexApp>();
        QVERIFY(m_App->InitInstance(m_Dir->Path(), {"halvex"}));
    }

    QTemporaryDir m_SettingsHome;
    std::unique_ptr<TempModuleDir> m_Dir;
    std::unique_ptr<CHalvexApp> m_App;
};

QTEST_MAIN(LanguageTest)
#include "language_ui_test.moc"
