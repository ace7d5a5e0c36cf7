// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_document.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "codeplug/channel_columns.h"
#include "codeplug/pgm_file.h"
#include "codeplug/write_risk.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "editors/channel_row_state.h"
#include "editors/page_words.h"
#include "web_files.h"

namespace {

// What the desktop's cell editors let through.
constexpr size_t kFrequencyTextLimit = 9;
constexpr size_t kNameTextLimit = 5;
constexpr size_t kRangeBufferSize = 30;

std::string ChannelStepName(int row, int column) {
    return MakeStepName("IDS_STEP_CHANNEL",
                        {StepPart::Literal(std::to_string(row)), StepPart::ChannelColumn(column)});
}

ChannelTexts CurrentChannelTexts() {
    return WordedChannelTexts([](const ColumnText& text) { return LoadLangString(text.key); });
}

int ChannelCountOf(const std::string& settingsPath) {
    return ClampChannelCount(settings::kChannelCount.Read(settingsPath));
}

}  // namespace

void KeptPrompts::ShowStopMessage(const DocumentMessage& message) {
    m_Message = (message.textKey.empty() ? std::string() : LoadLangString(message.textKey)) +
                message.detail;
}

std::string KeptPrompts::TakeMessage() {
    return std::exchange(m_Message, {});
}

WebDocument::WebDocument(std::string settingsPath)
    : m_SettingsPath(std::move(settingsPath)),
      m_Document(m_Prompts, DocumentSettingsFor(m_SettingsPath, ChannelCountOf(m_SettingsPath))) {
    m_Document.OnNewDocument(true);
}

void WebDocument::UseSettings() {
    m_Document.SetSettings(DocumentSettingsFor(m_SettingsPath, ChannelCountOf(m_SettingsPath)));
}

void WebDocument::NewDocument() {
    UseSettings();
    m_Document.OnNewDocument(true);
}

FileResult WebDocument::Open(const std::vector<uint8_t>& bytes, const std::string& name) {
    FileResult result;
    const std::string path = FilePathFor(name);
    if (!WriteWholeFile(path, bytes, &result.message)) {
        return result;
    }
    // As the desktop opens a file: checked whole before anything of the document is reset.
    PgmFile file;
    size_t size = 0;
    std::string error;
    PgmLoadResult loaded = LoadPgmFile(path, &file, &error, &size);
    if (loaded == PgmLoadResult::Failed) {
        result.message = error;
    } else if (loaded == PgmLoadResult::ForeignHeader) {
        result.message = LoadLangString("IDS_WARN_LOAD");
    } else if (!IsWholePgmFile(path, loaded, size, &error)) {
        result.message = LoadLangString("IDS_WARN_LOADSIZE") + "\n" + error;
    } else {
        UseSettings();
        m_Document.OnNewDocument(true);
        result.ok = m_Document.OnOpenDocument(path, &error);
        result.message = result.ok ? std::string() : m_Prompts.TakeMessage();
    }
    RemoveFile(path);
    return result;
}

FileResult WebDocument::Save(const std::string& name) {
    FileResult result;
    const std::string path = FilePathFor(name);
    m_Document.PrepareImageUnrecorded();
    std::string error;
    if (!m_Document.OnSaveDocument(path, &error)) {
        result.message = m_Prompts.TakeMessage();
        return result;
    }
    result.ok = ReadWholeFile(path, &result.bytes, &result.message);
    RemoveFile(path);
    return result;
}

std::string WebDocument::PathName() const {
    return ShownFileName(m_Document.GetPathName());
}

std::string WebDocument::UndoName() const {
    return StepNameText(m_Document.UndoName());
}

std::string WebDocument::RedoName() const {
    return StepNameText(m_Document.RedoName());
}

std::vector<std::string> WebDocument::RowTexts(int row) const {
    std::vector<std::string> cells(kChannelColumnCount);
    if (row < 1 || row > ChannelCount()) {
        return cells;
    }
    if (!m_Document.Image().IsChannelEmpty(row)) {
        const ChannelRow texts = ChannelRowTexts(m_Document, row, CurrentChannelTexts());
        std::copy(texts.begin(), texts.end(), cells.begin());
    }
    cells[kColumnNumber] = std::to_string(row);
    return cells;
}

std::vector<CellLock> WebDocument::RowStates(int row) const {
    std::vector<CellLock> states(kChannelColumnCount);
    if (row < 1 || row > ChannelCount()) {
        return states;
    }
    const ChannelRowState locks = ChannelRowLocks(
        m_Document.Image(), row, ReadChannelTableSettings(m_SettingsPath, ChannelCount()));
    for (int column = 0; column < kChannelColumnCount; ++column) {
        states[column] = {locks[column].locked, locks[column].shaded};
    }
    return states;
}

int WebDocument::ChoiceIndex(int row, int column) const {
    if (row < 1 || row > ChannelCount() || column <= kColumnNumber ||
        column >= kChannelColumnCount || m_Document.Image().IsChannelEmpty(row)) {
        return -1;
    }
    const ChannelColumnDefinition& definition = kChannelColumns[static_cast<size_t>(column)];
    if (definition.kind != ColumnKind::Tone && definition.kind != ColumnKind::Choice) {
        return -1;
    }
    return definition.value(m_Document.Image(), row);
}

