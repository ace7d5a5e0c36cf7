// SPDX-License-Identifier: GPL-3.0-or-later
// What the user reads on the main window with the shipped language files, in both
// languages: the title with the file and its unsaved changes, the menu entries with their
// shortcuts, the recent-file placeholder, the file filter, the version and the range box.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QStyleOptionComboBox>
#include <QtTest>

#include "app/about_dialog.h"
#include "app/document_prompts.h"
#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/message_box.h"
#include "config/language.h"
#include "editors/channel_page.h"
#include "resources/command_ids.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"

class ShellTextsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolder();
        m_Shell.Folder().CopyFromBin({"setting.ini", "english.lang", "chinese.lang"});
        QVERIFY(m_Shell.Start());
    }

    void cleanup() {
        m_Shell.App().Document().SetModifiedFlag(false);
        QVERIFY(m_Shell.Finish());
    }

    void texts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<QString>("untitled");
        QTest::addColumn<QString>("recent");
        QTest::newRow("english") << "english"
                                 << "Halvex - RQ870 Programming Software"
                                 << "Untitled"
                                 << "Recent Files";
        QTest::newRow("chinese") << "chinese"
                                 << "Halvex - RQ870 写频软件"
                                 << "无标题"
                                 << "最近文件";
    }

    void texts() {
        QFETCH(QString, language);
        QFETCH(QString, windowName);
        QFETCH(QString, untitled);
        QFETCH(QString, recent);
        QVERIFY(m_Shell.UseLanguage((language + ".lang").toStdString()));
        CMainFrame* frame = m_Shell.App().MainFrame();

        // The title names the file and shows unsaved changes.
        QCOMPARE(frame->windowTitle(), untitled + " - " + windowName);
        m_Shell.App().Document().SetModifiedFlag();
        QCOMPARE(frame->windowTitle(), untitled + "* - " + windowName);
        // The question names the document as the title does, and is no "Information".
        MessageBox::ClearShown();
        MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        frame->OnCommand(kCommandNew);
        QCOMPARE(MessageBox::Shown().size(), size_t{1});
        QVERIFY2(QString::fromStdString(MessageBox::Shown().front().text).contains(untitled),
                 MessageBox::Shown().front().text.c_str());
        QCOMPARE(MessageBox::Shown().front().caption, LoadLangString("IDS_CONFIRM"));
        QVERIFY(m_Shell.App().Document().IsModified());
        FileDialog::SetNextFileName(m_Shell.Folder().File("radio.pgm"));
        frame->OnCommand(kCommandSaveAs);
        QCOMPARE(frame->windowTitle(), "radio.pgm - " + windowName);
        m_Shell.App().Document().SetModifiedFlag();
        QCOMPARE(frame->windowTitle(), "radio.pgm* - " + windowName);

        // The placeholder of an empty recent-file list is in the interface's language.
        m_Shell.App().MainFrame()->SetRecentFiles({});
        QAction* placeholder = nullptr;
        for (QAction* action :
             qobject_cast<QWidget*>(frame->MenuAction(kCommandNew)->parent())->actions()) {
            if (action->property("commandId").toInt() == kCommandRecentFile) {
                placeholder = action;
            }
        }
        QVERIFY(placeholder != nullptr);
        QVERIFY(placeholder->isVisible());
        QCOMPARE(placeholder->text(), recent);
        // Beside entries it leaves the menu, where even hidden it would be read out; the
        // entries take its place before the rest of the menu.
        auto* fileMenu = qobject_cast<QWidget*>(frame->MenuAction(kCommandNew)->parent());
        const QList<QAction*> empty = fileMenu->actions();
        m_Shell.App().MainFrame()->SetRecentFiles({QStringLiteral("/tmp/a.pgm")});
        QList<QAction*> listed = fileMenu->actions();
        QVERIFY(!listed.contains(placeholder));
        QCOMPARE(listed.indexOf(frame->MenuAction(kCommandRecentFile)), empty.indexOf(placeholder));
        m_Shell.App().MainFrame()->SetRecentFiles({});
        QCOMPARE(fileMenu->actions(), empty);

        // Every command with a key shows it, as File does.
        const std::pair<int, const char*> shortcuts[] = {
            {kCommandNew, "Ctrl+N"},        {kCommandReadRadio, "Ctrl+R"},
            {kCommandWriteRadio, "Ctrl+W"}, {kCommandTestMode, "Ctrl+T"},
            {kCommandPort, "Ctrl+C"},       {kCommandLanguage, "Ctrl+L"},
        };
        for (const auto& [commandId, keys] : shortcuts) {
            const QString text = frame->MenuAction(commandId)->text();
            QVERIFY2(text.endsWith(QStringLiteral("\t") + keys), qPrintable(text));
        }

        // One version, the build's, in the about box.
        CAboutDlg about(frame);
        const QString product = FindControl<QLabel>(&about, kAboutProductId)->text();
        QVERIFY2(product.contains(QStringLiteral(HALVEX_VERSION)), qPrintable(product));
        QVERIFY2(!product.contains(QStringLiteral("%s")) && !product.contains("1.02"),
                 qPrintable(product));
        for (QLabel* label : about.findChildren<QLabel*>()) {
            QVERIFY2(label == FindControl<QLabel>(&about, kAboutProductId) ||
                         !label->text().contains(QRegularExpression("\\d\\.\\d")),
                     qPrintable(label->text()));
        }
    }

    void fileFilterShowsItsPatternOnce() {
        QCOMPARE(FileFilterText(DocumentFileFilter()),
                 std::string("Radio Program Data Files (*.pgm)"));
        QCOMPARE(FileFilterText({"Data", ".pgm"}), std::string("Data (*.pgm)"));
    }

    void rangeBoxShowsTheLongestBandLineWhole() {
        CChannelPage* page = nullptr;
        for (MainViewPage* candidate : m_Shell.App().MainFrame()->View()->Pages()) {
            if (auto* channels = dynamic_cast<CChannelPage*>(candidate)) {
                page = channels;
            }
        }
        QVERIFY(page != nullptr);
        QComboBox* box = page->RangeSelector();
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = false;
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxEditField, box);
        QVERIFY(box->count() >= 4);
        for (int index = 0; index < box->count(); ++index) {
            const int needed = box->fontMetrics().horizontalAdvance(box->itemText(index));
            QVERIFY2(needed <= field.width(), qPrintable(box->itemText(index)));
        }
    }

private:
    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(ShellTextsTest)
#include "shell_texts_ui_test.moc"
