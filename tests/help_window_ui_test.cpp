// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: F1 opens the guide of the language in use at the section of the page or
// dialog in use, beside a modal dialog too; Back, Forward and Find; a missing guide is named.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <algorithm>

#include "app/halvex_app.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "common/dialog_builder.h"
#include "config/language.h"
#include "editors/channel_commit.h"
#include "resources/command_ids.h"
#include "resources/ids/password_ids.h"
#include "support/shell_fixture.h"
#include "testmode/access_code.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

// The heading text of each section anchor, read from the page itself.
QString HeadingOf(const std::string& page, const QString& anchor) {
    QFile file(QString::fromStdString(page));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpression heading(QStringLiteral("<h[1-6] id=\"%1\">([^<]*)</h").arg(anchor));
    return heading.match(html).captured(1);
}

// The text of the block at the top of the help window's view.
QString TopLine(const CHelpWindow& help) {
    return help.Browser()->cursorForPosition(QPoint(4, 4)).block().text();
}

// Each page and dialog F1 is pressed in, and the section of the guide it opens.
struct HelpPlace {
    const char* name;
    int page;
    int command;
    const char* dialog;
    const char* section;
};

constexpr HelpPlace kHelpPlaces[] = {
    {"channel table", 0, 0, "", "channels"},
    {"optional functions", 1, 0, "", "function"},
    {"vfo", 2, 0, "", "vfo"},
    {"fm presets", -1, kCommandRadiogram, "CRadiogramDlg", "fm"},
    {"read", -1, kCommandReadRadio, "CTransferDlg", "read"},
    {"write", -1, kCommandWriteRadio, "CTransferDlg", "write"},
    {"compare", -1, kCommandCompareRadio, "CTransferDlg", "compare"},
    {"check connection", -1, kCommandCheckConnection, "CDoctorDlg", "doctor"},
    {"port", -1, kCommandPort, "CPortDlg", "cables"},
    {"station", -1, kCommandProgrammingStation, "CStationDlg", "station"},
    {"test mode code", -1, kCommandTestMode, "CPasswordDlg", "testmode"},
    {"test mode", -1, kCommandTestMode, "CTestModeDlg", "testmode"},
    {"csv import", -1, kCommandImportChannels, "CChannelImportDlg", "csv"},
    {"configuration import", -1, kCommandImportConfig, "CConfigImportDlg", "text"},
    {"language", -1, kCommandLanguage, "CLanguageDlg", "language"},
};

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        halvex::test::ModuleFolder& folder = m_Shell.NewFolder();
        folder.CopyFromBin(
            {"setting.ini", "english.lang", "chinese.lang", "english.html", "chinese.html"});
        folder.ChangeSettings({{"language", "english"}, {"searchcom", 0}, {"com", 1}});
        QVERIFY(m_Shell.Start());
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    void f1OpensTheSectionInUse_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("section");
        for (const HelpPlace& place : kHelpPlaces) {
            QTest::addRow("english %s", place.name)
                << "english" << place.page << place.command << place.dialog << place.section;
        }
        // Which section a place opens does not depend on the language: another language's
        // guide is opened at a page's section and at a dialog's.
        for (const HelpPlace& place : {kHelpPlaces[0], kHelpPlaces[8]}) {
            QTest::addRow("chinese %s", place.name)
                << "chinese" << place.page << place.command << place.dialog << place.section;
        }
    }
    void f1OpensTheSectionInUse() {
        QFETCH(QString, language);
        QFETCH(int, page);
        QFETCH(int, command);
        QFETCH(QString, dialog);
        QFETCH(QString, section);
        QVERIFY(m_Shell.UseLanguage(language.toStdString() + ".lang"));
        if (page >= 0) {
            m_Shell.App().MainFrame()->View()->TabControl()->setCurrentIndex(page);
            QTest::keyClick(m_Shell.App().MainFrame()->View()->TabControl()->currentWidget(),
                            Qt::Key_F1);
        } else {
            PrepareFiles(command);
            bool pressed = PressF1In(command, dialog);
            QVERIFY2(pressed, qPrintable(dialog + " never opened"));
        }
        const CHelpWindow* help = m_Shell.App().HelpWindow();
        QVERIFY(help != nullptr && help->isVisible());
        const std::string file = m_Shell.Folder().File(language.toStdString() + ".html");
        QCOMPARE(help->Browser()->source().toLocalFile().toStdString(), file);
        QCOMPARE(help->Browser()->source().fragment(), section);
        const QString heading = HeadingOf(file, section);
        QVERIFY(!heading.isEmpty());
        QCOMPARE(TopLine(*help), heading);
        QVERIFY(help->windowTitle().startsWith(heading + " - "));
        QVERIFY(MessageBox::Shown().empty());
    }

    // Each shipped guide has every section F1 opens.
    void everyGuideHasEverySectionF1Opens() {
        for (const char* guide : {"english.html", "chinese.html"}) {
            for (const HelpPlace& place : kHelpPlaces) {
                QVERIFY2(!HeadingOf(m_Shell.Folder().File(guide), place.section).isEmpty(),
                         (std::string(guide) + " has no section " + place.section).c_str());
            }
        }
    }

    // F1 in a modal dialog leaves a guide that still takes the keyboard beside it.
    void helpBesideAModalDialogTakesKeys() {
        bool typed = false;
        QVERIFY(m_Shell.RunWithDialog<QDialog>(kCommandPort, [&](QDialog& dialog) {
            QTest::keyClick(&dialog, Qt::Key_F1);
            CHelpWindow* help = m_Shell.App().HelpWindow();
            if (help != nullptr) {
                help->FindField()->setFocus();
                for (char letter : std::string("dialout")) {
                    QTest::keyClick(help->windowHandle(), letter);
                }
                typed = help->FindField()->text() == QStringLiteral("dialout");
            }
            dialog.reject();
        }));
        QVERIFY(typed);
    }

    // The one window, closed and opened again, steps with Back and Forward through the
    // places visited; links inside the guide count too.
    void backAndForwardRetraceThePlacesVisited() {
        CHalvexView* view = m_Shell.App().MainFrame()->View();
        m_Shell.App().MainFrame()->OnCommand(kCommandHelp);
        CHelpWindow* help = m_Shell.App().HelpWindow();
        QVERIFY(!help->BackButton()->isEnabled());
        help->close();
        QTest::keyClick(view->TabControl()->currentWidget(), Qt::Key_F1);
        QCOMPARE(m_Shell.App().HelpWindow(), help);
        QVERIFY(help->isVisible());
        view->TabControl()->setCurrentIndex(2);
        QTest::keyClick(view->TabControl()->currentWidget(), Qt::Key_F1);
        QUrl link = help->Browser()->source();
        link.setFragment(QStringLiteral("cables"));
        help->Browser()->setSource(link);
        const std::string file = m_Shell.Folder().File("english.html");
        const std::pair<QToolButton*, QString> steps[] = {
            {help->BackButton(), "vfo"},    {help->BackButton(), "channels"},
            {help->BackButton(), ""},       {help->ForwardButton(), "channels"},
            {help->ForwardButton(), "vfo"}, {help->ForwardButton(), "cables"},
        };
        for (const auto& [button, anchor] : steps) {
            QVERIFY(button->isEnabled());
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(help->Browser()->source().fragment(), anchor);
            QCOMPARE(TopLine(*help), anchor.isEmpty() ? help->Browser()->document()->begin().text()
                                                      : HeadingOf(file, anchor));
        }
        QVERIFY(!help->ForwardButton()->isEnabled());
    }

    // A search starts at the section in view; Enter and F3 go from match to match and around
    // the end; a word the guide lacks shows the sign and leaves the view where it was.
    void findGoesFromTheViewAroundTheEnd() {
        m_Shell.App().ShowHelp("cables");
        CHelpWindow* help = m_Shell.App().HelpWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help->Browser(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(help->FindField()->hasFocus());
        const int scrolled = help->Browser()->verticalScrollBar()->value();
        const int top = help->Browser()->cursorForPosition(QPoint(4, 4)).block().position();
        QTest::keyClicks(help->FindField(), QStringLiteral("zzqx"));
        QTest::keyClick(help->FindField(), Qt::Key_Return);
        QCOMPARE(help->NotFoundSign()->text(),
                 QString::fromStdString(LoadLangString("IDS_HELP_NOTFOUND")));
        QVERIFY(!help->NotFoundSign()->isHidden());
        QCOMPARE(help->Browser()->verticalScrollBar()->value(), scrolled);
        QCOMPARE(TopLine(*help), HeadingOf(m_Shell.Folder().File("english.html"), "cables"));

        const QString text = help->Browser()->toPlainText();
        const QString word = QStringLiteral("dialout");
        std::vector<int> matches;
        for (int at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
            matches.push_back(at);
        }
        const auto first =
            std::find_if(matches.begin(), matches.end(), [&](int at) { return at >= top; });
        QVERIFY(first != matches.begin() && first != matches.end());
        help->FindField()->setText(word);
        QVERIFY(help->NotFoundSign()->isHidden());
        QTest::keyClick(help->FindField(), Qt::Key_Return);
        QCOMPARE(help->Browser()->textCursor().selectionStart(), *first);
        for (size_t step = 0; step < matches.size(); ++step) {
            QTest::keyClick(help->FindField(), Qt::Key_F3);
        }
        QCOMPARE(help->Browser()->textCursor().selectionStart(), *first);
        QTest::keyClick(help->FindField(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(help->Browser()->textCursor().selectionStart(), *(first - 1));
        QVERIFY(help->NotFoundSign()->isHidden());
    }

    // A language chosen while the guide is open turns it to that language's page, at the
    // section it showed, with the window's own texts.
    void anOpenGuideFollowsTheLanguage() {
        QTest::keyClick(m_Shell.App().MainFrame()->View()->TabControl()->currentWidget(),
                        Qt::Key_F1);
        QVERIFY(m_Shell.UseLanguage("chinese.lang"));
        const CHelpWindow* help = m_Shell.App().HelpWindow();
        const std::string file = m_Shell.Folder().File("chinese.html");
        QCOMPARE(help->Browser()->source().toLocalFile().toStdString(), file);
        QCOMPARE(TopLine(*help), HeadingOf(file, "channels"));
        QCOMPARE(help->BackButton()->text(), QStringLiteral("后退"));
        QVERIFY(help->windowTitle().endsWith(QStringLiteral(" - Halvex 帮助")));
    }

    // A language without its own guide gets the English one, a line above it in its words,
    // or in English when its file predates that line.
    void aLanguageWithoutItsGuideShowsTheEnglishWithANote_data() {
        QTest::addColumn<QString>("noteLine");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the language's note") << "Noch nicht übersetzt"
                                             << "Noch nicht übersetzt";
        QTest::newRow("a file without the note") << ""
                                                 << "Not yet translated";
    }
    void aLanguageWithoutItsGuideShowsTheEnglishWithANote() {
        QFETCH(QString, noteLine);
        QFETCH(QString, shown);
        m_Shell.Folder().Write(
            "english.lang", halvex::test::LanguageFile(
                                "English", "Title", "IDS_HELP_UNTRANSLATED=Not yet translated\n"));
        const std::string more =
            noteLine.isEmpty() ? "" : "IDS_HELP_UNTRANSLATED=" + noteLine.toStdString() + "\n";
        m_Shell.Folder().Write("test.lang",
                               halvex::test::LanguageFile("Test", "Title", more, {}, "de_AT"));
        QVERIFY(m_Shell.UseLanguage("test.lang"));
        m_Shell.App().MainFrame()->OnCommand(kCommandHelp);
        QVERIFY(MessageBox::Shown().empty());
        const CHelpWindow* help = m_Shell.App().HelpWindow();
        QVERIFY(help != nullptr);
        QCOMPARE(help->Browser()->source().toLocalFile().toStdString(),
                 m_Shell.Folder().File("english.html"));
        QVERIFY(help->Note()->isVisible());
        QCOMPARE(help->Note()->text(), shown);
        // Back in a language with its own guide, the note goes.
        QVERIFY(m_Shell.UseLanguage("chinese.lang"));
        QCOMPARE(help->Browser()->source().toLocalFile().toStdString(),
                 m_Shell.Folder().File("chinese.html"));
        QVERIFY(!help->Note()->isVisible());
    }

    // Without its page the user is told where it was looked for, in plain path form, and the
    // document and the windows stay as they were.
    void aMissingGuideIsNamedAndNothingElseChanges() {
        QFile::remove(m_Shell.FilePath("english.html"));
        CommitReceiveFrequency(m_Shell.App().Document(), 2, "150.000");
        const auto before = m_Shell.App().Document().Image().bytes;
        const bool modified = m_Shell.App().Document().IsModified();
        QTest::keyClick(m_Shell.App().MainFrame()->View()->TabControl()->currentWidget(),
                        Qt::Key_F1);
        m_Shell.App().MainFrame()->OnCommand(kCommandHelp);
        QCOMPARE(MessageBox::Shown().size(), size_t(2));
        for (const ShownMessage& shown : MessageBox::Shown()) {
            QCOMPARE(shown.text,
                     "Cannot find the help file " + m_Shell.Folder().File("english.html") + ".");
            QCOMPARE(shown.icon, MessageIcon::Stop);
        }
        QVERIFY(m_Shell.App().HelpWindow() == nullptr);
        QVERIFY(m_Shell.App().Document().Image().bytes == before);
        QCOMPARE(m_Shell.App().Document().IsModified(), modified);
    }

private:
    // The files the import commands read, picked in their file dialogs.
    void PrepareFiles(int command) {
        if (command == kCommandImportChannels) {
            m_Shell.Folder().Write("list.csv", "Location,Frequency\r\n2,146.520000\r\n");
            FileDialog::SetNextFileName(m_Shell.Folder().File("list.csv"));
        } else if (command == kCommandImportConfig) {
            FileDialog::SetNextFileName(m_Shell.Folder().File("radio.yaml"));
            m_Shell.App().MainFrame()->OnCommand(kCommandExportConfig);
            CommitReceiveFrequency(m_Shell.App().Document(), 2, "150.000");
            FileDialog::SetNextFileName(m_Shell.Folder().File("radio.yaml"));
        }
    }

    // Runs command; once the dialog of that class is the modal one, F1 goes to it, and every
    // dialog is closed again. The test dialog is behind the access code.
    bool PressF1In(int command, const QString& dialogClass) {
        bool pressed = false;
        bool codeGiven = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) {
                return;
            }
            const QString name = QString::fromLatin1(modal->metaObject()->className());
            if (name == dialogClass && !pressed) {
                QTest::keyClick(modal, Qt::Key_F1);
                pressed = true;
                static_cast<QDialog*>(modal)->reject();
            } else if (name == QStringLiteral("CPasswordDlg") && !pressed && !codeGiven) {
                codeGiven = true;
                FindControl<QLineEdit>(modal, kPasswordEditId)
                    ->setText(QString::fromLatin1(kTestModeAccessCode.data(),
                                                  kTestModeAccessCode.size()));
                QTimer::singleShot(
                    0, modal, [modal] { FindControl<QAbstractButton>(modal, kIdOk)->click(); });
            } else if (pressed) {
                static_cast<QDialog*>(modal)->reject();
            }
        });
        watch.start(10);
        m_Shell.App().MainFrame()->OnCommand(command);
        return pressed;
    }

    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_ui_test.moc"
