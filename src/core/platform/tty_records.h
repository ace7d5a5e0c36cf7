// SPDX-License-Identifier: GPL-3.0-or-later
// The serial ttys of a machine as udev describes them: the system's through libudev, a fake
// tree's from its record files, so tests and journeys plug cables without a kernel. Native
// builds only; the browser has no devices of its own.
#pragma once

#include <map>
#include <string>
#include <vector>

// udev's properties of one tty (ID_VENDOR_ID, ID_MODEL_FROM_DATABASE, ID_USB_DRIVER...), its
// USB device's where the tty lacks them, and what sysfs adds under udev's private names:
// .DRIVER, the adapter's kernel driver; .UART_TYPE, a built-in port's UART ("0": none).
struct TtyRecord {
    std::string name;                // ttyUSB0
    std::string node;                // /dev/ttyUSB0
    std::vector<std::string> links;  // its other names in /dev: serial/by-id/..., by-path
    std::map<std::string, std::string> properties;
};

// Every tty with a device behind it (not the virtual consoles and pseudo-terminals), in the
// order udev gives; empty when udev cannot be asked.
std::vector<TtyRecord> ListSystemTtys();

// A fake tree: one file per tty in recordFolder, named after it, of KEY=value lines as
// `udevadm info --query=property` prints them; its node and links are in devRoot.
std::vector<TtyRecord> ReadTtyRecords(const std::string& recordFolder, const std::string& devRoot);

// udev's \xNN escapes of an _ENC property undone: "USB\x20Serial" is "USB Serial".
std::string DecodeUdevText(const std::string& encoded);
