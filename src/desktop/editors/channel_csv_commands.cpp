// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_csv_commands.h"

#include <QDialog>

#include "codeplug/document.h"
#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/file_dialog.h"
#include "common/message_box.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_csv_dialog.h"
#include "platform/atomic_file.h"
#include "platform/csv_text.h"
#include "platform/output_path.h"
#include "resources/command_ids.h"

namespace {

// Notes past this many lines are summed up, so the box still fits on the screen.
constexpr size_t kShownNotes = 20;

FileFilter CsvFilter() {
    return FileFilter{LoadLangString("IDS_CSV_FILTER"), ".csv"};
}

void ShowError(const FeatureContext& context, const std::string& text) {
    MessageBox::Show(context.window, text, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                     MessageButtons::Ok);
}

void OnImportChannels(const FeatureContext& context) {
    std::optional<std::string> path = FileDialog::GetOpenFileName(context.window, CsvFilter());
    if (!path) {
        return;
    }
    std::string text, error;
    CHalvexDoc& document = context.document;
    std::array<uint8_t, kImageSize> image{};
    ChannelImportResult result;
    if (!ReadCsvFile(*path, &text, &error) ||
        !PreviewChannelImport(text, document, document.GetChannelCount(),
                              ChannelImportMode::FillEmpty, LanguageWording, &image, &result,
                              &error)) {
        ShowError(context, LoadLangString("IDS_CSV_REFUSED") + error);
        return;
    }
    CChannelImportDlg dialog(document, std::move(text), image, std::move(result), context.window);
    if (dialog.exec() != QDialog::Accepted || dialog.Image() == document.Image().bytes) {
        return;
    }
    document.ReplaceContents(document.Header(), dialog.Image(), StepName("IDS_STEP_IMPORT"));
}

void OnExportChannels(const FeatureContext& context) {
    CHalvexDoc& document = context.document;
    std::optional<std::string> path = FileDialog::GetSaveFileName(
        context.window, CsvFilter(), WithExtension(document.GetPathName(), ".csv"));
    if (!path) {
        return;
    }
    std::vector<std::string> notes;
    const std::string csv =
        ExportChannelCsv(document, document.GetChannelCount(), LanguageWording, &notes);
    std::string error;
    if (!ReplaceFileContents(*path, csv, &error)) {
        ShowError(context, error);
        return;
    }
    if (notes.empty()) {
        return;
    }
    std::string text = LoadLangString("IDS_CSV_EXPORT_NOTES");
    for (size_t index = 0; index < notes.size() && index < kShownNotes; ++index) {
        text += "\n" + notes[index];
    }
    if (notes.size() > kShownNotes) {
        text += "\n...";
    }
    MessageBox::Show(context.window, text, LoadLangString("IDS_PROMPT"), MessageIcon::Information,
                     MessageButtons::Ok);
}

}  // namespace

void InstallChannelCsvCommands(const FeatureContext& context) {
    CommandTable& commands = context.commands;
    commands.SetCommandHandler(kCommandImportChannels, [&context] { OnImportChannels(context); });
    commands.SetCommandHandler(kCommandExportChannels, [&context] { OnExportChannels(context); });
    commands.SetCommandEnabler(kCommandExportChannels, [&context] {
        return HasChannelsToExport(context.document, context.document.GetChannelCount());
    });
}
