// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_row_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <algorithm>

#include "codeplug/channel_row_ops.h"
#include "codeplug/document.h"
#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/message_box.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_csv.h"
#include "editors/channel_csv_dialog.h"
#include "editors/channel_page.h"
#include "resources/command_ids.h"

namespace {

// Report lines past this many are summed up, so the box still fits on the screen.
constexpr size_t kShownLosses = 20;

QString Arg(const std::string& text) {
    return QString::fromStdString(text);
}

// The selected channels when all of them may be changed and the table is shown; empty
// otherwise.
std::vector<int> Selection(const FeatureContext& context) {
    CChannelPage* page = context.view.ShownChannelPage();
    if (page == nullptr) {
        return {};
    }
    std::vector<int> channels = page->SelectedChannels();
    if (!channels.empty() && channels.back() > page->LastEditableChannel()) {
        return {};
    }
    return channels;
}

int Target(const FeatureContext& context) {
    CChannelPage* page = context.view.ShownChannelPage();
    const int target = page != nullptr ? page->TargetChannel() : 0;
    return page != nullptr && target <= page->LastEditableChannel() ? target : 0;
}

bool ClipboardHasChannels() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && (data->hasFormat(kChannelsMimeType) || data->hasText());
}

std::vector<int> Range(int first, int count) {
    std::vector<int> channels;
    for (int n = first; n < first + count; ++n) {
        channels.push_back(n);
    }
    return channels;
}

// One named edit (none when nothing changed); the rows from first down show the result and
// selected stays chosen.
void Finish(const FeatureContext& context, const char* nameKey, const std::vector<int>& named,
            int first, const std::vector<int>& selected) {
    const std::string step =
        StepName(CountedKey(nameKey, named.size()), {Arg(ChannelListText(named))});
    context.document.CommitEdit(step);
    // The bar tells what was done last, never an earlier copy.
    context.showNote(StepText(step));
    CChannelPage* page = context.view.ChannelPage();
    page->RefreshRows(first, page->LastEditableChannel());
    page->SelectChannels(selected);
}

void Copy(const FeatureContext& context, const std::vector<int>& channels) {
    CHalvexDoc& document = context.document;
    std::vector<std::string> notes;
    auto* data = new QMimeData;
    const std::string exact = EncodeChannelSlots(CopyChannels(document.Image(), channels));
    data->setData(kChannelsMimeType,
                  QByteArray(exact.data(), static_cast<qsizetype>(exact.size())));
    // Tab-separated cells, as spreadsheets put on and take from the clipboard.
    data->setText(QString::fromStdString(
        ExportChannelCsvRows(document, channels, LanguageWording, &notes, '\t')));
    QApplication::clipboard()->setMimeData(data);
    QString note = LangText(CountedKey("IDS_CHANNELS_COPIED", channels.size()),
                            {Arg(ChannelListText(channels))});
    if (!notes.empty()) {
        note +=
            QLatin1Char(' ') + LangText(CountedKey("IDS_CHANNELS_TEXT_LEAVES_OUT", notes.size()),
                                        {QString::number(notes.size())});
    }
    context.showNote(note);
}

void OnCopy(const FeatureContext& context) {
    Copy(context, Selection(context));
}

void OnCut(const FeatureContext& context) {
    const std::vector<int> channels = Selection(context);
    Copy(context, channels);
    ClearChannels(context.document.EditImage(), context.view.ChannelPage()->LastEditableChannel(),
                  channels);
    Finish(context, "IDS_EDIT_CUT_CHANNELS", channels, channels.front(), channels);
}

void ShowMessage(const FeatureContext& context, const std::string& text, MessageIcon icon) {
    MessageBox::Show(context.window, text,
                     LoadLangString(icon == MessageIcon::Stop ? "IDS_ERROR" : "IDS_PROMPT"), icon,
                     MessageButtons::Ok);
}

void ReportPastEnd(const FeatureContext& context, int rowsPastEnd, int last) {
    if (rowsPastEnd > 0) {
        ShowMessage(
            context,
            LangText("IDS_PASTE_PAST_END", {QString::number(rowsPastEnd), QString::number(last)})
                .toStdString(),
            MessageIcon::Exclamation);
    }
}

void PasteText(const FeatureContext& context, const std::string& text, int target, int last) {
    CHalvexDoc& document = context.document;
    RadioImage before;
    before.bytes = document.Image().bytes;
    ChannelImportResult result;
    std::string error;
    if (!PasteChannelText(text, document, last, target, LanguageWording, &result, &error)) {
        ShowMessage(context, LoadLangString("IDS_PASTE_REFUSED") + error, MessageIcon::Stop);
        return;
    }
    const std::vector<int> changed = ChangedChannels(before, document.Image(), last);
    Finish(context, "IDS_EDIT_PASTE_CHANNELS", changed, target,
           changed.empty() ? std::vector<int>{target} : changed);
    if (!result.losses.empty()) {
        std::string report = ImportSummary(result, LanguageWording);
        for (size_t index = 0; index < result.losses.size() && index < kShownLosses; ++index) {
            report += "\n" + result.losses[index];
        }
        if (result.losses.size() > kShownLosses) {
            report += "\n...";
        }
        ShowMessage(context, report, MessageIcon::Information);
    }
    ReportPastEnd(context, result.rowsPastEnd, last);
}

