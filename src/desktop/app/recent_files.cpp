// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recent_files.h"

#include <QSettings>
#include <QStandardPaths>

#include "resources/command_ids.h"

namespace {

constexpr const char* kListGroup = "Recent File List";

QString EntryKey(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

}  // namespace

QString RecentFileList::FilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/halvex/Halvex.conf");
}

RecentFileList::RecentFileList() {
    QSettings settings(FilePath(), QSettings::IniFormat);
    settings.beginGroup(kListGroup);
    for (int index = 0; index < kRecentFileCount; ++index) {
        QString path = settings.value(EntryKey(index)).toString();
        if (!path.isEmpty()) {
            m_Paths.append(path);
        }
    }
}

void RecentFileList::Add(const QString& path) {
    m_Paths.removeAll(path);
    m_Paths.prepend(path);
    while (m_Paths.size() > kRecentFileCount) {
        m_Paths.removeLast();
    }
    Save();
}

void RecentFileList::Remove(const QString& path) {
    m_Paths.removeAll(path);
    Save();
}

void RecentFileList::Save() const {
    QSettings settings(FilePath(), QSettings::IniFormat);
    settings.beginGroup(kListGroup);
    for (int index = 0; index < kRecentFileCount; ++index) {
        if (index < m_Paths.size()) {
            settings.setValue(EntryKey(index), m_Paths[index]);
        } else {
            settings.remove(EntryKey(index));
        }
    }
}
