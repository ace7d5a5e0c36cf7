// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/serial_devices.h"
#include "support/temp_folder.h"

namespace halvex::test {

// A USB serial adapter as udev describes it. driver is the chip's module (ch341, pl2303,
// cp210x, ftdi_sio) or cdc_acm for a modem-class device.
struct FakeUsbAdapter {
    std::string tty;  // ttyUSB0, ttyACM0
    std::string driver;
    std::string vendorId, productId;
    std::string manufacturer, product;
    // The device node links here (a pseudo-terminal, so a test can talk through it); when
    // empty the node is a plain file.
    std::string nodeTarget;
};

// A /dev tree as udev lays it out, with relative links, beside udev's records of its ttys as
// discovery reads them from libudev. Whatever cannot be made stops the test program, as
// TempFolder does.
class FakeDeviceTree {
public:
    FakeDeviceTree();

    DeviceRoots Roots() const { return {m_Folder.File("sys"), m_Folder.File("dev")}; }
    std::string DevicePath(const std::string& tty) const { return m_Folder.File("dev/" + tty); }

    void AddUsbAdapter(const FakeUsbAdapter& adapter);
    // A built-in port; uartType 0 is how sysfs shows one with no UART behind it.
    void AddBuiltInPort(const std::string& tty, int uartType);
    // dev/serial/by-id/<name> pointing at dev/<tty>; gives the link's path.
    std::string AddStableName(const std::string& name, const std::string& tty);
    // udev's record stays, as it does for a moment after unplugging.
    void RemoveNode(const std::string& tty);

private:
    void WriteRecord(const std::string& tty, const std::string& lines);

    TempFolder m_Folder{"halvex_devices"};
};

}  // namespace halvex::test
