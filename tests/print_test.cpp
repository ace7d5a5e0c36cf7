// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report, printed to PDF from the program's own pages and read back with the
// poppler tools: page count and distribution of the used channels, the functions section and
// the print dialog's cancel.
#include <QAction>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/message_box.h"
#include "config/language.h"
#include "editors/channel_grid.h"
#include "editors/channel_page.h"
#include "grid/grid_ctrl.h"
#include "platform/profile.h"
#include "resources/command_ids.h"
#include "resources/ids/function_page_ids.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/print_commands.h"
#include "view/print_report.h"

namespace {

// Channel n receives on 140 MHz + n x 100 kHz, so every printed row can be told apart.
QString ReceiveText(int n) {
    int tenHertz = 14000000 + n * 10000;
    return QString::asprintf("%03d.%05d", tenHertz / 100000, tenHertz % 100000);
}

QString Tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPageCount(const QString& pdf) {
    QString info = Tool("pdfinfo", {pdf});
    for (const QString& line : info.split('\n')) {
        if (line.startsWith("Pages:")) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return -1;
}

// The text of one page, each run of blanks made one space.
QString PdfPageText(const QString& pdf, int page) {
    QString text = Tool("pdftotext", {"-layout", "-f", QString::number(page), "-l",
                                      QString::number(page), pdf, "-"});
    return text.simplified();
}

QString Lang(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

QString Resource(int id) {
    return QString::fromStdString(LoadResourceText(id));
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:

    void cleanup() { QVERIFY(m_Shell.Finish()); }

    void usedChannelsSetThePagesAndWhereEachRowPrints_data() {
        QTest::addColumn<int>("used");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("firstOnLastPage");
        QTest::newRow("none") << 0 << 1 << 0;
        QTest::newRow("20") << 20 << 1 << 1;
        QTest::newRow("21") << 21 << 2 << 21;
        QTest::newRow("128") << 128 << 5 << 111;
    }

    void usedChannelsSetThePagesAndWhereEachRowPrints() {
        QFETCH(int, used);
        QFETCH(int, pages);
        QFETCH(int, firstOnLastPage);
        Start("english");
        UseChannels(used);
        QString pdf = PrintToPdf();
        QCOMPARE(PdfPageCount(pdf), pages);
        QString last = PdfPageText(pdf, pages);
        for (int n = 1; n <= used; ++n) {
            bool onLastPage = n >= firstOnLastPage;
            QVERIFY2(last.contains(ReceiveText(n)) == onLastPage,
                     qPrintable(QStringLiteral("channel %1").arg(n)));
        }
        // The functions section is on page 1 only.
        QVERIFY(PdfPageText(pdf, 1).contains(Resource(kBeepId)));
        if (pages > 1) {
            QVERIFY(!last.contains(Resource(kBeepId)));
        }
    }

    // The report prints the document: a cell the page's grid shows but the image lacks, or a
    // channel the image lost that the grid still shows, does not reach the paper.
    void reportPrintsTheDocumentNotThePageGrid() {
        Start("english");
        UseChannels(21);
        CGridCtrl* grid = ChannelGrid();
        const QString marker = QStringLiteral("QZXWV");
        grid->SetCellText(5, grid->GetColumnCount() - 1, marker);
        CHalvexDoc& document = m_Shell.App().Document();
        std::fill_n(document.EditImage().bytes.begin() + kChannelRecordBase + 6 * 16, 16, 0xFF);
        QCOMPARE(UsedChannelCount(*NewChannelGrid(document, m_Shell.Folder().SettingsPath())), 20);
        QString pdf = PrintToPdf();
        QCOMPARE(PdfPageCount(pdf), 1);
        QString page = PdfPageText(pdf, 1);
        QVERIFY(!page.contains(marker));
        QVERIFY(!page.contains(ReceiveText(6)));
        QVERIFY(page.contains(ReceiveText(21)));
    }

    // What the functions page shows, in the language of the page, with yes and no texts.
    void functionsSectionPrintsWhatThePageShows_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("beep");
        QTest::newRow("english, beep on") << "english" << true;
        QTest::newRow("chinese, beep off") << "chinese" << false;
    }

    void functionsSectionPrintsWhatThePageShows() {
        QFETCH(QString, language);
        QFETCH(bool, beep);
        Start(language.toStdString());
        CHalvexDoc& document = m_Shell.App().Document();
        document.EditImage().SetSquelch(7);
        document.EditImage().SetBeep(beep);
        document.EditImage().SetPttIdCode({1, 2, 10, 0xFF, 0xFF, 0xFF});
        UseChannels(3);
        QString page = PdfPageText(PrintToPdf(), 1);
        QVERIFY2(page.contains(Resource(kSquelchId) + " : 7"), qPrintable(page));
        QVERIFY(page.contains(Resource(kBeepId) + " : " + Lang(beep ? "IDS_YES" : "IDS_NO")));
        QVERIFY(page.contains(Resource(kPttIdCodeId) + " : 12A"));
        QVERIFY(page.contains(ReceiveText(3)));
    }

    void printCommandFollowsItsDialog_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("pages");
        QTest::newRow("cancelled") << false << 0;
        QTest::newRow("accepted") << true << 2;
    }

    void printCommandFollowsItsDialog() {
        QFETCH(bool, accept);
        QFETCH(int, pages);
        Start("english");
        UseChannels(30);
        QString pdf = m_Shell.FilePath("command.pdf");
        QPrinter& printer = ReportPrinter(m_Shell.App().Features());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QVERIFY(m_Shell.RunWithDialog<QPrintDialog>(kCommandPrint, [accept](QPrintDialog& dialog) {
            accept ? dialog.accept() : dialog.reject();
        }));
        QCOMPARE(QFile::exists(pdf), accept);
        if (accept) {
            QCOMPARE(PdfPageCount(pdf), pages);
        }
    }

    // Qt's completer of the output file reads the files of each folder typed on the main
    // thread, and one under /proc never ends: the field takes a path there as plain text, in
    // File > Print and in the print dialog the preview opens.
    void outputFileFieldTakesProcPathsWithoutHanging_data() {
        QTest::addColumn<bool>("fromPreview");
        QTest::newRow("print command") << false;
        QTest::newRow("preview's print button") << true;
    }

    void outputFileFieldTakesProcPathsWithoutHanging() {
        QFETCH(bool, fromPreview);
        Start("english");
        QPrinter& printer = ReportPrinter(m_Shell.App().Features());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_Shell.FilePath("report.pdf"));
        QString typed;
        bool guarded = false;
        std::function<void(QPrintDialog&)> typeInPrintDialog = [&](QPrintDialog& dialog) {
            auto* field = dialog.findChild<QLineEdit*>("filename");
            if (field != nullptr) {
                guarded = field->completer() == nullptr;
                field->clear();
                field->setFocus();
                QTest::keyClicks(field, "/proc/kms");
                QTest::qWait(200);
                typed = field->text();
            }
            dialog.reject();
        };
        if (!fromPreview) {
            QVERIFY(m_Shell.RunWithDialog<QPrintDialog>(kCommandPrint, typeInPrintDialog));
        } else {
            bool printed = false;
            QVERIFY(m_Shell.RunWithDialog<QPrintPreviewDialog>(
                kCommandPrintPreview, [&](QPrintPreviewDialog& preview) {
                    for (QAction* action : preview.findChildren<QAction*>()) {
                        if (action->text() == QStringLiteral("Print")) {
                            halvex::test::NextModal<QPrintDialog> print(typeInPrintDialog);
                            action->trigger();
                            printed = print.Shown();
                            break;
                        }
                    }
                    preview.reject();
                }));
            QVERIFY(printed);
        }
        QVERIFY(guarded);
        QCOMPARE(typed, QStringLiteral("/proc/kms"));
    }

