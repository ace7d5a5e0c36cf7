// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export Configuration and Import Configuration, offscreen: the import lists what it
// would change before anything changes, OK is one undo step, and Cancel or a file with errors
// changes nothing.
#include <QAction>
#include <QListWidget>
#include <QtTest>
#include <functional>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/document.h"
#include "editors/channel_commit.h"
#include "editors/config_import_dialog.h"
#include "resources/command_ids.h"
#include "support/shell_fixture.h"

class ConfigTextTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        MessageBox::ClearShown();
        m_Shell.NewFolder();
        m_Shell.Folder().CopyFromBin({"setting.ini", "english.lang", "chinese.lang"});
        QVERIFY(m_Shell.Start());
        CommitReceiveFrequency(Document(), 2, "150.000");
        Document().SetModifiedFlag(false);
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    // Each change is listed in the language shown, with the column titles, labels and values
    // the pages show; a channel the file leaves unused is one line.
    void importListsTheChangesAndOkIsOneUndoStep_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("english") << "english"
                                 << QStringList{
                                        "Channel 2, Power: Low → High",
                                        "Channel 5: 145.50000 → (unused)",
                                        "Optional Functions, Scan mode: Search (SE) → Time (TO)"};
        QTest::newRow("chinese") << "chinese"
                                 << QStringList{
                                        "信道 2，功率：低 → 高", "信道 5：145.50000 → （未使用）",
                                        "可选功能，扫描模式：搜索扫描 (SE) → 时间扫描 (TO)"};
    }
    void importListsTheChangesAndOkIsOneUndoStep() {
        QFETCH(QString, language);
        QFETCH(QStringList, lines);
        Export();
        QVERIFY(m_Shell.UseLanguage((language + ".lang").toStdString()));
        // The import makes the derived areas as Save does.
        CHalvexDoc saved(Document());
        saved.EditImage().PrepareImage();
        const auto exported = saved.Image().bytes;
        CommitChoice(Document(), 2, kColumnPower, 0);
        CommitReceiveFrequency(Document(), 5, "145.500");
        Document().EditImage().SetScanMode(2);
        Document().CommitEdit("edit");
        QStringList changes;
        RunImport(true, [&](CConfigImportDlg& dialog) {
            for (int row = 0; row < dialog.ChangeList()->count(); ++row) {
                changes.push_back(dialog.ChangeList()->item(row)->text());
            }
        });
        QCOMPARE(changes, lines);
        QVERIFY(Document().Image().bytes == exported);
        QVERIFY(Document().IsModified());
        QVERIFY(Document().Undo());
        QCOMPARE(Document().Image().GetFrequencyText(5, kDecodeSide), std::string("145.50000"));
    }

    void cancelOrAFileWithErrorsChangesNothing() {
        Export();
        CommitChoice(Document(), 2, kColumnPower, 0);
        const auto before = Document().Image().bytes;
        RunImport(false, [](CConfigImportDlg&) {});
        QVERIFY(Document().Image().bytes == before);

        m_Shell.Folder().Write("radio.yaml",
                               "format: 1\nchannels:\n  2: {receive: 9, name: \"a/b\"}\n");
        FileDialog::SetNextFileName(m_Shell.Folder().File("radio.yaml"));
        m_Shell.App().MainFrame()->OnCommand(kCommandImportConfig);
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QCOMPARE(MessageBox::Shown()[0].icon, MessageIcon::Stop);
        const std::string& text = MessageBox::Shown()[0].text;
        QVERIFY2(text.find("radio.yaml:3:16: channels.2.receive: '9' is outside the band") !=
                         std::string::npos &&
                     text.find("radio.yaml:3:25: channels.2.name: 'a/b' is not a channel name") !=
                         std::string::npos,
                 text.c_str());
        QVERIFY(Document().Image().bytes == before);
    }

private:
    CHalvexDoc& Document() { return m_Shell.App().Document(); }

    void Export() {
        FileDialog::SetNextFileName(m_Shell.Folder().File("radio.yaml"));
        m_Shell.App().MainFrame()->OnCommand(kCommandExportConfig);
        QVERIFY(m_Shell.Folder().Read("radio.yaml").find("\n  2: {receive: 150.00000,") !=
                std::string::npos);
        QCOMPARE(m_Shell.App().MainFrame()->StatusNoteText(),
                 "Configuration exported to " +
                     QString::fromStdString(m_Shell.Folder().File("radio.yaml")));
    }

    // Runs File > Import Configuration on radio.yaml, hands the dialog to look, then presses
    // OK or Cancel.
    void RunImport(bool ok, const std::function<void(CConfigImportDlg&)>& look) {
        FileDialog::SetNextFileName(m_Shell.Folder().File("radio.yaml"));
        QVERIFY(m_Shell.RunWithDialog<CConfigImportDlg>(kCommandImportConfig,
                                                        [&](CConfigImportDlg& dialog) {
                                                            look(dialog);
                                                            ok ? dialog.accept() : dialog.reject();
                                                        }));
    }

    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(ConfigTextTest)
#include "config_text_ui_test.moc"
