// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_row_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <algorithm>

#include "app/edit_commands.h"
#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "codeplug/channel_row_ops.h"
#include "codeplug/document.h"
#include "config/language.h"
#include "editors/channel_csv.h"
#include "editors/channel_csv_dialog.h"
#include "editors/channel_page.h"
#include "resources/command_ids.h"
#include "view/main_view.h"

namespace {

// Report lines past this many are summed up, so the box still fits on the screen.
constexpr size_t kShownLosses = 20;

QString Arg(const std::string& text) {
    return QString::fromStdString(text);
}

CChannelPage* ChannelPage(CHalvexApp& app) {
    CMainFrame* frame = app.MainFrame();
    if (frame == nullptr) {
        return nullptr;
    }
    for (MainViewPage* page : frame->View()->Pages()) {
        if (auto* channels = dynamic_cast<CChannelPage*>(page)) {
            return channels;
        }
    }
    return nullptr;
}

// The selected channels when all of them may be changed; empty otherwise.
std::vector<int> Selection(CHalvexApp& app) {
    CChannelPage* page = ChannelPage(app);
    if (page == nullptr) {
        return {};
    }
    std::vector<int> channels = page->SelectedChannels();
    if (!channels.empty() && channels.back() > page->LastEditableChannel()) {
        return {};
    }
    return channels;
}

int Target(CHalvexApp& app) {
    CChannelPage* page = ChannelPage(app);
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
void Finish(CHalvexApp& app, const char* nameKey, const std::vector<int>& named, int first,
            const std::vector<int>& selected) {
    const std::string step = StepName(nameKey, {Arg(ChannelListText(named))});
    app.Document().CommitEdit(step);
    // The bar tells what was done last, never an earlier copy.
    ShowStatusNote(app.MainFrame(), StepText(step));
    CChannelPage* page = ChannelPage(app);
    page->RefreshRows(first, page->LastEditableChannel());
    page->SelectChannels(selected);
}

void Copy(CHalvexApp& app, const std::vector<int>& channels) {
    CHalvexDoc& document = app.Document();
    std::vector<std::string> notes;
    auto* data = new QMimeData;
    const std::string exact = EncodeChannelSlots(CopyChannels(document, channels));
    data->setData(kChannelsMimeType,
                  QByteArray(exact.data(), static_cast<qsizetype>(exact.size())));
    data->setText(
        QString::fromStdString(ExportChannelCsvRows(document, channels, LanguageWording, &notes)));
    QApplication::clipboard()->setMimeData(data);
    QString note = LangText("IDS_CHANNELS_COPIED", {Arg(ChannelListText(channels))});
    if (!notes.empty()) {
        note += QLatin1Char(' ') +
                LangText("IDS_CHANNELS_TEXT_LEAVES_OUT", {QString::number(notes.size())});
    }
    ShowStatusNote(app.MainFrame(), note);
}

void OnCopy(CHalvexApp& app) {
    Copy(app, Selection(app));
}

void OnCut(CHalvexApp& app) {
    const std::vector<int> channels = Selection(app);
    Copy(app, channels);
    ClearChannels(app.Document(), ChannelPage(app)->LastEditableChannel(), channels);
    Finish(app, "IDS_EDIT_CUT_CHANNELS", channels, channels.front(), channels);
}

void ShowMessage(CHalvexApp& app, const std::string& text, MessageIcon icon) {
    MessageBox::Show(app.MainFrame(), text,
                     LoadLangString(icon == MessageIcon::Stop ? "IDS_ERROR" : "IDS_PROMPT"), icon,
                     MessageButtons::Ok);
}

void ReportPastEnd(CHalvexApp& app, int rowsPastEnd, int last) {
    if (rowsPastEnd > 0) {
        ShowMessage(
            app,
            LangText("IDS_PASTE_PAST_END", {QString::number(rowsPastEnd), QString::number(last)})
                .toStdString(),
            MessageIcon::Exclamation);
    }
}

// Channels whose bytes differ between before and the document, in 1..last.
std::vector<int> ChangedChannels(const CHalvexDoc& document,
                                 const std::array<uint8_t, kImageSize>& before, int last) {
    RadioImage old;
    old.bytes = before;
    std::vector<int> changed;
    for (int n = 1; n <= last; ++n) {
        if (!(ReadChannelSlot(old, n) == ReadChannelSlot(document, n))) {
            changed.push_back(n);
        }
    }
    return changed;
}

void PasteText(CHalvexApp& app, const std::string& text, int target, int last) {
    CHalvexDoc& document = app.Document();
    const auto before = document.bytes;
    ChannelImportResult result;
    std::string error;
    if (!PasteChannelCsv(text, document, last, target, LanguageWording, &result, &error)) {
        ShowMessage(app, LoadLangString("IDS_PASTE_REFUSED") + error, MessageIcon::Stop);
        return;
    }
    const std::vector<int> changed = ChangedChannels(document, before, last);
    Finish(app, "IDS_EDIT_PASTE_CHANNELS", changed, target,
           changed.empty() ? std::vector<int>{target} : changed);
    if (!result.losses.empty()) {
        std::string report = ImportSummary(result, LanguageWording);
        for (size_t index = 0; index < result.losses.size() && index < kShownLosses; ++index) {
            report += "\n" + result.losses[index];
        }
        if (result.losses.size() > kShownLosses) {
            report += "\n...";
        }
        ShowMessage(app, report, MessageIcon::Information);
    }
    ReportPastEnd(app, result.rowsPastEnd, last);
}

void OnPaste(CHalvexApp& app) {
    const int target = Target(app);
    const int last = ChannelPage(app)->LastEditableChannel();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return;
    }
    const QByteArray exact = data->data(kChannelsMimeType);
    const auto copied = DecodeChannelSlots(std::string_view(exact.constData(), exact.size()));
    if (!copied) {
        PasteText(app, data->text().toStdString(), target, last);
        return;
    }
    const int pastEnd = PasteChannels(app.Document(), last, target, *copied);
    const std::vector<int> pasted = Range(target, static_cast<int>(copied->size()) - pastEnd);
    Finish(app, "IDS_EDIT_PASTE_CHANNELS", pasted, target, pasted);
    ReportPastEnd(app, pastEnd, last);
}

void OnInsert(CHalvexApp& app) {
    CHalvexDoc& document = app.Document();
    const int target = Target(app);
    const int last = ChannelPage(app)->LastEditableChannel();
    const int count = std::max<int>(1, static_cast<int>(Selection(app).size()));
    InsertOutcome outcome = InsertEmptyChannels(document, last, target, count, false);
    if (outcome == InsertOutcome::WouldDropChannels) {
        std::vector<int> lost;
        for (int n = std::max(target, last - count + 1); n <= last; ++n) {
            if (!document.IsChannelEmpty(n)) {
                lost.push_back(n);
            }
        }
        const MessageAnswer answer = MessageBox::Show(
            app.MainFrame(),
            LangText("IDS_INSERT_DROPS_CHANNELS", {Arg(ChannelListText(lost))}).toStdString(),
            LoadLangString("IDS_CONFIRM"), MessageIcon::Exclamation, MessageButtons::OkCancel);
        if (answer != MessageAnswer::Ok) {
            return;
        }
        outcome = InsertEmptyChannels(document, last, target, count, true);
    }
    if (outcome == InsertOutcome::Inserted) {
        const std::vector<int> inserted = Range(target, std::min(count, last - target + 1));
        Finish(app, "IDS_EDIT_INSERT_CHANNELS", inserted, target, inserted);
    }
}

void OnDelete(CHalvexApp& app) {
    const std::vector<int> channels = Selection(app);
    if (DeleteChannels(app.Document(), ChannelPage(app)->LastEditableChannel(), channels)) {
        Finish(app, "IDS_EDIT_DELETE_CHANNELS", channels, channels.front(), {channels.front()});
    }
}

void OnMove(CHalvexApp& app, bool up) {
    const std::vector<int> channels = Selection(app);
    if (!MoveChannels(app.Document(), ChannelPage(app)->LastEditableChannel(), channels, up)) {
        return;
    }
    std::vector<int> moved;
    for (int n : channels) {
        moved.push_back(up ? n - 1 : n + 1);
    }
    Finish(app, up ? "IDS_EDIT_MOVE_UP" : "IDS_EDIT_MOVE_DOWN", channels,
           std::min(channels.front(), moved.front()), moved);
}

void OnClear(CHalvexApp& app) {
    const std::vector<int> channels = Selection(app);
    if (ClearChannels(app.Document(), ChannelPage(app)->LastEditableChannel(), channels)) {
        Finish(app, "IDS_EDIT_CLEAR_CHANNELS", channels, channels.front(), channels);
    }
}

bool CanMove(CHalvexApp& app, bool up) {
    const std::vector<int> channels = Selection(app);
    return !channels.empty() &&
           (up ? channels.front() > 1 : channels.back() < ChannelPage(app)->LastEditableChannel());
}

}  // namespace

