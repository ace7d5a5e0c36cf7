// SPDX-License-Identifier: GPL-3.0-or-later
// Tells when a serial device comes or goes, so a list of them follows a cable plugged in or
// pulled. The system's own devices are followed through udev's hot-plug events; a device
// tree elsewhere (the journeys' and tests' fake trees) through its /dev folder changing.
#pragma once

#include <QObject>

#include "link/serial_devices.h"

class QFileSystemWatcher;
class QSocketNotifier;
struct udev;
struct udev_monitor;

class DeviceWatch : public QObject {
    Q_OBJECT
public:
    explicit DeviceWatch(const DeviceRoots& roots, QObject* parent = nullptr);
    ~DeviceWatch() override;

    // False when nothing could be watched (no udev, no such folder): the list then changes
    // only when asked to.
    bool IsWatching() const { return m_Monitor != nullptr || m_Folders != nullptr; }

signals:
    void changed();

private:
    void WatchUdev();
    void WatchFolders(const std::string& devRoot);
    void OnUdevEvent();
    // The folder itself and, once it is there, its folder of stable names.
    void AddFolders();

    udev* m_Udev = nullptr;
    udev_monitor* m_Monitor = nullptr;
    QSocketNotifier* m_Notifier = nullptr;
    QFileSystemWatcher* m_Folders = nullptr;
    std::string m_DevRoot;
};
