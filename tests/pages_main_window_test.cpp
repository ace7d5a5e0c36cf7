// The functions and VFO pages inside the running main window: tabs of the main view that
// reload on every whole-document change and leave the menu shortcuts working.
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "editors/function_page.h"
#include "editors/vfo_page.h"
#include "page_test_support.h"
#include "resources/command_ids.h"
#include "shell_test_support.h"
#include "view/main_view.h"
#include "view/main_view_page.h"
#include "view/page_tab_control.h"

namespace {

template <typename Page>
Page* FindPage(CHalvexApp& app) {
    for (MainViewPage* page : app.MainFrame()->View()->Pages()) {
        if (auto* found = dynamic_cast<Page*>(page)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

class PagesMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        UseTemporarySettings(m_SettingsHome);
        MessageBox::SetUnattended(true);
        FileDialog::SetUnattended(true);
    }

    void init() {
        m_ModuleDir = std::make_unique<TempModuleDir>();
        for (const char* name : {"setting.ini", "english.lang", "chinese.lang"}) {
            m_ModuleDir->CopyFromBin(QString::fromLatin1(name));
        }
        m_App = std::make_unique<CHalvexApp>();
        QVERIFY(m_App->InitInstance(m_ModuleDir->Path(), {QStringLiteral("halvex")}));
        m_Functions = FindPage<CFunctionPage>(*m_App);
        m_Vfo = FindPage<CVfoPage>(*m_App);
        QVERIFY(m_Functions != nullptr && m_Vfo != nullptr);
    }

    void cleanup() {
        m_App->Document().SetModifiedFlag(false);
        m_App.reset();
        m_ModuleDir.reset();
    }

    void documentChangesReloadThePagesAndKeepTheTab() {
        CPageTabCtrl* tabs = m_App->MainFrame()->View()->TabControl();
        QCOMPARE(tabs->tabText(tabs->indexOf(m_Functions)),
                 CHalvexView::TabCaption("IDS_FUNCTION"));
        QCOMPARE(tabs->tabText(tabs->indexOf(m_Vfo)), CHalvexView::TabCaption("IDS_VFOFREQ"));
        tabs->setCurrentWidget(m_Vfo);
        m_App->Document().SetFrequencyText(kVfoF2, 1, "438.50000");
        m_App->Document().SetSquelch(7);
        m_App->ApplyLanguage();
        QCOMPARE(tabs->currentWidget(), m_Vfo);
        QCOMPARE(FindControl<QLineEdit>(m_Vfo, 1117)->text(), QStringLiteral("438.50000"));
        QCOMPARE(FindControl<QComboBox>(m_Functions, 1026)->currentIndex(), 7);
    }

    void shortcutsWorkWhileAPageHasTheFocus() {
        QVERIFY(ShowActive(m_App->MainFrame()));
        m_App->MainFrame()->View()->TabControl()->setCurrentWidget(m_Functions);
        int saves = 0;
        m_App->MainFrame()->SetCommandHandler(kCommandSave, [&saves] { ++saves; });
        auto* edit = FindControl<QLineEdit>(m_Functions, 1061);
        TypeInto(edit, "12");
        QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saves, 1);
        QCOMPARE(edit->text(), QStringLiteral("12"));
    }

private:
    QTemporaryDir m_SettingsHome;
    std::unique_ptr<TempModuleDir> m_ModuleDir;
    std::unique_ptr<CHalvexApp> m_App;
    CFunctionPage* m_Functions = nullptr;
    CVfoPage* m_Vfo = nullptr;
};

QTEST_MAIN(PagesMainWindowTest)
#include "pages_main_window_test.moc"
