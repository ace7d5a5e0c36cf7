// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_bulk_commands.h"

#include <QStringList>
#include <numeric>

#include "codeplug/channel_row_ops.h"
#include "codeplug/document.h"
#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/message_box.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_bulk_dialogs.h"
#include "editors/channel_find_bar.h"
#include "editors/channel_page.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"

namespace {

QString ListText(const std::vector<int>& channels) {
    return QString::fromStdString(ChannelListText(channels));
}

ChannelTableSettings TableSettings(const FeatureContext& context) {
    return ReadChannelTableSettings(context.settingsPath, context.document.GetChannelCount());
}

// Empty while another page is in front: a change there would be out of sight.
std::vector<int> Selection(const FeatureContext& context) {
    CChannelPage* page = context.view.ShownChannelPage();
    return page != nullptr ? page->SelectedChannels() : std::vector<int>{};
}

// One named edit of the changed channels (none when nothing changed), the rows redrawn and
// the channels worked on chosen again.
void Finish(const FeatureContext& context, const std::string& step, const std::vector<int>& changed,
            const std::vector<int>& selected) {
    CChannelPage* page = context.view.ChannelPage();
    if (!changed.empty()) {
        context.document.CommitEdit(step);
        page->RefreshRows(changed.front(), changed.back());
    }
    context.showNote(changed.empty() ? LangText("IDS_BULK_NOTHING_CHANGED") : StepText(step));
    page->SelectChannels(selected);
}

// The channels left as they were, and why; nothing when every channel took the value.
void ReportSkipped(const FeatureContext& context, const BulkEditReport& report) {
    const FrequencyLimits& limits = context.document.GetFrequencyLimits();
    QStringList lines;
    if (!report.emptySkipped.empty()) {
        lines << LangText("IDS_BULK_SKIPPED_EMPTY", {ListText(report.emptySkipped)});
    }
    if (!report.lockedSkipped.empty()) {
        lines << LangText("IDS_BULK_SKIPPED_LOCKED", {ListText(report.lockedSkipped)});
    }
    if (!report.outOfBand.empty()) {
        lines << LangText("IDS_BULK_OUT_OF_BAND",
                          {ListText(report.outOfBand),
                           QString::fromStdString(FormatFrequencyValue(limits.m_FreqMin)),
                           QString::fromStdString(FormatFrequencyValue(limits.m_FreqMax))});
    }
    if (!lines.isEmpty()) {
        MessageBox::Show(context.window, lines.join(QLatin1Char('\n')).toStdString(),
                         LoadLangString("IDS_PROMPT"), MessageIcon::Information,
                         MessageButtons::Ok);
    }
}

void OnSetForSelected(const FeatureContext& context) {
    const std::vector<int> channels = Selection(context);
    CSetColumnDlg dialog(context.view.ChannelPage()->Grid()->GetFocusCell().column, context.window);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const ColumnSetting setting = dialog.Setting();
    const BulkEditReport report =
        SetColumnForChannels(context.document, channels, setting, TableSettings(context));
    Finish(context,
           StepName("IDS_EDIT_SET_COLUMN",
                    {StepArg::ChannelColumn(setting.column), ListText(report.changed)}),
           report.changed, channels);
    ReportSkipped(context, report);
}

void OnSort(const FeatureContext& context) {
    std::vector<int> channels = Selection(context);
    CSortChannelsDlg dialog(channels.size() > 1, context.window);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const SortRequest request = dialog.Request();
    const int last = context.view.ChannelPage()->LastEditableChannel();
    if (!request.selectionOnly) {
        channels.resize(static_cast<size_t>(last));
        std::iota(channels.begin(), channels.end(), 1);
    }
    const std::vector<int> changed =
        SortChannels(context.document.EditImage(), last, channels, request.order);
    Finish(context, StepName("IDS_EDIT_SORT_CHANNELS", {ListText(channels)}), changed,
           request.selectionOnly ? channels : std::vector<int>{});
}

void OnFill(const FeatureContext& context) {
    const std::vector<int> channels = Selection(context);
    const QString first = context.document.Image().IsChannelEmpty(channels.front())
                              ? QString()
                              : QString::fromStdString(context.document.Image().GetFrequencyText(
                                    channels.front(), kDecodeSide));
    CFillFrequenciesDlg dialog(first, context.window);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const FillRequest request = dialog.Request();
    const BulkEditReport report =
        FillFrequencies(context.document, channels, request.first, request.step, request.shift,
                        TableSettings(context));
    Finish(context, StepName("IDS_EDIT_FILL_FREQUENCIES", {ListText(report.changed)}),
           report.changed, channels);
    ReportSkipped(context, report);
}

CChannelFindBar* FindBar(const FeatureContext& context) {
    CChannelPage* page = context.view.ChannelPage();
    if (page == nullptr) {
        return nullptr;
    }
    // The bar belongs to the table: finding starts by showing it.
    context.view.ShowChannelPage();
    return page->FindBar();
}

}  // namespace

void InstallChannelBulkCommands(const FeatureContext& context) {
    CommandTable& commands = context.commands;
    auto selected = [&context] { return !Selection(context).empty(); };
    auto hasPage = [&context] { return context.view.ChannelPage() != nullptr; };
    auto shown = [&context] { return context.view.ShownChannelPage() != nullptr; };
    commands.SetCommandHandler(kCommandSetForSelected, [&context] { OnSetForSelected(context); });
    commands.SetCommandEnabler(kCommandSetForSelected, selected);
    commands.SetCommandHandler(kCommandFillFrequencies, [&context] { OnFill(context); });
    commands.SetCommandEnabler(kCommandFillFrequencies, selected);
    commands.SetCommandHandler(kCommandSortChannels, [&context] { OnSort(context); });
    commands.SetCommandEnabler(kCommandSortChannels, shown);
    commands.SetCommandHandler(kCommandFind, [&context] {
        if (CChannelFindBar* bar = FindBar(context)) {
            bar->Open();
        }
    });
    commands.SetCommandHandler(kCommandFindNext, [&context] {
        if (CChannelFindBar* bar = FindBar(context)) {
            bar->FindNext();
        }
    });
    commands.SetCommandHandler(kCommandFindPrevious, [&context] {
        if (CChannelFindBar* bar = FindBar(context)) {
            bar->FindPrevious();
        }
    });
    for (int command : {kCommandFind, kCommandFindNext, kCommandFindPrevious}) {
        commands.SetCommandEnabler(command, hasPage);
    }
}