    void previewShowsEveryPage() {
        Start("english");
        UseChannels(51);
        int previewPages = -1;
        QVERIFY(m_Shell.RunWithDialog<QPrintPreviewDialog>(
            kCommandPrintPreview, [&previewPages](QPrintPreviewDialog& dialog) {
                if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
                    previewPages = preview->pageCount();
                }
                dialog.reject();
            }));
        QCOMPARE(previewPages, 3);
    }

private:
    void Start(const std::string& language) {
        halvex::test::ModuleFolder& folder = m_Shell.NewFolder();
        folder.CopyFromBin({"setting.ini", language + ".lang"});
        folder.ChangeSettings({{"language", language}});
        QVERIFY(m_Shell.Start());
    }

    // Channels 1..count used, the others empty, and the pages reloaded.
    void UseChannels(int count) {
        CHalvexDoc& document = m_Shell.App().Document();
        for (int n = 1; n <= 128; ++n) {
            std::fill_n(document.EditImage().bytes.begin() + kChannelRecordBase + (n - 1) * 16, 16,
                        0xFF);
        }
        for (int n = 1; n <= count; ++n) {
            document.SetFrequencyText(n, kDecodeSide, ReceiveText(n).toStdString());
        }
        m_Shell.App().MainFrame()->View()->OnUpdate();
        QCOMPARE(UsedChannelCount(*ChannelGrid()), count);
    }

    CGridCtrl* ChannelGrid() const {
        for (MainViewPage* page : m_Shell.App().MainFrame()->View()->Pages()) {
            if (auto* channels = dynamic_cast<CChannelPage*>(page)) {
                return channels->Grid();
            }
        }
        return nullptr;
    }

    QString PrintToPdf() {
        QString pdf = m_Shell.FilePath("report.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(pdf);
        if (!PrintReport(printer,
                         *NewChannelGrid(m_Shell.App().Document(), m_Shell.Folder().SettingsPath()),
                         &m_Shell.App().Document())) {
            return QString();
        }
        if (!qEnvironmentVariableIsEmpty("HALVEX_KEEP_PRINT")) {
            QFile::remove(qEnvironmentVariable("HALVEX_KEEP_PRINT"));
            QFile::copy(pdf, qEnvironmentVariable("HALVEX_KEEP_PRINT"));
        }
        return pdf;
    }

    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
