// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel_edits.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "codeplug/channel_columns.h"
#include "codeplug/channel_row_ops.h"
#include "codeplug/channel_sort.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "editors/channel_bulk_edit.h"
#include "editors/channel_csv.h"
#include "editors/channel_row_state.h"
#include "editors/difference_words.h"
#include "editors/page_words.h"
#include "web_files.h"

namespace {

// Report lines past this many are summed up, as the desktop's box does.
constexpr size_t kShownLosses = 20;

std::string Wording(const CsvReportText& text) {
    return LoadLangString(text.key);
}

// %1, %2, ... of a language text filled in order.
std::string Text(const char* key, const std::vector<std::string>& arguments = {}) {
    std::string text = LoadLangString(key);
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string mark = "%" + std::to_string(index + 1);
        const size_t at = text.find(mark);
        if (at != std::string::npos) {
            text.replace(at, mark.size(), arguments[index]);
        }
    }
    return text;
}

ChannelTableSettings TableSettings(const WebDocument& document) {
    return ReadChannelTableSettings(kWebSettingsPath, document.ChannelCount());
}

int LastEditable(const WebDocument& document) {
    return LastEditableChannel(TableSettings(document));
}

// The channels a whole-channel command may change: none when one lies past the last editable.
std::vector<int> Editable(const WebDocument& document, std::vector<int> channels) {
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    if (!channels.empty() && (channels.front() < 1 || channels.back() > LastEditable(document))) {
        return {};
    }
    return channels;
}

std::vector<int> Range(int first, int count) {
    std::vector<int> channels(static_cast<size_t>(std::max(count, 0)));
    std::iota(channels.begin(), channels.end(), first);
    return channels;
}

// One named edit; the step's name is the status line, and selected stays chosen.
RowEdit Finish(WebDocument& document, const char* key, const std::vector<int>& named,
               const std::vector<int>& selected) {
    RowEdit edit;
    edit.note = document.CommitStep(CountedKey(key, named.size()),
                                    {StepPart::Literal(ChannelListText(named))});
    edit.changed = true;
    edit.selected = selected;
    return edit;
}

std::string PastEndMessage(int pastEnd, int last) {
    return pastEnd > 0 ? Text("IDS_PASTE_PAST_END", {std::to_string(pastEnd), std::to_string(last)})
                       : std::string();
}

// The channels left as they were, and why; empty when every channel took the value.
std::string SkippedReport(const WebDocument& document, const BulkEditReport& report) {
    const FrequencyLimits& limits = document.Document().GetFrequencyLimits();
    std::vector<std::string> lines;
    if (!report.emptySkipped.empty()) {
        lines.push_back(Text("IDS_BULK_SKIPPED_EMPTY", {ChannelListText(report.emptySkipped)}));
    }
    if (!report.lockedSkipped.empty()) {
        lines.push_back(Text("IDS_BULK_SKIPPED_LOCKED", {ChannelListText(report.lockedSkipped)}));
    }
    if (!report.outOfBand.empty()) {
        lines.push_back(Text("IDS_BULK_OUT_OF_BAND", {ChannelListText(report.outOfBand),
                                                      FormatFrequencyValue(limits.m_FreqMin),
                                                      FormatFrequencyValue(limits.m_FreqMax)}));
    }
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

// A bulk edit's end: one step when a channel changed, the desktop's note when none did.
RowEdit FinishBulk(WebDocument& document, const char* key, const std::vector<StepPart>& parts,
                   const std::vector<int>& changed, const std::vector<int>& selected) {
    RowEdit edit;
    edit.changed = !changed.empty();
    edit.note =
        edit.changed ? document.CommitStep(key, parts) : LoadLangString("IDS_BULK_NOTHING_CHANGED");
    edit.selected = selected;
    return edit;
}

RowEdit Refused(const std::string& message) {
    RowEdit edit;
    edit.message = message;
    edit.refused = true;
    return edit;
}

// The typed amount, or the desktop's refusal naming the text and its unit.
std::optional<int32_t> Amount(const std::string& text, bool kilohertz, int field,
                              RowEdit* refusal) {
    const size_t first = text.find_first_not_of(" \t");
    const std::string trimmed = first == std::string::npos
                                    ? ""
                                    : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::optional<int32_t> value = ParseFrequencyAmount(trimmed, kilohertz);
    if (!value) {
        *refusal = Refused(Text("IDS_BAD_FREQUENCY_AMOUNT", {text, kilohertz ? "kHz" : "MHz"}));
        refusal->refusedField = field;
    }
    return value;
}

DifferenceWording PageWording() {
    return {
        .text = [](const char* key) { return LoadLangString(key); },
        .list = [](const char* section) { return LoadLangList(section); },
        .controlLabel = [](int id) { return ControlLabelText(id); },
        .columnHeader =
            [](int column) {
                // On one line, as a list shows it.
                std::string header = LoadLangText(
                    g_LanguagePath, kChannelHeaderSection,
                    kChannelColumns[static_cast<size_t>(column)].headerKey, "", kListBufferSize);
                std::string line;
                for (char character : header) {
                    const bool blank = character == ' ' || character == '\n' || character == '\r' ||
                                       character == '\t';
                    if (!blank) {
                        line.push_back(character);
                    } else if (!line.empty() && line.back() != ' ') {
                        line.push_back(' ');
                    }
                }
                if (!line.empty() && line.back() == ' ') {
                    line.pop_back();
                }
                return line;
            },
    };
}

ChannelTexts CellTexts() {
    return WordedChannelTexts([](const ColumnText& text) { return LoadLangString(text.key); });
}

}  // namespace

