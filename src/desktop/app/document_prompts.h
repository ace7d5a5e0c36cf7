// SPDX-License-Identifier: GPL-3.0-or-later
// The document's questions and messages as message boxes and the Save As dialog.
#pragma once

#include <functional>

#include "codeplug/document.h"
#include "common/file_dialog.h"

class QWidget;

// The Open and Save As dialogs' filter, from the document type string (string 128).
FileFilter DocumentFileFilter();

class QtDocumentPrompts : public DocumentPrompts {
public:
    // owner gives the window the boxes belong to, which may not exist yet.
    explicit QtDocumentPrompts(std::function<QWidget*()> owner) : m_Owner(std::move(owner)) {}

    bool AskOkCancel(const DocumentMessage& message) override;
    void ShowStopMessage(const DocumentMessage& message) override;
    std::optional<std::string> AskSavePath() override;

    // The path Save As suggests; the document's own path when it has one.
    void SetSuggestedPath(std::string path) { m_SuggestedPath = std::move(path); }

private:
    std::function<QWidget*()> m_Owner;
    std::string m_SuggestedPath;
};
