// SPDX-License-Identifier: GPL-3.0-or-later
// The recent-file list, kept in the program's own configuration folder
// ($XDG_CONFIG_HOME/halvex/Halvex.conf, group "Recent File List"), beside its settings.
#pragma once

#include <QString>
#include <QStringList>

class RecentFileList {
public:
    RecentFileList();
    const QStringList& Paths() const { return m_Paths; }
    // Moves path to the top, keeping at most four entries.
    void Add(const QString& path);
    void Remove(const QString& path);

    // Where the list is kept.
    static QString FilePath();

private:
    void Save() const;
    QStringList m_Paths;
};
