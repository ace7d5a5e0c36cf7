// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/config_text_commands.h"

#include <QDialog>

#include "codeplug/document.h"
#include "codeplug/image_difference.h"
#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/file_dialog.h"
#include "common/message_box.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_grid.h"
#include "editors/config_import_dialog.h"
#include "editors/difference_text.h"
#include "platform/atomic_file.h"
#include "platform/output_path.h"
#include "resources/command_ids.h"
#include "textform/radio_text.h"

namespace {

// Errors past this many lines are summed up, so the box still fits on the screen.
constexpr size_t kShownErrors = 20;

FileFilter ConfigFilter() {
    return FileFilter{LoadLangString("IDS_CONFIG_FILTER"), ".yaml"};
}

void ShowError(const FeatureContext& context, const std::string& text) {
    MessageBox::Show(context.window, text, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                     MessageButtons::Ok);
}

std::string FileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void OnImportConfig(const FeatureContext& context) {
    std::optional<std::string> path = FileDialog::GetOpenFileName(context.window, ConfigFilter());
    if (!path) {
        return;
    }
    CHalvexDoc& document = context.document;
    std::string text, error;
    if (!ReadRadioTextFile(*path, &text, &error)) {
        ShowError(context, LoadLangString("IDS_CONFIG_REFUSED") + "\n" + error);
        return;
    }
    RadioTextResult result;
    std::vector<TextError> errors;
    if (!PreviewRadioText(text, false, document, &result, &errors)) {
        std::string message = LoadLangString("IDS_CONFIG_REFUSED");
        for (size_t index = 0; index < errors.size() && index < kShownErrors; ++index) {
            message += '\n';
            message += TextErrorLine(FileName(*path), errors[index]);
        }
        if (errors.size() > kShownErrors) {
            message += "\n...";
        }
        ShowError(context, message);
        return;
    }
    CHalvexDoc current(document);
    current.EditImage().PrepareImage();
    CConfigImportDlg dialog(
        ImportDifferences(document, result.header, result.image, LoadChannelCellTexts()),
        context.window);
    if (dialog.exec() != QDialog::Accepted ||
        (result.image == current.Image().bytes && result.header == document.Header())) {
        return;
    }
    document.ReplaceContents(result.header, result.image, StepName("IDS_STEP_IMPORT_CONFIG"));
}

void OnExportConfig(const FeatureContext& context) {
    CHalvexDoc& document = context.document;
    std::optional<std::string> path = FileDialog::GetSaveFileName(
        context.window, ConfigFilter(), WithExtension(document.GetPathName(), ".yaml"));
    if (!path) {
        return;
    }
    std::string error;
    if (!ReplaceFileContents(*path, DumpRadioText(document), &error)) {
        ShowError(context, error);
        return;
    }
    context.showNote(LangText("IDS_CONFIG_EXPORTED", {QString::fromStdString(*path)}));
}

}  // namespace

void InstallConfigTextCommands(const FeatureContext& context) {
    CommandTable& commands = context.commands;
    commands.SetCommandHandler(kCommandImportConfig, [&context] { OnImportConfig(context); });
    commands.SetCommandHandler(kCommandExportConfig, [&context] { OnExportConfig(context); });
}
