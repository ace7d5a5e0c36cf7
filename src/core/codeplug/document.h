// SPDX-License-Identifier: GPL-3.0-or-later
// The single document: it owns the radio image with its .pgm header, the limits of the current
// band, the modified flag and the file it is bound to. It asks and warns only through
// DocumentPrompts and tells views about whole-document changes; it never shows a window.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/codecs.h"
#include "codeplug/document_settings.h"
#include "codeplug/edit_history.h"
#include "codeplug/pgm_file.h"
#include "codeplug/radio_image.h"

// A question or message of the document's life cycle, as language keys: the desktop turns
// them into text, so the document never reads a language file.
struct DocumentMessage {
    std::string captionKey;
    // Empty when detail is the whole message.
    std::string textKey;
    // Follows the text as it stands: a path, or the reason a file failed.
    std::string detail;
    // OK is what the user just asked for (saving over the document's own file), so Enter
    // takes it; questions that erase or replace something else keep Cancel.
    bool okByDefault = false;
};

// The questions and messages of the document's life cycle; the desktop shows them as boxes.
class DocumentPrompts {
public:
    virtual ~DocumentPrompts() = default;
    // An OK/Cancel question with the exclamation icon; true for OK.
    virtual bool AskOkCancel(const DocumentMessage& message) = 0;
    // A message with the stop icon.
    virtual void ShowStopMessage(const DocumentMessage& message) = 0;
    // The Save As dialog's file name; nothing when the user cancels.
    virtual std::optional<std::string> AskSavePath() = 0;
};

// A view that reloads itself from the document after a whole-document change.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual void OnUpdate() = 0;
    // The file name or the modified flag changed; only a view that shows them cares.
    virtual void OnTitleChanged() {}
};

class CHalvexDoc {
public:
    CHalvexDoc(DocumentPrompts& prompts, const DocumentSettings& settings);

    const DocumentSettings& GetSettings() const { return m_Settings; }
    // Takes effect at the next band line or defaults the document applies.
    void SetSettings(const DocumentSettings& settings);
    int GetChannelCount() const { return m_Settings.channelCount; }

    const RadioImage& Image() const { return m_Image; }
    // The one way to change the image in place; the changes become part of the next undo step
    // CommitEdit makes.
    RadioImage& EditImage() { return m_Image; }
    const std::array<uint8_t, kPgmHeaderSize>& Header() const { return m_Header; }
    // Like a change through EditImage: part of the next undo step.
    void SetHeader(const std::array<uint8_t, kPgmHeaderSize>& header) { m_Header = header; }

    const FrequencyLimits& GetFrequencyLimits() const { return m_Limits; }
    // Stores a frequency with the document's own limits for the raster and band gaps.
    void SetFrequencyText(int i, RecordSide which, std::string_view text);

    // The transmit frequency the channel table shows for channel n: "" when the offset field
    // reads as the receive frequency, else receive shifted by the offset in its direction.
    std::string GetTransmitText(int n) const;

    bool IsModified() const { return m_Modified; }
    void SetModifiedFlag(bool modified = true);
    const std::string& GetPathName() const { return m_PathName; }

    // Every change to the image and header since the last commit becomes one undo step named
    // name (the words after "Undo " in the menu, in the user's language); nothing changed, no
    // step. Drops what could be redone.
    void CommitEdit(const std::string& name);
    bool CanUndo() const;
    bool CanRedo() const;
    std::string UndoName() const;
    std::string RedoName() const;
    // Both bring the modified flag to the position and update all views.
    bool Undo();
    bool Redo();
    // New, Open and a read start here: nothing to undo.
    void ClearEditHistory();
    // The image bytes the last Undo or Redo changed, by offset, for a view to select them.
    const std::vector<ByteRun>& LastUndoneRuns() const { return m_LastUndoneRuns; }

    void AddView(DocumentView* view);
    void RemoveView(DocumentView* view);
    void UpdateAllViews();

    // Header back to this program's own text, image all 0xFF.
    void DeleteContents();
    // Resets to band line 0 and the defaults, after asking unless silent. Cancel leaves the
    // document exactly as it was and returns false.
    bool OnNewDocument(bool silent);
    // True when the file was loaded and the document is bound to it. A file that cannot be
    // read leaves the document untouched; a file of another kind leaves an unbound document
    // with an all-0xFF image. Both are shown through the prompts and described in error.
    bool OnOpenDocument(const std::string& path, std::string* error = nullptr);
    // Stores header and image in path and binds the document to it (Save As, without
    // PrepareImage). A failure is shown and the document stays modified.
    bool OnSaveDocument(const std::string& path, std::string* error = nullptr);
    // File > Save: confirmation when bound to a file, PrepareImage, then save (asking for a
    // file name when unbound). False when cancelled or failed.
    bool SaveWithConfirmation(std::string* error = nullptr);
    // The data stays, unchanged, but belongs to no file: an example opened from a folder the
    // user may not write, which Save must not try to overwrite.
    void DetachFromFile();
    // A read from the radio: its image replaces the document's, which then belongs to no file
    // and holds unsaved changes, so closing asks and Save asks for a name. Nothing to undo.
    void TakeRadioImage(const std::array<uint8_t, kImageSize>& image);
    // An import: header and image replaced, marked modified, as one undo step named stepName
    // (none when nothing changed), the limits and every view following.
    void ReplaceContents(const std::array<uint8_t, kPgmHeaderSize>& header,
                         const std::array<uint8_t, kImageSize>& image, const std::string& stepName);
    // PrepareImage before a save or a write, without an undo step the user did not make.
    void PrepareImageUnrecorded();
    // The frequency-range selector's reset: all 0xFF, then band line k with its defaults.
    void ChangeFrequencyRange(int k);

    // Index of the last band line matching the image's band words, 0 when none matches.
    int FindModelLine() const;
    void ApplyModelLine(int k);
    void ComputeFrequencyLimits();
    void ApplyDefaults();
    void RefreshLimitsAndViews();

private:
    std::optional<std::string> BandLine(int k, size_t bufferSize) const;
    void NotifyTitleChanged();
    std::vector<uint8_t> EditState() const;
    void SetEditState(const std::vector<uint8_t>& state);
    // Pending changes become an unnamed step rather than be lost or undone unseen.
    void CommitPendingEdits();
    void FollowSavedState();
    void KeepUndoneRuns(const std::vector<ByteRun>& runs);
    using HistoryStep = const std::vector<ByteRun>* (EditHistory::*)(std::vector<uint8_t>&);
    bool TakeHistoryStep(HistoryStep step);

    RadioImage m_Image;
    std::array<uint8_t, kPgmHeaderSize> m_Header{};
    DocumentPrompts& m_Prompts;
    DocumentSettings m_Settings;
    FrequencyLimits m_Limits;
    bool m_Modified = false;
    std::string m_PathName;
    std::vector<DocumentView*> m_Views;
    EditHistory m_History;
    std::vector<ByteRun> m_LastUndoneRuns;
};
