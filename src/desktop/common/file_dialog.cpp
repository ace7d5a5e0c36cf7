// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_dialog.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QString>
#include <QTreeView>

namespace {

QString QtFilter(const FileFilter& filter) {
    return QString::fromStdString(FileFilterText(filter));
}

std::optional<std::string> ToPath(const QString& chosen) {
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

// Qt's own dialog sizes its detail columns for English: a translated "bytes" or date was cut
// ("381...tes"). The columns after the name fit what they show.
std::optional<std::string> Ask(QFileDialog& dialog) {
    for (QTreeView* details : dialog.findChildren<QTreeView*>()) {
        QHeaderView* header = details->header();
        for (int column = 1; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToPath(dialog.selectedFiles().first());
}

}  // namespace

std::optional<std::string> FileDialog::GetOpenFileName(QWidget* parent, const FileFilter& filter) {
    if (auto queued = TakeQueued()) {
        return *queued;
    }
    QFileDialog dialog(parent, QString(), QString(), QtFilter(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Ask(dialog);
}

std::optional<std::string> FileDialog::GetSaveFileName(QWidget* parent, const FileFilter& filter,
                                                       const std::string& suggestedPath) {
    std::optional<std::string> chosen;
    if (auto queued = TakeQueued()) {
        chosen = *queued;
    } else {
        QFileDialog dialog(parent, QString(), QString::fromStdString(suggestedPath),
                           QtFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        chosen = Ask(dialog);
    }
    if (!chosen) {
        return std::nullopt;
    }
    return WithDefaultExtension(*chosen, filter.extension);
}

void FileDialog::SetNextFileName(std::optional<std::string> fileName) {
    Queue().push_back(std::move(fileName));
}

bool FileDialog::HasQueuedFileNames() {
    return !Queue().empty();
}

std::optional<std::optional<std::string>> FileDialog::TakeQueued() {
    if (Queue().empty()) {
        if (Unattended()) {
            return std::optional<std::string>();
        }
        return std::nullopt;
    }
    std::optional<std::string> next = Queue().front();
    Queue().pop_front();
    return next;
}

void FileDialog::SetUnattended(bool unattended) {
    Unattended() = unattended;
}

bool& FileDialog::Unattended() {
    static bool unattended = false;
    return unattended;
}

std::deque<std::optional<std::string>>& FileDialog::Queue() {
    static std::deque<std::optional<std::string>> queue;
    return queue;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    size_t slash = path.rfind('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    bool hasExtension = dot != std::string::npos && dot > nameStart;
    return hasExtension ? path : path + extension;
}

std::string FileFilterText(const FileFilter& filter) {
    const std::string pattern = "(*" + filter.extension + ")";
    std::string name = filter.name;
    // The resource's name already carries the pattern; the dialog must not show it twice.
    if (size_t at = name.find(pattern); at != std::string::npos) {
        name.erase(at, pattern.size());
    }
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    return name + " " + pattern;
}
