// SPDX-License-Identifier: GPL-3.0-or-later
// What the program lends each feature's commands and dialogs, filled once by the application
// when its window is up: the document, the settings, the serial port and where to look for
// cables, the window's view and status bar, and the few document commands a feature starts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "codeplug/radio_image.h"
#include "common/view_pages.h"
#include "link/serial_devices.h"

class CHalvexDoc;
class CSerialPort;
class CommandTable;
class QString;
class QWidget;

struct FeatureContext {
    CHalvexDoc& document;
    const std::string& settingsPath;
    // The one serial port of the program, used by one dialog at a time.
    CSerialPort& port;
    // Where the port dialog looks for serial devices; tests point it at a fake tree.
    const DeviceRoots& deviceRoots;
    // Where every successful read also leaves a copy.
    const std::string& backupFolder;
    CommandTable& commands;
    ViewPages& view;
    // The main window: the owner of every dialog and message box of a feature.
    QWidget* window;
    // The note beside the port pane; empty clears it.
    std::function<void(const QString&)> showNote;
    // The port pane follows a port search to COMn, then shows the chosen port again.
    std::function<void(int)> showSearchedPort;
    std::function<void()> showConfiguredPort;
    // The unsaved-changes question; false when the user cancels or saving fails.
    std::function<bool()> saveModified;
    // A finished read: the radio's image becomes the document.
    std::function<void(const std::array<uint8_t, kImageSize>&)> takeRadioImage;
    std::function<void()> openFile;
    std::function<void()> saveFile;
};
