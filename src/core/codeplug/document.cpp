// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/document.h"

#include <algorithm>
#include <cctype>

#include "codeplug/band_lines.h"

namespace {

constexpr std::array<uint8_t, 7> kDefaultOptions = {0x04, 0x78, 0x88, 0x01, 0x00, 0x00, 0x00};
constexpr int kEmptyFmPreset = 431;

template <size_t Size>
void WriteBytes(std::array<uint8_t, kImageSize>& image, size_t offset,
                const std::array<uint8_t, Size>& values) {
    std::copy(values.begin(), values.end(), image.begin() + static_cast<ptrdiff_t>(offset));
}

void SetError(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
}

}  // namespace

CHalvexDoc::CHalvexDoc(DocumentPrompts& prompts, const DocumentSettings& settings)
    : m_Prompts(prompts) {
    SetSettings(settings);
    DeleteContents();
    ClearEditHistory();
}

void CHalvexDoc::SetSettings(const DocumentSettings& settings) {
    m_Settings = settings;
    m_Settings.channelCount = std::clamp(settings.channelCount, 1, kImageChannelCount);
}

std::optional<std::string> CHalvexDoc::BandLine(int k, size_t bufferSize) const {
    return m_Settings.bandLines ? m_Settings.bandLines(k, bufferSize) : std::nullopt;
}

void CHalvexDoc::SetFrequencyText(int i, RecordSide which, std::string_view text) {
    m_Image.SetFrequencyText(i, which, text, m_Limits);
}

std::string CHalvexDoc::GetTransmitText(int n) const {
    std::string receive = m_Image.GetFrequencyText(n, kDecodeSide);
    std::string offset = m_Image.GetFrequencyText(n, kEncodeSide);
    if (receive == "?" || offset == "?") {
        return "?";
    }
    bool same = std::equal(receive.begin(), receive.end(), offset.begin(), offset.end(),
                           [](char left, char right) {
                               return std::tolower(static_cast<unsigned char>(left)) ==
                                      std::tolower(static_cast<unsigned char>(right));
                           });
    if (same) {
        return "";
    }
    switch (m_Image.GetShiftDirection(n)) {
        case kShiftMinus:
            return FormatFrequencyValue(FrequencyTextToValue(receive) -
                                        FrequencyTextToValue(offset));
        case kShiftPlus:
            return FormatFrequencyValue(FrequencyTextToValue(receive) +
                                        FrequencyTextToValue(offset));
        default:
            return receive;
    }
}

void CHalvexDoc::AddView(DocumentView* view) {
    if (std::find(m_Views.begin(), m_Views.end(), view) == m_Views.end()) {
        m_Views.push_back(view);
    }
}

void CHalvexDoc::RemoveView(DocumentView* view) {
    std::erase(m_Views, view);
}

void CHalvexDoc::SetModifiedFlag(bool modified) {
    if (m_Modified != modified) {
        m_Modified = modified;
        NotifyTitleChanged();
    }
}

void CHalvexDoc::NotifyTitleChanged() {
    for (DocumentView* view : m_Views) {
        view->OnTitleChanged();
    }
}

void CHalvexDoc::UpdateAllViews() {
    // A view may unregister while it updates.
    std::vector<DocumentView*> views = m_Views;
    for (DocumentView* view : views) {
        view->OnUpdate();
    }
}

void CHalvexDoc::DeleteContents() {
    m_Header = NewPgmFile().header;
    m_Image.bytes.fill(0xFF);
}

bool CHalvexDoc::OnNewDocument(bool silent) {
    if (!silent && !m_Prompts.AskOkCancel({"IDS_CONFIRM", "IDS_WARN_CLEAR", ""})) {
        return false;
    }
    DeleteContents();
    m_PathName.clear();
    ApplyModelLine(0);
    ApplyDefaults();
    m_Modified = false;
    ClearEditHistory();
    UpdateAllViews();
    return true;
}

bool CHalvexDoc::OnOpenDocument(const std::string& path, std::string* error) {
    PgmFile file;
    std::string message;
    PgmLoadResult result = LoadPgmFile(path, &file, &message);
    if (result == PgmLoadResult::Failed) {
        m_Prompts.ShowStopMessage({"IDS_ERROR", "", message});
        SetError(error, message);
        return false;
    }
    m_Header = file.header;
    m_Image.bytes = file.image;
    ComputeFrequencyLimits();
    m_Modified = false;
    ClearEditHistory();
    if (result == PgmLoadResult::ForeignHeader) {
        // Never bind the document to a file we refused: a later Save would overwrite it.
        m_PathName.clear();
        UpdateAllViews();
        m_Prompts.ShowStopMessage({"IDS_ERROR", "IDS_WARN_LOAD", ""});
        SetError(error, message);
        return false;
    }
    m_PathName = path;
    UpdateAllViews();
    return true;
}