RowCommandStates RowStatesFor(const WebDocument& document, const std::vector<int>& selection,
                              int target) {
    const std::vector<int> channels = Editable(document, selection);
    const int last = LastEditable(document);
    RowCommandStates states;
    states.onSelection = !channels.empty();
    states.onTarget = target >= 1 && target <= last;
    states.moveUp = !channels.empty() && channels.front() > 1;
    states.moveDown = !channels.empty() && channels.back() < last;
    return states;
}

RowEdit InsertRows(WebDocument& document, int target, int count, bool dropInUse) {
    const int last = LastEditable(document);
    count = std::max(count, 1);
    CHalvexDoc& doc = document.EditedDocument();
    const InsertOutcome outcome =
        InsertEmptyChannels(doc.EditImage(), last, target, count, dropInUse);
    if (outcome == InsertOutcome::WouldDropChannels) {
        const std::vector<int> lost = PushedOffChannels(doc.Image(), last, target, count);
        RowEdit edit;
        edit.question =
            Text(CountedKey("IDS_INSERT_DROPS_CHANNELS", lost.size()), {ChannelListText(lost)});
        return edit;
    }
    if (outcome != InsertOutcome::Inserted) {
        return {};
    }
    const std::vector<int> inserted = Range(target, std::min(count, last - target + 1));
    return Finish(document, "IDS_EDIT_INSERT_CHANNELS", inserted, inserted);
}

RowEdit DeleteRows(WebDocument& document, const std::vector<int>& selection) {
    const std::vector<int> channels = Editable(document, selection);
    if (!DeleteChannels(document.EditedDocument().EditImage(), LastEditable(document), channels)) {
        return {};
    }
    return Finish(document, "IDS_EDIT_DELETE_CHANNELS", channels, {channels.front()});
}

RowEdit MoveRows(WebDocument& document, const std::vector<int>& selection, bool up) {
    const std::vector<int> channels = Editable(document, selection);
    if (!MoveChannels(document.EditedDocument().EditImage(), LastEditable(document), channels,
                      up)) {
        return {};
    }
    std::vector<int> moved;
    for (int n : channels) {
        moved.push_back(up ? n - 1 : n + 1);
    }
    return Finish(document, up ? "IDS_EDIT_MOVE_UP" : "IDS_EDIT_MOVE_DOWN", channels, moved);
}

RowEdit ClearRows(WebDocument& document, const std::vector<int>& selection) {
    const std::vector<int> channels = Editable(document, selection);
    if (!ClearChannels(document.EditedDocument().EditImage(), LastEditable(document), channels)) {
        return {};
    }
    return Finish(document, "IDS_EDIT_CLEAR_CHANNELS", channels, channels);
}

