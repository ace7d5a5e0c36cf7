// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_commands.h"

#include <QApplication>
#include <QCompleter>
#include <QEvent>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "common/command_table.h"
#include "common/feature_context.h"
#include "editors/channel_grid.h"
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

// Qt's completer of the output file looks into the files of each folder typed, on the main
// thread: under /proc a read of /proc/kmsg never returns and the program hangs with the user's
// edits. The field works as plain text without it.
void DropFileCompleters(QWidget* dialog) {
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
        if (field->completer() != nullptr) {
            field->setCompleter(nullptr);
        }
    }
}

// The print dialog the preview opens from its own Print button is Qt's to make: each one
// that shows while this lives gets the same treatment.
class PrintDialogGuard : public QObject {
public:
    PrintDialogGuard() { qApp->installEventFilter(this); }
    ~PrintDialogGuard() override { qApp->removeEventFilter(this); }
    PrintDialogGuard(const PrintDialogGuard&) = delete;
    PrintDialogGuard& operator=(const PrintDialogGuard&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QPrintDialog*>(watched)) {
                DropFileCompleters(dialog);
            }
        }
        return false;
    }
};

// The channel table is printed from the document, never from the page's live grid.
struct ReportSources {
    std::unique_ptr<CGridCtrl> grid;
    const CHalvexDoc* functions = nullptr;
};

ReportSources SourcesOf(const FeatureContext& context) {
    ReportSources sources;
    sources.grid = NewChannelGrid(context.document, context.settingsPath);
    // The functions section goes with a window that shows the functions page.
    sources.functions = context.view.FunctionPage() != nullptr ? &context.document : nullptr;
    return sources;
}

void OnFilePrint(const FeatureContext& context) {
    ReportSources sources = SourcesOf(context);
    if (sources.grid == nullptr) {
        return;
    }
    QPrinter& printer = ReportPrinter(context);
    QPrintDialog dialog(&printer, context.window);
    DropFileCompleters(&dialog);
    dialog.setMinMax(1, PrintPageCount(UsedChannelCount(*sources.grid)));
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    bool range = printer.printRange() == QPrinter::PageRange;
    PrintReport(printer, *sources.grid, sources.functions, range ? printer.fromPage() : 1,
                range ? printer.toPage() : 0);
}

void OnFilePrintPreview(const FeatureContext& context) {
    ReportSources sources = SourcesOf(context);
    if (sources.grid == nullptr) {
        return;
    }
    PrintDialogGuard guard;
    QPrintPreviewDialog dialog(&ReportPrinter(context), context.window);
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&sources](QPrinter* printer) { PrintReport(*printer, *sources.grid, sources.functions); });
    dialog.exec();
}

void OnFilePrintSetup(const FeatureContext& context) {
    QPageSetupDialog dialog(&ReportPrinter(context), context.window);
    dialog.exec();
}

}  // namespace

QPrinter& ReportPrinter(const FeatureContext& context) {
    auto* holder = static_cast<PrinterHolder*>(context.window->findChild<QObject*>(
        QString::fromLatin1(kPrinterHolderName), Qt::FindDirectChildrenOnly));
    if (holder == nullptr) {
        holder = new PrinterHolder(context.window);
    }
    return holder->printer;
}

void InstallPrintCommands(const FeatureContext& context) {
    CommandTable& commands = context.commands;
    commands.SetCommandHandler(kCommandPrint, [&context] { OnFilePrint(context); });
    commands.SetCommandHandler(kCommandPrintPreview, [&context] { OnFilePrintPreview(context); });
    commands.SetCommandHandler(kCommandPrintSetup, [&context] { OnFilePrintSetup(context); });
}