void CHalvexDoc::DetachFromFile() {
    m_PathName.clear();
    NotifyTitleChanged();
}

void CHalvexDoc::TakeRadioImage(const std::array<uint8_t, kImageSize>& image) {
    m_Image.bytes = image;
    m_PathName.clear();
    m_Modified = true;
    ClearEditHistory();
    NotifyTitleChanged();
}

void CHalvexDoc::ReplaceContents(const std::array<uint8_t, kPgmHeaderSize>& header,
                                 const std::array<uint8_t, kImageSize>& image,
                                 const std::string& stepName) {
    m_Header = header;
    m_Image.bytes = image;
    SetModifiedFlag();
    CommitEdit(stepName);
    RefreshLimitsAndViews();
}

bool CHalvexDoc::OnSaveDocument(const std::string& path, std::string* error) {
    PgmFile file{m_Header, m_Image.bytes};
    std::string message;
    if (!SavePgmFile(path, file, &message)) {
        m_Prompts.ShowStopMessage({"IDS_ERROR", "", message});
        SetError(error, message);
        return false;
    }
    CommitPendingEdits();
    m_History.MarkSaved();
    m_PathName = path;
    m_Modified = false;
    NotifyTitleChanged();
    return true;
}

bool CHalvexDoc::SaveWithConfirmation(std::string* error) {
    if (!m_PathName.empty() &&
        !m_Prompts.AskOkCancel({"IDS_CONFIRM", "IDS_WARN_SAVE", m_PathName, true})) {
        return false;
    }
    PrepareImageUnrecorded();
    std::string path = m_PathName;
    if (path.empty()) {
        std::optional<std::string> chosen = m_Prompts.AskSavePath();
        if (!chosen || chosen->empty()) {
            return false;
        }
        path = *chosen;
    }
    return OnSaveDocument(path, error);
}

void CHalvexDoc::ChangeFrequencyRange(int k) {
    DeleteContents();
    ApplyModelLine(k);
    m_Modified = true;
    UpdateAllViews();
}

int CHalvexDoc::FindModelLine() const {
    int result = 0;
    for (int k = 0; k < kBandLineCount; ++k) {
        std::optional<std::string> line = BandLine(k, kBandLineMatchBufferSize);
        if (!line) {
            break;
        }
        if (!IsUsableBandLine(*line)) {
            continue;
        }
        BandLineWords words = DecodeBandLineWords(*line);
        if (std::equal(words.bytes.begin(), words.bytes.end(),
                       m_Image.bytes.begin() + static_cast<ptrdiff_t>(words.offset))) {
            result = k;
        }
    }
    return result;
}

void CHalvexDoc::ApplyModelLine(int k) {
    std::optional<std::string> line;
    if (k >= 0 && k < kBandLineCount) {
        line = BandLine(k, kBandLineMatchBufferSize);
    }
    if (line && IsUsableBandLine(*line)) {
        BandLineWords words = DecodeBandLineWords(*line);
        std::copy(words.bytes.begin(), words.bytes.end(),
                  m_Image.bytes.begin() + static_cast<ptrdiff_t>(words.offset));
    }
    ComputeFrequencyLimits();
    ApplyDefaults();
}

void CHalvexDoc::ComputeFrequencyLimits() {
    std::optional<std::string> line = BandLine(FindModelLine(), kBandLineLimitsBufferSize);
    if (!line || !IsUsableBandLine(*line)) {
        m_Limits = FrequencyLimits{};
        return;
    }
    m_Limits = BandLineLimits(*line);
}

