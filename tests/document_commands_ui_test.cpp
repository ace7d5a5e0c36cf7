// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop side of the document: the unsaved-changes question before New, Open and Exit,
// the Save confirmation, Save As, refused files and the recent-file list.
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "codeplug/pgm_file.h"
#include "resources/command_ids.h"
#include "support/shell_fixture.h"

namespace {

constexpr size_t kSquelch = 0x0D00;
constexpr uint8_t kEdited = 0x09;
constexpr uint8_t kInFileA = 0x02;
constexpr uint8_t kInFileB = 0x05;

enum class Action { New, Open, Exit };

}  // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(MessageAnswer)

class DocumentCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolderInTestLanguage(
            "IDS_WARN_CLEAR=Clear?\nIDS_WARN_SAVE=Overwrite?\\n\nIDS_WARN_LOAD="
            "Not radio data\nIDS_ASK_SAVE=Keep changes to %s?\nIDS_RADIO_SOURCE=Radio (%s)\n");
        WriteRadioFile("a.pgm", kInFileA);
        WriteRadioFile("b.pgm", kInFileB);
        QVERIFY(m_Shell.Start({Path("a.pgm")}));
        MessageBox::ClearShown();
    }
    void cleanup() { QVERIFY(m_Shell.Finish()); }

    void unsavedChangesAreAskedAbout_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("proceeds");
        QTest::addColumn<uint8_t>("savedInA");
        QTest::addColumn<QString>("title");
        const QString edited = QStringLiteral("a.pgm* - Title");
        const QString untitled = QStringLiteral("Untitled Test - Title");
        const QString other = QStringLiteral("b.pgm - Title");
        QTest::addRow("new, save")
            << Action::New << MessageAnswer::Yes << true << kEdited << untitled;
        QTest::addRow("new, discard")
            << Action::New << MessageAnswer::No << true << kInFileA << untitled;
        QTest::addRow("new, cancel")
            << Action::New << MessageAnswer::Cancel << false << kInFileA << edited;
        QTest::addRow("open, save")
            << Action::Open << MessageAnswer::Yes << true << kEdited << other;
        QTest::addRow("open, discard")
            << Action::Open << MessageAnswer::No << true << kInFileA << other;
        QTest::addRow("open, cancel")
            << Action::Open << MessageAnswer::Cancel << false << kInFileA << edited;
        QTest::addRow("exit, save") << Action::Exit << MessageAnswer::Yes << true << kEdited
                                    << QStringLiteral("a.pgm - Title");
        QTest::addRow("exit, discard")
            << Action::Exit << MessageAnswer::No << true << kInFileA << edited;
        QTest::addRow("exit, cancel")
            << Action::Exit << MessageAnswer::Cancel << false << kInFileA << edited;
    }
    void unsavedChangesAreAskedAbout() {
        QFETCH(Action, action);
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, proceeds);
        QFETCH(uint8_t, savedInA);
        QFETCH(QString, title);
        QCOMPARE(m_Shell.App().MainFrame()->windowTitle(), QStringLiteral("a.pgm - Title"));
        Edit();
        MessageBox::SetNextAnswer(answer);
        CMainFrame* frame = m_Shell.App().MainFrame();
        if (action == Action::New) {
            if (proceeds) {
                MessageBox::SetNextAnswer(MessageAnswer::Ok);
            }
            frame->OnCommand(kCommandNew);
        } else if (action == Action::Open) {
            FileDialog::SetNextFileName(Path("b.pgm").toStdString());
            frame->OnCommand(kCommandOpen);
        } else {
            QCOMPARE(frame->close(), proceeds);
        }
        const ShownMessage& question = MessageBox::Shown().front();
        QCOMPARE(question.text, "Keep changes to " + Path("a.pgm").toStdString() + "?");
        QCOMPARE(question.buttons, MessageButtons::YesNoCancel);
        QCOMPARE(RadioFileByte("a.pgm"), savedInA);
        if (!proceeds) {
            QCOMPARE(MessageBox::Shown().size(), size_t(1));
            QVERIFY(m_Shell.App().Document().IsModified());
            QCOMPARE(m_Shell.App().Document().Image().bytes[kSquelch], kEdited);
            QCOMPARE(m_Shell.App().Document().GetPathName(), Path("a.pgm").toStdString());
        } else if (action == Action::Open) {
            QCOMPARE(m_Shell.App().Document().Image().bytes[kSquelch], kInFileB);
            QCOMPARE(m_Shell.App().Document().GetPathName(), Path("b.pgm").toStdString());
        } else if (action == Action::New) {
            QCOMPARE(MessageBox::Shown().back().text, std::string("Clear?"));
            QCOMPARE(MessageBox::Shown().back().defaultAnswer, MessageAnswer::Cancel);
            QVERIFY(m_Shell.App().Document().GetPathName().empty());
            QVERIFY(!m_Shell.App().Document().IsModified());
        }
        QCOMPARE(frame->windowTitle(), title);
    }

    void untitledChangesAreSavedThroughSaveAs() {
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        m_Shell.App().MainFrame()->OnCommand(kCommandNew);
        Edit();
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        FileDialog::SetNextFileName(Path("typed").toStdString());
        QVERIFY(m_Shell.App().MainFrame()->close());
        QCOMPARE(RadioFileByte("typed.pgm"), kEdited);
    }

    void saveAsksWithTheFullPath() {
        Edit();
        MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        m_Shell.App().MainFrame()->OnCommand(kCommandSave);
        QCOMPARE(MessageBox::Shown().back().text, "Overwrite?\n" + Path("a.pgm").toStdString());
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Exclamation);
        // Saving over its own file is what the user asked for: Enter saves.
        QCOMPARE(MessageBox::Shown().back().defaultAnswer, MessageAnswer::Ok);
        QCOMPARE(RadioFileByte("a.pgm"), kInFileA);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        m_Shell.App().MainFrame()->OnCommand(kCommandSave);
        QCOMPARE(RadioFileByte("a.pgm"), kEdited);
        QVERIFY(!m_Shell.App().Document().IsModified());
        QCOMPARE(m_Shell.App().MainFrame()->windowTitle(), QStringLiteral("a.pgm - Title"));
    }

    // A refused or vanished file leaves the open document exactly as it was, unsaved edits
    // and their undo step included, bound to its own file; nothing is asked first.
    void refusedFileLeavesTheDocument_data() {
        QTest::addColumn<bool>("fromRecentList");
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("told");
        QTest::newRow("random bytes")
            << false << false << QByteArray(kPgmFileSize, 'x') << "Not radio data";
        PgmFile whole = NewPgmFile();
        QByteArray cut(reinterpret_cast<const char*>(whole.header.data()), kPgmHeaderSize);
        cut.append(QByteArray(4000 - kPgmHeaderSize, '\xff'));
        QTest::newRow("cut short at 4000 bytes")
            << false << false << cut << "4000 bytes long instead of 8240";
        QTest::newRow("recent file renamed away")
            << true << true << QByteArray() << "No such file or directory";
        QTest::newRow("recent file now random bytes")
            << true << false << QByteArray(kPgmFileSize, 'x') << "Not radio data";
    }

    void refusedFileLeavesTheDocument() {
        QFETCH(bool, fromRecentList);
        QFETCH(bool, missing);
        QFETCH(QByteArray, contents);
        QFETCH(QString, told);
        CMainFrame* frame = m_Shell.App().MainFrame();
        const std::string refused = fromRecentList ? "b.pgm" : "letter.pgm";
        if (fromRecentList) {
            FileDialog::SetNextFileName(Path("b.pgm").toStdString());
            frame->OnCommand(kCommandOpen);
            FileDialog::SetNextFileName(Path("a.pgm").toStdString());
            frame->OnCommand(kCommandOpen);
        }
        if (missing) {
            QVERIFY(QFile::remove(Path(refused)));
        } else {
            m_Shell.Folder().Write(refused, contents.toStdString());
        }
        m_Shell.App().Document().EditImage().bytes[kSquelch] = kEdited;
        m_Shell.App().Document().SetModifiedFlag();
        m_Shell.App().Document().CommitEdit("IDS_STEP_TEST_VALUE");
        MessageBox::ClearShown();
        if (fromRecentList) {
            frame->MenuAction(kCommandRecentFile + 1)->trigger();
        } else {
            FileDialog::SetNextFileName(Path(refused).toStdString());
            frame->OnCommand(kCommandOpen);
        }
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QVERIFY2(QString::fromStdString(MessageBox::Shown().back().text).contains(told),
                 MessageBox::Shown().back().text.c_str());
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Stop);
        QCOMPARE(m_Shell.App().Document().GetPathName(), Path("a.pgm").toStdString());
        QCOMPARE(m_Shell.App().Document().Image().bytes[kSquelch], kEdited);
        QVERIFY(m_Shell.App().Document().IsModified());
        QVERIFY(m_Shell.App().Document().CanUndo());
        QCOMPARE(frame->windowTitle(), QStringLiteral("a.pgm* - Title"));
        QCOMPARE(RadioFileByte("a.pgm"), kInFileA);
        // Only a file that is gone leaves the list; a damaged one may be put right.
        QAction* second = frame->MenuAction(kCommandRecentFile + 1);
        QCOMPARE(second != nullptr && second->text().contains(QString::fromStdString(refused)),
                 fromRecentList && !missing);
        if (!missing) {
            QCOMPARE(m_Shell.Folder().Read(refused), contents.toStdString());
        }
        m_Shell.App().Document().SetModifiedFlag(false);
    }

    // What a read brought is no file's: the title names the port, and Save asks for a name
    // instead of overwriting the file that was open.
    void readDataBelongsToNoFileUntilSaved() {
        std::array<uint8_t, kImageSize> radio = m_Shell.App().Document().Image().bytes;
        radio[kSquelch] = kInFileB;
        m_Shell.App().OnRadioRead(radio);
        QVERIFY(m_Shell.App().Document().IsModified());
        QCOMPARE(m_Shell.App().MainFrame()->windowTitle(), QStringLiteral("Radio (COM1)* - Title"));
        FileDialog::SetNextFileName(Path("c.pgm").toStdString());
        m_Shell.App().MainFrame()->OnCommand(kCommandSave);
        QCOMPARE(RadioFileByte("a.pgm"), kInFileA);
        QCOMPARE(RadioFileByte("c.pgm"), kInFileB);
        QCOMPARE(m_Shell.App().MainFrame()->windowTitle(), QStringLiteral("c.pgm - Title"));
    }

    void droppedFileOpens() {
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(Path("b.pgm"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(m_Shell.App().MainFrame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_Shell.App().MainFrame(), &drop);
        QCOMPARE(m_Shell.App().Document().GetPathName(), Path("b.pgm").toStdString());
        QCOMPARE(m_Shell.App().Document().Image().bytes[kSquelch], kInFileB);
    }

    void recentFilesOpenAgainAndForgetMissingOnes() {
        FileDialog::SetNextFileName(Path("b.pgm").toStdString());
        m_Shell.App().MainFrame()->OnCommand(kCommandOpen);
        CMainFrame* frame = m_Shell.App().MainFrame();
        QVERIFY(frame->MenuAction(kCommandRecentFile)->text().contains("b.pgm"));
        QVERIFY(frame->MenuAction(kCommandRecentFile + 1)->text().contains("a.pgm"));
        // Kept in the program's own configuration folder, under the list's old group name.
        QSettings kept(qEnvironmentVariable("XDG_CONFIG_HOME") + "/halvex/Halvex.conf",
                       QSettings::IniFormat);
        QCOMPARE(kept.value("Recent File List/File1").toString(), Path("b.pgm"));
        frame->MenuAction(kCommandRecentFile + 1)->trigger();
        QCOMPARE(m_Shell.App().Document().GetPathName(), Path("a.pgm").toStdString());
        QFile::remove(Path("b.pgm"));
        frame->MenuAction(kCommandRecentFile + 1)->trigger();
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Stop);
        QCOMPARE(frame->MenuAction(kCommandRecentFile + 1), nullptr);
    }

private:
    QString Path(const std::string& name) const { return m_Shell.FilePath(name); }

    void WriteRadioFile(const std::string& name, uint8_t squelch) {
        PgmFile file = NewPgmFile();
        file.image[kSquelch] = squelch;
        std::string error;
        QVERIFY(SavePgmFile(m_Shell.Folder().File(name), file, &error));
    }

    uint8_t RadioFileByte(const std::string& name) {
        std::string contents = m_Shell.Folder().Read(name);
        return contents.size() == kPgmFileSize ? uint8_t(contents[kPgmHeaderSize + kSquelch]) : 0;
    }

    void Edit() {
        m_Shell.App().Document().EditImage().bytes[kSquelch] = kEdited;
        m_Shell.App().Document().SetModifiedFlag();
    }

    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(DocumentCommandsTest)
#include "document_commands_ui_test.moc"
