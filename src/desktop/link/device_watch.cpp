// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/device_watch.h"

#include <libudev.h>

#include <QDir>
#include <QFileSystemWatcher>
#include <QSocketNotifier>

namespace {

// Where udev puts the stable names; made only once the first such device appears.
constexpr const char* kStableNames = "/serial/by-id";

}  // namespace

DeviceWatch::DeviceWatch(const DeviceRoots& roots, QObject* parent) : QObject(parent) {
    if (roots.IsSystem()) {
        WatchUdev();
    } else {
        WatchFolders(roots.devRoot);
    }
}

DeviceWatch::~DeviceWatch() {
    delete m_Notifier;
    if (m_Monitor != nullptr) {
        udev_monitor_unref(m_Monitor);
    }
    if (m_Udev != nullptr) {
        udev_unref(m_Udev);
    }
}

void DeviceWatch::WatchUdev() {
    m_Udev = udev_new();
    if (m_Udev == nullptr) {
        return;
    }
    // "udev" events come once udev has made the device's node and stable names, so a list
    // read then already holds them.
    m_Monitor = udev_monitor_new_from_netlink(m_Udev, "udev");
    if (m_Monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(m_Monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_Monitor) < 0) {
        if (m_Monitor != nullptr) {
            udev_monitor_unref(m_Monitor);
            m_Monitor = nullptr;
        }
        return;
    }
    m_Notifier = new QSocketNotifier(udev_monitor_get_fd(m_Monitor), QSocketNotifier::Read, this);
    connect(m_Notifier, &QSocketNotifier::activated, this, &DeviceWatch::OnUdevEvent);
}

void DeviceWatch::OnUdevEvent() {
    bool any = false;
    // Every event waiting is taken, so one plug-in that brings several ends in one change.
    while (udev_device* device = udev_monitor_receive_device(m_Monitor)) {
        udev_device_unref(device);
        any = true;
    }
    if (any) {
        emit changed();
    }
}

void DeviceWatch::WatchFolders(const std::string& devRoot) {
    m_DevRoot = devRoot;
    if (!QDir(QString::fromStdString(devRoot)).exists()) {
        return;
    }
    m_Folders = new QFileSystemWatcher(this);
    connect(m_Folders, &QFileSystemWatcher::directoryChanged, this, [this] {
        AddFolders();
        emit changed();
    });
    AddFolders();
}

void DeviceWatch::AddFolders() {
    const QString root = QString::fromStdString(m_DevRoot);
    for (const QString& folder : {root, root + QLatin1String(kStableNames)}) {
        if (QDir(folder).exists() && !m_Folders->directories().contains(folder)) {
            m_Folders->addPath(folder);
        }
    }
}
