// SPDX-License-Identifier: GPL-3.0-or-later
// The document as the page works on it: File > New, Open and Save of a file's bytes with the
// desktop's checks, the channel table's cells through the core's commit rules and locks, the
// band selector and Undo. The page only shows what this returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "editors/page_words.h"

// A message the document would show in a box, kept as the desktop words it.
class KeptPrompts : public DocumentPrompts {
public:
    // The page asks its own questions before it calls; here every question is answered OK.
    bool AskOkCancel(const DocumentMessage&) override { return true; }
    void ShowStopMessage(const DocumentMessage& message) override;
    std::optional<std::string> AskSavePath() override { return std::nullopt; }

    std::string TakeMessage();

private:
    std::string m_Message;
};

struct CellCommit {
    bool changed = false;
    std::string note;
};

struct FileResult {
    bool ok = false;
    std::string message;
    std::vector<uint8_t> bytes;
};

struct CellLock {
    bool locked = false;
    bool shaded = false;
};

class WebDocument {
public:
    // settingsPath is the module's setting.ini; read anew at each use, as on the desktop.
    explicit WebDocument(std::string settingsPath);

    void NewDocument();
    // A refused file leaves the document exactly as it was.
    FileResult Open(const std::vector<uint8_t>& bytes, const std::string& name);
    FileResult Save(const std::string& name);
    std::string PathName() const;
    bool IsModified() const { return m_Document.IsModified(); }

    bool CanUndo() const { return m_Document.CanUndo(); }
    bool CanRedo() const { return m_Document.CanRedo(); }
    std::string UndoName() const;
    std::string RedoName() const;
    bool Undo() { return m_Document.Undo(); }
    bool Redo() { return m_Document.Redo(); }

    int ChannelCount() const { return m_Document.GetChannelCount(); }
    std::vector<std::string> RowTexts(int row) const;
    std::vector<CellLock> RowStates(int row) const;
    int ChoiceIndex(int row, int column) const;
    CellCommit CommitText(int row, int column, const std::string& text);
    CellCommit CommitChoice(int row, int column, int index);

    int BandIndex() const { return m_Document.FindModelLine(); }
    void SetBand(int index);
    bool WouldEraseRadio() const;

    // What a transfer starts from, and what a write sends: the image after PrepareImage, the
    // document itself untouched, so a cancelled or failed transfer leaves it as it was.
    std::vector<uint8_t> PreparedCopy() const;
    // The .pgm file a read backup keeps: this program's own header and the image.
    FileResult BackupFile() const;
    std::vector<uint8_t> ImageBytes() const;
    // A read: the radio's image replaces the document's, which then belongs to no file.
    void TakeRadioImage(const std::vector<uint8_t>& image);
    // An import: one undo step named by the language key stepKey.
    void ReplaceContents(const std::array<uint8_t, kPgmHeaderSize>& header,
                         const std::array<uint8_t, kImageSize>& image, const std::string& stepKey);
    const CHalvexDoc& Document() const { return m_Document; }
    // For the pages' and dialogs' edits, which keep the desktop's own steps and flags.
    CHalvexDoc& EditedDocument() { return m_Document; }
    // One undo step of what changed since the last, named by the language key stepKey with
    // %1, %2, ... filled from parts; nothing when nothing changed. Returns the step's name in the
    // language shown, for the status line.
    std::string CommitStep(const std::string& stepKey, const std::vector<StepPart>& parts);

private:
    bool IsEditable(int row, int column) const;
    CellCommit Committed(int row, int column, const std::vector<uint8_t>& before, std::string note);
    void UseSettings();

    std::string m_SettingsPath;
    KeptPrompts m_Prompts;
    CHalvexDoc m_Document;
};

// The band selector's entries from the settings' band names.
std::vector<std::string> BandNames(const std::string& settingsPath);