CopiedRows CopyRows(const WebDocument& document, const std::vector<int>& selection) {
    const std::vector<int> channels = Editable(document, selection);
    CopiedRows copied;
    if (channels.empty()) {
        return copied;
    }
    const CHalvexDoc& doc = document.Document();
    const std::string exact = EncodeChannelSlots(CopyChannels(doc.Image(), channels));
    copied.exact.assign(exact.begin(), exact.end());
    std::vector<std::string> notes;
    copied.text = ExportChannelCsvRows(doc, channels, Wording, &notes, '\t');
    copied.note =
        Text(CountedKey("IDS_CHANNELS_COPIED", channels.size()), {ChannelListText(channels)});
    if (!notes.empty()) {
        copied.note += " " + Text(CountedKey("IDS_CHANNELS_TEXT_LEAVES_OUT", notes.size()),
                                  {std::to_string(notes.size())});
    }
    return copied;
}

RowEdit CutRows(WebDocument& document, const std::vector<int>& selection) {
    const std::vector<int> channels = Editable(document, selection);
    if (!ClearChannels(document.EditedDocument().EditImage(), LastEditable(document), channels)) {
        return {};
    }
    return Finish(document, "IDS_EDIT_CUT_CHANNELS", channels, channels);
}

RowEdit PasteRows(WebDocument& document, int target, const std::vector<uint8_t>& exact,
                  const std::string& text) {
    const int last = LastEditable(document);
    if (target < 1 || target > last) {
        return {};
    }
    CHalvexDoc& doc = document.EditedDocument();
    const auto copied = DecodeChannelSlots(
        std::string_view(reinterpret_cast<const char*>(exact.data()), exact.size()));
    if (copied) {
        const int pastEnd = PasteChannels(doc.EditImage(), last, target, *copied);
        const std::vector<int> pasted = Range(target, static_cast<int>(copied->size()) - pastEnd);
        RowEdit edit = Finish(document, "IDS_EDIT_PASTE_CHANNELS", pasted, pasted);
        edit.message = PastEndMessage(pastEnd, last);
        return edit;
    }
    RadioImage before;
    before.bytes = doc.Image().bytes;
    ChannelImportResult result;
    std::string error;
    if (!PasteChannelText(text, doc, last, target, Wording, &result, &error)) {
        return Refused(LoadLangString("IDS_PASTE_REFUSED") + error);
    }
    const std::vector<int> changed = ChangedChannels(before, doc.Image(), last);
    RowEdit edit = Finish(document, "IDS_EDIT_PASTE_CHANNELS", changed,
                          changed.empty() ? std::vector<int>{target} : changed);
    if (!result.losses.empty()) {
        edit.message = ImportSummary(result, Wording);
        for (size_t index = 0; index < result.losses.size() && index < kShownLosses; ++index) {
            edit.message += "\n" + result.losses[index];
        }
        if (result.losses.size() > kShownLosses) {
            edit.message += "\n...";
        }
    }
    const std::string pastEnd = PastEndMessage(result.rowsPastEnd, last);
    if (!pastEnd.empty()) {
        edit.message += (edit.message.empty() ? "" : "\n\n") + pastEnd;
    }
    return edit;
}

std::vector<int> SettableColumns() {
    std::vector<int> columns;
    for (int column = 0; column < kChannelColumnCount; ++column) {
        if (CanSetColumn(column)) {
            columns.push_back(column);
        }
    }
    return columns;
}

RowEdit SetColumnOfRows(WebDocument& document, const std::vector<int>& channels, int column,
                        int index, const std::string& offset) {
    if (!CanSetColumn(column) || channels.empty()) {
        return {};
    }
    ColumnSetting setting{column, index, std::nullopt};
    if (column == kColumnTransmit) {
        if (offset.find_first_not_of(" \t") != std::string::npos) {
            RowEdit refusal;
            setting.offset = Amount(offset, false, 0, &refusal);
            if (!setting.offset) {
                return refusal;
            }
        }
    } else if (index < 0) {
        return {};
    }
    const BulkEditReport report =
        SetColumnForChannels(document.EditedDocument(), channels, setting, TableSettings(document));
    RowEdit edit = FinishBulk(
        document, "IDS_EDIT_SET_COLUMN",
        {StepPart::ChannelColumn(column), StepPart::Literal(ChannelListText(report.changed))},
        report.changed, channels);
    edit.message = SkippedReport(document, report);
    return edit;
}

