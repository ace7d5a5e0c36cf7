// SPDX-License-Identifier: GPL-3.0-or-later
// Open and Save As file dialogs for .pgm files. Tests queue the name the user would pick
// (or a cancel) instead of showing the dialog.
#pragma once

#include <deque>
#include <optional>
#include <string>

class QWidget;

struct FileFilter {
    std::string name;       // "Radio Program Data Files(*.pgm)"
    std::string extension;  // ".pgm": offered as "*.pgm" and appended when none is typed
};

class FileDialog {
public:
    static std::optional<std::string> GetOpenFileName(QWidget* parent, const FileFilter& filter);
    static std::optional<std::string> GetSaveFileName(QWidget* parent, const FileFilter& filter,
                                                      const std::string& suggestedPath);

    // nullopt queues a cancel.
    static void SetNextFileName(std::optional<std::string> fileName);
    static bool HasQueuedFileNames();
    // Unattended, a dialog without a queued name is cancelled instead of shown (for tests).
    static void SetUnattended(bool unattended);

private:
    static std::optional<std::optional<std::string>> TakeQueued();
    static std::deque<std::optional<std::string>>& Queue();
    static bool& Unattended();
};

// The filter as the file dialogs show it: "Radio Program Data Files (*.pgm)".
std::string FileFilterText(const FileFilter& filter);

// path with extension appended when its file name has no extension of its own.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);