void CHalvexDoc::ApplyDefaults() {
    for (int vfo : {kVfoF1, kVfoF2}) {
        SetFrequencyText(vfo, kDecodeSide, FormatFrequencyValue(m_Limits.m_FreqMin));
        SetFrequencyText(vfo, kEncodeSide, "000.00000");
    }
    for (int n = 1; n <= m_Settings.channelCount; ++n) {
        m_Image.ClearRecordSettings(n);
        m_Image.SetChannelNameBytes(n, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    }
    for (int vfo : {kVfoF1, kVfoF2}) {
        m_Image.ClearRecordSettings(vfo);
    }
    m_Image.SetWord(kFmPresetBase, 1, 0);
    m_Image.SetWord(kFmFrequencyOffset, 1, 0);
    for (int preset = 2; preset <= kFmPresetCount; ++preset) {
        m_Image.SetWord(kFmPresetBase, preset, kEmptyFmPreset);
    }
    WriteBytes(m_Image.bytes, kOptionBase, kDefaultOptions);
    m_Image.SetPttIdCode({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    m_Image.SetScanAdd(kVfoF1, false);
    m_Image.SetScanAdd(kVfoF2, false);
}

void CHalvexDoc::RefreshLimitsAndViews() {
    ComputeFrequencyLimits();
    UpdateAllViews();
}

std::vector<uint8_t> CHalvexDoc::EditState() const {
    std::vector<uint8_t> state(m_Header.begin(), m_Header.end());
    state.insert(state.end(), m_Image.bytes.begin(), m_Image.bytes.end());
    return state;
}

void CHalvexDoc::SetEditState(const std::vector<uint8_t>& state) {
    std::copy(state.begin(), state.begin() + kPgmHeaderSize, m_Header.begin());
    std::copy(state.begin() + kPgmHeaderSize, state.end(), m_Image.bytes.begin());
}

void CHalvexDoc::FollowSavedState() {
    SetModifiedFlag(!m_History.IsAtSavedState());
}

void CHalvexDoc::CommitEdit(const std::string& name) {
    if (m_History.Commit(name, EditState())) {
        FollowSavedState();
    }
}

void CHalvexDoc::CommitPendingEdits() {
    m_History.Commit("", EditState());
}

bool CHalvexDoc::CanUndo() const {
    return m_History.CanUndo() || m_History.HasChanges(EditState());
}

bool CHalvexDoc::CanRedo() const {
    return m_History.CanRedo() && !m_History.HasChanges(EditState());
}

std::string CHalvexDoc::UndoName() const {
    return m_History.HasChanges(EditState()) ? std::string() : m_History.UndoName();
}

std::string CHalvexDoc::RedoName() const {
    return CanRedo() ? m_History.RedoName() : std::string();
}

void CHalvexDoc::KeepUndoneRuns(const std::vector<ByteRun>& runs) {
    m_LastUndoneRuns.clear();
    for (const ByteRun& run : runs) {
        if (run.offset + run.before.size() <= kPgmHeaderSize) {
            continue;
        }
        ByteRun imageRun = run;
        size_t skip = run.offset < kPgmHeaderSize ? kPgmHeaderSize - run.offset : 0;
        imageRun.offset = run.offset + skip - kPgmHeaderSize;
        imageRun.before.erase(imageRun.before.begin(),
                              imageRun.before.begin() + static_cast<ptrdiff_t>(skip));
        imageRun.after.erase(imageRun.after.begin(),
                             imageRun.after.begin() + static_cast<ptrdiff_t>(skip));
        m_LastUndoneRuns.push_back(std::move(imageRun));
    }
}

bool CHalvexDoc::Undo() {
    CommitPendingEdits();
    return TakeHistoryStep(&EditHistory::Undo);
}

bool CHalvexDoc::Redo() {
    // A pending edit ends the redo list, so there is nothing to redo over it.
    if (m_History.HasChanges(EditState())) {
        return false;
    }
    return TakeHistoryStep(&EditHistory::Redo);
}

bool CHalvexDoc::TakeHistoryStep(HistoryStep step) {
    std::vector<uint8_t> state = EditState();
    const std::vector<ByteRun>* runs = (m_History.*step)(state);
    if (runs == nullptr) {
        return false;
    }
    KeepUndoneRuns(*runs);
    SetEditState(state);
    FollowSavedState();
    RefreshLimitsAndViews();
    return true;
}

void CHalvexDoc::PrepareImageUnrecorded() {
    CommitPendingEdits();
    m_Image.PrepareImage();
    // The derived areas belong to the step that made them stale, not to a step of their own.
    m_History.Absorb(EditState());
}

void CHalvexDoc::ClearEditHistory() {
    m_History.Clear(EditState(), !m_Modified);
    m_LastUndoneRuns.clear();
}
