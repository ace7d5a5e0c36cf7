// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_commands.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "editors/channel_grid.h"
#include "editors/function_page.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "view/main_view.h"
#include "view/print_report.h"

namespace {

constexpr const char* kPrinterHolderName = "reportPrinter";

class PrinterHolder : public QObject {
public:
    explicit PrinterHolder(QObject* owner) : QObject(owner) {
        setObjectName(QString::fromLatin1(kPrinterHolderName));
    }
    QPrinter printer{QPrinter::HighResolution};
};

// The channel table is printed from the document, never from the page's live grid.
struct ReportSources {
    std::unique_ptr<CGridCtrl> grid;
    QWidget* functionPage = nullptr;
};

ReportSources SourcesOf(CHalvexApp& app) {
    ReportSources sources;
    CMainFrame* frame = app.MainFrame();
    if (frame == nullptr || frame->View() == nullptr) {
        return sources;
    }
    sources.grid = NewChannelGrid(app.Document());
    for (MainViewPage* page : frame->View()->Pages()) {
        if (auto* functions = dynamic_cast<CFunctionPage*>(page)) {
            sources.functionPage = functions;
        }
    }
    return sources;
}

void OnFilePrint(CHalvexApp& app) {
    ReportSources sources = SourcesOf(app);
    if (sources.grid == nullptr) {
        return;
    }
    QPrinter& printer = ReportPrinter(app);
    QPrintDialog dialog(&printer, app.MainFrame());
    dialog.setMinMax(1, PrintPageCount(UsedChannelCount(*sources.grid)));
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    bool range = printer.printRange() == QPrinter::PageRange;
    PrintReport(printer, *sources.grid, sources.functionPage, range ? printer.fromPage() : 1,
                range ? printer.toPage() : 0);
}

void OnFilePrintPreview(CHalvexApp& app) {
    ReportSources sources = SourcesOf(app);
    if (sources.grid == nullptr) {
        return;
    }
    QPrintPreviewDialog dialog(&ReportPrinter(app), app.MainFrame());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&sources](QPrinter* printer) {
                         PrintReport(*printer, *sources.grid, sources.functionPage);
                     });
    dialog.exec();
}

void OnFilePrintSetup(CHalvexApp& app) {
    QPageSetupDialog dialog(&ReportPrinter(app), app.MainFrame());
    dialog.exec();
}

}  // namespace

QPrinter& ReportPrinter(CHalvexApp& app) {
    auto* holder = static_cast<PrinterHolder*>(app.findChild<QObject*>(
        QString::fromLatin1(kPrinterHolderName), Qt::FindDirectChildrenOnly));
    if (holder == nullptr) {
        holder = new PrinterHolder(&app);
    }
    return holder->printer;
}

void InstallPrintCommands(CHalvexApp& app, CMainFrame& frame) {
    frame.SetCommandHandler(kCommandPrint, [&app] { OnFilePrint(app); });
    frame.SetCommandHandler(kCommandPrintPreview, [&app] { OnFilePrintPreview(app); });
    frame.SetCommandHandler(kCommandPrintSetup, [&app] { OnFilePrintSetup(app); });
}