RowEdit SortRows(WebDocument& document, const std::vector<int>& selection, int key, bool descending,
                 bool selectionOnly) {
    const int last = LastEditable(document);
    std::vector<int> channels = selectionOnly ? selection : Range(1, last);
    const ChannelSortOrder order{static_cast<ChannelSortKey>(std::clamp(key, 0, 2)), descending};
    const std::vector<int> changed =
        SortChannels(document.EditedDocument().EditImage(), last, channels, order);
    return FinishBulk(document, "IDS_EDIT_SORT_CHANNELS",
                      {StepPart::Literal(ChannelListText(channels))}, changed,
                      selectionOnly ? channels : std::vector<int>{});
}

std::string FillStart(const WebDocument& document, const std::vector<int>& channels) {
    const CHalvexDoc& doc = document.Document();
    if (channels.empty() || channels.front() < 1 || channels.front() > doc.GetChannelCount() ||
        doc.Image().IsChannelEmpty(channels.front())) {
        return {};
    }
    return doc.Image().GetFrequencyText(channels.front(), kDecodeSide);
}

RowEdit FillRows(WebDocument& document, const std::vector<int>& channels, const std::string& first,
                 const std::string& step, const std::string& shift) {
    RowEdit refusal;
    const std::optional<int32_t> start = Amount(first, false, 0, &refusal);
    if (!start) {
        return refusal;
    }
    const std::optional<int32_t> stepAmount = Amount(step, true, 1, &refusal);
    if (!stepAmount) {
        return refusal;
    }
    const std::optional<int32_t> shiftAmount = Amount(shift, false, 2, &refusal);
    if (!shiftAmount) {
        return refusal;
    }
    const BulkEditReport report =
        FillFrequencies(document.EditedDocument(), channels, *start, *stepAmount, *shiftAmount,
                        TableSettings(document));
    RowEdit edit =
        FinishBulk(document, "IDS_EDIT_FILL_FREQUENCIES",
                   {StepPart::Literal(ChannelListText(report.changed))}, report.changed, channels);
    edit.message = SkippedReport(document, report);
    return edit;
}

FoundRow FindRow(const WebDocument& document, const std::string& text, int focusRow, int direction,
                 bool includeCurrent) {
    const size_t first = text.find_first_not_of(" \t");
    const std::string trimmed = first == std::string::npos
                                    ? ""
                                    : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const std::vector<int> matches =
        FindChannels(document.Document(), document.ChannelCount(), trimmed);
    FoundRow found;
    if (matches.empty()) {
        found.status = text.empty() ? std::string() : LoadLangString("IDS_FIND_NO_MATCH");
        return found;
    }
    const int count = static_cast<int>(matches.size());
    int index = direction > 0 ? 0 : count - 1;
    for (int k = 0; k < count; ++k) {
        const int candidate = direction > 0 ? k : count - 1 - k;
        const int n = matches[static_cast<size_t>(candidate)];
        if (direction > 0 ? (includeCurrent ? n >= focusRow : n > focusRow)
                          : (includeCurrent ? n <= focusRow : n < focusRow)) {
            index = candidate;
            break;
        }
    }
    found.channel = matches[static_cast<size_t>(index)];
    const std::vector<std::string> cells = document.RowTexts(found.channel);
    const std::string& name = cells[kColumnName];
    const std::string shown =
        name.empty() ? cells[kColumnReceive] : cells[kColumnReceive] + " " + name;
    found.status = Text("IDS_FIND_MATCH", {std::to_string(found.channel), shown,
                                           std::to_string(index + 1), std::to_string(count)});
    return found;
}

std::vector<std::string> DifferenceLines(const std::vector<ImageDifference>& differences) {
    const DifferenceWording wording = PageWording();
    std::vector<std::string> lines;
    for (const ImageDifference& difference : differences) {
        lines.push_back(DifferenceText(difference, wording));
    }
    return lines;
}

DifferenceList RadioDifferences(const WebDocument& document, const std::vector<uint8_t>& radio) {
    DifferenceList list;
    const CHalvexDoc& doc = document.Document();
    CHalvexDoc read(doc);
    if (radio.size() == kImageSize) {
        std::copy(radio.begin(), radio.end(), read.EditImage().bytes.begin());
    }
    list.lines = DifferenceLines(DiffImages(doc, read, doc.GetChannelCount(), CellTexts()));
    list.summary = LoadLangString(list.lines.empty() ? "IDS_COMPARE_SAME" : "IDS_COMPARE_DIFFER");
    return list;
}