void OnPaste(const FeatureContext& context) {
    const int target = Target(context);
    const int last = context.view.ChannelPage()->LastEditableChannel();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return;
    }
    const QByteArray exact = data->data(kChannelsMimeType);
    const auto copied = DecodeChannelSlots(std::string_view(exact.constData(), exact.size()));
    if (!copied) {
        PasteText(context, data->text().toStdString(), target, last);
        return;
    }
    const int pastEnd = PasteChannels(context.document.EditImage(), last, target, *copied);
    const std::vector<int> pasted = Range(target, static_cast<int>(copied->size()) - pastEnd);
    Finish(context, "IDS_EDIT_PASTE_CHANNELS", pasted, target, pasted);
    ReportPastEnd(context, pastEnd, last);
}

void OnInsert(const FeatureContext& context) {
    CHalvexDoc& document = context.document;
    const int target = Target(context);
    const int last = context.view.ChannelPage()->LastEditableChannel();
    const int count = std::max<int>(1, static_cast<int>(Selection(context).size()));
    InsertOutcome outcome = InsertEmptyChannels(document.EditImage(), last, target, count, false);
    if (outcome == InsertOutcome::WouldDropChannels) {
        const std::vector<int> lost = PushedOffChannels(document.Image(), last, target, count);
        const MessageAnswer answer = MessageBox::Show(
            context.window,
            LangText(CountedKey("IDS_INSERT_DROPS_CHANNELS", lost.size()),
                     {Arg(ChannelListText(lost))})
                .toStdString(),
            LoadLangString("IDS_CONFIRM"), MessageIcon::Exclamation, MessageButtons::OkCancel);
        if (answer != MessageAnswer::Ok) {
            return;
        }
        outcome = InsertEmptyChannels(document.EditImage(), last, target, count, true);
    }
    if (outcome == InsertOutcome::Inserted) {
        const std::vector<int> inserted = Range(target, std::min(count, last - target + 1));
        Finish(context, "IDS_EDIT_INSERT_CHANNELS", inserted, target, inserted);
    }
}

void OnDelete(const FeatureContext& context) {
    const std::vector<int> channels = Selection(context);
    if (DeleteChannels(context.document.EditImage(),
                       context.view.ChannelPage()->LastEditableChannel(), channels)) {
        Finish(context, "IDS_EDIT_DELETE_CHANNELS", channels, channels.front(), {channels.front()});
    }
}

void OnMove(const FeatureContext& context, bool up) {
    const std::vector<int> channels = Selection(context);
    if (!MoveChannels(context.document.EditImage(),
                      context.view.ChannelPage()->LastEditableChannel(), channels, up)) {
        return;
    }
    std::vector<int> moved;
    for (int n : channels) {
        moved.push_back(up ? n - 1 : n + 1);
    }
    Finish(context, up ? "IDS_EDIT_MOVE_UP" : "IDS_EDIT_MOVE_DOWN", channels,
           std::min(channels.front(), moved.front()), moved);
}

void OnClear(const FeatureContext& context) {
    const std::vector<int> channels = Selection(context);
    if (ClearChannels(context.document.EditImage(),
                      context.view.ChannelPage()->LastEditableChannel(), channels)) {
        Finish(context, "IDS_EDIT_CLEAR_CHANNELS", channels, channels.front(), channels);
    }
}

bool CanMove(const FeatureContext& context, bool up) {
    const std::vector<int> channels = Selection(context);
    return !channels.empty() &&
           (up ? channels.front() > 1
               : channels.back() < context.view.ChannelPage()->LastEditableChannel());
}

}  // namespace

void InstallChannelRowCommands(const FeatureContext& context) {
    CommandTable& commands = context.commands;
    auto selected = [&context] { return !Selection(context).empty(); };
    auto targeted = [&context] { return Target(context) > 0; };
    const std::pair<int, void (*)(const FeatureContext&)> onSelection[] = {
        {kCommandCut, OnCut},
        {kCommandCopy, OnCopy},
        {kCommandDeleteChannel, OnDelete},
        {kCommandClear, OnClear}};
    for (const auto& [command, handler] : onSelection) {
        commands.SetCommandHandler(command, [&context, run = handler] { run(context); });
        commands.SetCommandEnabler(command, selected);
    }
    commands.SetCommandHandler(kCommandPaste, [&context] { OnPaste(context); });
    commands.SetCommandEnabler(
        kCommandPaste, [&context] { return Target(context) > 0 && ClipboardHasChannels(); });
    commands.SetCommandHandler(kCommandInsertChannel, [&context] { OnInsert(context); });
    commands.SetCommandEnabler(kCommandInsertChannel, targeted);
    commands.SetCommandHandler(kCommandMoveChannelUp, [&context] { OnMove(context, true); });
    commands.SetCommandEnabler(kCommandMoveChannelUp,
                               [&context] { return CanMove(context, true); });
    commands.SetCommandHandler(kCommandMoveChannelDown, [&context] { OnMove(context, false); });
    commands.SetCommandEnabler(kCommandMoveChannelDown,
                               [&context] { return CanMove(context, false); });
}
