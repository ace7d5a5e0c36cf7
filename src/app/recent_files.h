// The recent-file list, kept in the desktop's settings under the program's registry key name.
#pragma once

#include <QStringList>

constexpr const char* kRegistryKeyName = "RQ860 radio program software";
constexpr const char* kSettingsApplicationName = "Halvex";

class RecentFileList {
public:
    RecentFileList();
    const QStringList& Paths() const { return m_Paths; }
    // Moves path to the top, keeping at most four entries.
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Save() const;
    QStringList m_Paths;
};