void InstallChannelRowCommands(CHalvexApp& app, CMainFrame& frame) {
    auto selected = [&app] { return !Selection(app).empty(); };
    auto targeted = [&app] { return Target(app) > 0; };
    const std::pair<int, void (*)(CHalvexApp&)> onSelection[] = {{kCommandCut, OnCut},
                                                                 {kCommandCopy, OnCopy},
                                                                 {kCommandDeleteChannel, OnDelete},
                                                                 {kCommandClear, OnClear}};
    for (const auto& [command, handler] : onSelection) {
        frame.SetCommandHandler(command, [&app, run = handler] { run(app); });
        frame.SetCommandEnabler(command, selected);
    }
    frame.SetCommandHandler(kCommandPaste, [&app] { OnPaste(app); });
    frame.SetCommandEnabler(kCommandPaste,
                            [&app] { return Target(app) > 0 && ClipboardHasChannels(); });
    frame.SetCommandHandler(kCommandInsertChannel, [&app] { OnInsert(app); });
    frame.SetCommandEnabler(kCommandInsertChannel, targeted);
    frame.SetCommandHandler(kCommandMoveChannelUp, [&app] { OnMove(app, true); });
    frame.SetCommandEnabler(kCommandMoveChannelUp, [&app] { return CanMove(app, true); });
    frame.SetCommandHandler(kCommandMoveChannelDown, [&app] { OnMove(app, false); });
    frame.SetCommandEnabler(kCommandMoveChannelDown, [&app] { return CanMove(app, false); });
}