bool WebDocument::IsEditable(int row, int column) const {
    if (row < 1 || row > ChannelCount() || column <= kColumnNumber ||
        column >= kChannelColumnCount) {
        return false;
    }
    return !RowStates(row)[column].locked;
}

CellCommit WebDocument::Committed(int row, int column, const std::vector<uint8_t>& before,
                                  std::string note) {
    CellCommit commit;
    commit.changed = ImageBytes() != before;
    commit.note = std::move(note);
    m_Document.CommitEdit(ChannelStepName(row, column));
    return commit;
}

CellCommit WebDocument::CommitText(int row, int column, const std::string& text) {
    if (!IsEditable(row, column)) {
        return {};
    }
    const ChannelColumnDefinition& definition = kChannelColumns[static_cast<size_t>(column)];
    const std::vector<uint8_t> before = ImageBytes();
    if (definition.kind == ColumnKind::Frequency) {
        const std::string entry = text.substr(0, kFrequencyTextLimit);
        std::optional<FrequencyClamp> clamp = definition.side == kDecodeSide
                                                  ? CommitReceiveFrequency(m_Document, row, entry)
                                                  : CommitTransmitFrequency(m_Document, row, entry);
        return Committed(row, column, before, ClampNoteText(clamp));
    }
    if (definition.kind == ColumnKind::Name) {
        CommitChannelName(m_Document, row, CutName(text, kNameTextLimit));
        return Committed(row, column, before, {});
    }
    return {};
}

CellCommit WebDocument::CommitChoice(int row, int column, int index) {
    if (!IsEditable(row, column) || index < 0) {
        return {};
    }
    const ChannelColumnDefinition& definition = kChannelColumns[static_cast<size_t>(column)];
    const std::vector<uint8_t> before = ImageBytes();
    if (definition.kind == ColumnKind::Tone) {
        const ChannelTexts texts = CurrentChannelTexts();
        if (static_cast<size_t>(index) >= texts.tones.size()) {
            return {};
        }
        ::CommitTone(m_Document, row, definition.side, index);
        return Committed(row, column, before, {});
    }
    if (definition.kind == ColumnKind::Choice) {
        if (static_cast<size_t>(index) >= definition.choices.size()) {
            return {};
        }
        ::CommitChoice(m_Document, row, column, index);
        return Committed(row, column, before, {});
    }
    return {};
}

void WebDocument::SetBand(int index) {
    if (index < 0 || index >= static_cast<int>(BandNames(m_SettingsPath).size()) ||
        index == BandIndex()) {
        return;
    }
    UseSettings();
    m_Document.ChangeFrequencyRange(index);
    m_Document.CommitEdit(MakeStepName("IDS_STEP_RANGE"));
}

bool WebDocument::WouldEraseRadio() const {
    return ::WouldEraseRadio(m_Document.Image(), m_Document.GetChannelCount());
}

std::vector<uint8_t> WebDocument::PreparedCopy() const {
    RadioImage copy = m_Document.Image();
    copy.PrepareImage();
    return {copy.bytes.begin(), copy.bytes.end()};
}

FileResult WebDocument::BackupFile() const {
    FileResult result;
    PgmFile file = NewPgmFile();
    file.image = m_Document.Image().bytes;
    const std::string path = ".backup.pgm";
    if (!SavePgmFile(path, file, &result.message)) {
        return result;
    }
    result.ok = ReadWholeFile(path, &result.bytes, &result.message);
    RemoveFile(path);
    return result;
}

std::vector<uint8_t> WebDocument::ImageBytes() const {
    return {m_Document.Image().bytes.begin(), m_Document.Image().bytes.end()};
}

void WebDocument::TakeRadioImage(const std::vector<uint8_t>& image) {
    if (image.size() != kImageSize) {
        return;
    }
    std::array<uint8_t, kImageSize> taken{};
    std::copy(image.begin(), image.end(), taken.begin());
    m_Document.TakeRadioImage(taken);
}

void WebDocument::ReplaceContents(const std::array<uint8_t, kPgmHeaderSize>& header,
                                  const std::array<uint8_t, kImageSize>& image,
                                  const std::string& stepKey) {
    m_Document.ReplaceContents(header, image, MakeStepName(stepKey));
}

std::string WebDocument::CommitStep(const std::string& stepKey,
                                    const std::vector<StepPart>& parts) {
    const std::string name = MakeStepName(stepKey, parts);
    m_Document.CommitEdit(name);
    return StepNameText(name);
}

std::vector<std::string> BandNames(const std::string& settingsPath) {
    std::vector<std::string> names;
    for (int k = 0; k < settings::kRangeNames.count; ++k) {
        std::optional<std::string> range =
            settings::kRangeNames.Read(settingsPath, k, kRangeBufferSize);
        if (!range) {
            break;
        }
        names.push_back(*range);
    }
    return names;
}
