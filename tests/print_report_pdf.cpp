// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's printed report of a file as a PDF on A4, with no display, for the browser
// journey that compares the page's print with it:
//   print_report_pdf SETTINGS LANGUAGE_FILE FILE.pgm OUT.pdf
#include <QApplication>
#include <QPageSize>
#include <QPrinter>
#include <iostream>

#include "app/qt_translations.h"
#include "codeplug/document.h"
#include "config/app_globals.h"
#include "config/language_files.h"
#include "config/setting_definitions.h"
#include "editors/channel_grid.h"
#include "grid/grid_ctrl.h"
#include "support/quiet_prompts.h"
#include "view/print_report.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 5) {
        std::cerr << "usage: print_report_pdf SETTINGS LANGUAGE_FILE FILE.pgm OUT.pdf\n";
        return 2;
    }
    const std::string settingsPath = argv[1];
    std::string error;
    g_SettingsPath = settingsPath;
    if (!SelectLanguageFile(argv[2], &error)) {
        std::cerr << argv[2] << ": " << error << '\n';
        return 1;
    }
    ApplyQtLanguage(LanguageFileLocale(argv[2]));
    g_ChannelCount = ClampChannelCount(settings::kChannelCount.Read(settingsPath));
    halvex::test::QuietPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!document.OnOpenDocument(argv[3], &error)) {
        std::cerr << argv[3] << ": " << error << '\n';
        return 1;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(QString::fromLocal8Bit(argv[4]));
    if (!PrintReport(printer, *NewChannelGrid(document, settingsPath), &document)) {
        std::cerr << argv[4] << ": the printer cannot be painted on\n";
        return 1;
    }
    return 0;
}
