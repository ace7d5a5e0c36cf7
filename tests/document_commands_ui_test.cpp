// The desktop side of the document: the unsaved-changes question before New, Open and Exit,
// the Save confirmation, Save As, refused files and the recent-file list.
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "codeplug/pgm_file.h"
#include "resources/command_ids.h"
#include "shell_test_support.h"

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
    void initTestCase() {
        UseTemporarySettings(m_SettingsHome);
        MessageBox::SetUnattended(true);
        FileDialog::SetUnattended(true);
    }
    void init() {
        MessageBox::ClearShown();
        QSettings(kRegistryKeyName, kSettingsApplicationName).clear();
        m_Dir = std::make_unique<TempModuleDir>();
        m_Dir->Write("setting.ini", "[setup]\nlanguage=test\n");
        m_Dir->Write(
            "test.lang",
            LanguageFile("Test", "Title",
                         "IDS_WARN_CLEAR=Clear?\nIDS_WARN_SAVE=Overwrite?\\n\nIDS_WARN_LOAD="
                         "Not radio data\nIDS_ASK_SAVE=Keep changes to %s?\n"));
        WriteRadioFile("a.pgm", kInFileA);
        WriteRadioFile("b.pgm", kInFileB);
        m_App = std::make_unique<CHalvexApp>();
        QVERIFY(m_App->InitInstance(m_Dir->Path(), {"halvex", Path("a.pgm")}));
        MessageBox::ClearShown();
    }
    void cleanup() {
        m_App.reset();
        QVERIFY(SeamsDrained());
    }

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
        QCOMPARE(m_App->MainFrame()->windowTitle(), QStringLiteral("a.pgm - Title"));
        Edit();
        MessageBox::SetNextAnswer(answer);
        CMainFrame* frame = m_App->MainFrame();
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
            QVERIFY(m_App->Document().IsModified());
            QCOMPARE(m_App->Document().bytes[kSquelch], kEdited);
            QCOMPARE(m_App->Document().GetPathName(), Path("a.pgm").toStdString());
        } else if (action == Action::Open) {
            QCOMPARE(m_App->Document().bytes[kSquelch], kInFileB);
            QCOMPARE(m_App->Document().GetPathName(), Path("b.pgm").toStdString());
        } else if (action == Action::New) {
            QCOMPARE(MessageBox::Shown().back().text, std::string("Clear?"));
            QVERIFY(m_App->Document().GetPathName().empty());
            QVERIFY(!m_App->Document().IsModified());
        }
        QCOMPARE(frame->windowTitle(), title);
    }

    void untitledChangesAreSavedThroughSaveAs() {
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        m_App->MainFrame()->OnCommand(kCommandNew);
        Edit();
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        FileDialog::SetNextFileName(Path("typed").toStdString());
        QVERIFY(m_App->MainFrame()->close());
        QCOMPARE(RadioFileByte("typed.pgm"), kEdited);
    }

    void saveAsksWithTheFullPath() {
        Edit();
        MessageBox::SetNextAnswer(MessageAnswer::Cancel);
        m_App->MainFrame()->OnCommand(kCommandSave);
        QCOMPARE(MessageBox::Shown().back().text, "Overwrite?\n" + Path("a.pgm").toStdString());
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Exclamation);
        QCOMPARE(RadioFileByte("a.pgm"), kInFileA);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        m_App->MainFrame()->OnCommand(kCommandSave);
        QCOMPARE(RadioFileByte("a.pgm"), kEdited);
        QVERIFY(!m_App->Document().IsModified());
        QCOMPARE(m_App->MainFrame()->windowTitle(), QStringLiteral("a.pgm - Title"));
    }

    void foreignFileIsRefusedAndNeverBound() {
        m_Dir->Write("letter.pgm", QByteArray(kPgmFileSize, 'x'));
        FileDialog::SetNextFileName(Path("letter.pgm").toStdString());
        m_App->MainFrame()->OnCommand(kCommandOpen);
        QCOMPARE(MessageBox::Shown().back().text, std::string("Not radio data"));
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Stop);
        QVERIFY(m_App->Document().GetPathName().empty());
        QVERIFY(!m_App->MainFrame()->MenuAction(kCommandRecentFile)->text().contains("letter"));
        // Save must ask for a name instead of overwriting the refused file.
        FileDialog::SetNextFileName(std::nullopt);
        m_App->MainFrame()->OnCommand(kCommandSave);
        QCOMPARE(m_Dir->Read("letter.pgm"), QByteArray(kPgmFileSize, 'x'));
    }

    void droppedFileOpens() {
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(Path("b.pgm"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(m_App->MainFrame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_App->MainFrame(), &drop);
        QCOMPARE(m_App->Document().GetPathName(), Path("b.pgm").toStdString());
        QCOMPARE(m_App->Document().bytes[kSquelch], kInFileB);
    }

    void recentFilesOpenAgainAndForgetMissingOnes() {
        FileDialog::SetNextFileName(Path("b.pgm").toStdString());
        m_App->MainFrame()->OnCommand(kCommandOpen);
        CMainFrame* frame = m_App->MainFrame();
        QVERIFY(frame->MenuAction(kCommandRecentFile)->text().contains("b.pgm"));
        QVERIFY(frame->MenuAction(kCommandRecentFile + 1)->text().contains("a.pgm"));
        frame->MenuAction(kCommandRecentFile + 1)->trigger();
        QCOMPARE(m_App->Document().GetPathName(), Path("a.pgm").toStdString());
        QFile::remove(Path("b.pgm"));
        frame->MenuAction(kCommandRecentFile + 1)->trigger();
        QCOMPARE(MessageBox::Shown().back().icon, MessageIcon::Stop);
        QCOMPARE(frame->MenuAction(kCommandRecentFile + 1), nullptr);
    }

private:
    QString Path(const QString& name) const {
        return QString::fromStdString(m_Dir->FilePath(name));
    }

    void WriteRadioFile(const QString& name, uint8_t squelch) {
        PgmFile file = NewPgmFile();
        file.image[kSquelch] = squelch;
        std::string error;
        QVERIFY(SavePgmFile(m_Dir->FilePath(name), file, &error));
    }

    uint8_t RadioFileByte(const QString& name) const {
        QByteArray contents = m_Dir->Read(name);
        return contents.size() == qsizetype(kPgmFileSize)
                   ? uint8_t(contents[qsizetype(kPgmHeaderSize + kSquelch)])
                   : 0;
    }

    void Edit() {
        m_App->Document().bytes[kSquelch] = kEdited;
        m_App->Document().SetModifiedFlag();
    }

    QTemporaryDir m_SettingsHome;
    std::unique_ptr<TempModuleDir> m_Dir;
    std::unique_ptr<CHalvexApp> m_App;
};

QTEST_MAIN(DocumentCommandsTest)
#include "document_commands_ui_test.moc"
