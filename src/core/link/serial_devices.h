// SPDX-License-Identifier: GPL-3.0-or-later
// The serial devices present on this machine, as udev and /dev describe them: what a user
// can pick as the programming cable. Reads only; never opens a device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/tty_records.h"

// Where to look. The system's are asked of udev; tests and journeys point both at a fake
// tree, whose sysRoot holds a record file per tty in tty/ (platform/tty_records.h).
struct DeviceRoots {
    std::string sysRoot = "/sys";
    std::string devRoot = "/dev";

    bool IsSystem() const { return sysRoot == "/sys" && devRoot == "/dev"; }
};

struct SerialDevice {
    std::string path;        // devRoot/ttyUSB0
    std::string stablePath;  // devRoot/serial/by-id/..., or empty when udev made none
    std::string driver;      // the kernel driver of the adapter: ch341, cdc_acm, serial8250...
    std::string vendorId, productId;    // USB ids as four hex digits, empty for other devices
    std::string manufacturer, product;  // the hardware database's names, else the adapter's own
    bool usb = false;
    int64_t appearedAt = 0;  // change time of the device node, seconds since the epoch
};

// USB adapters (ttyUSB*), modem-class devices (ttyACM*), then the other ports with a device
// behind them (ttyS*, ttyAMA*...) but built-in ones without a UART, each kind by number. Only
// devices whose node exists under devRoot.
std::vector<SerialDevice> ListSerialDevices(const DeviceRoots& roots);

// One tty's entry from what udev says of it; stablePath is its link in devRoot/serial/by-id.
SerialDevice SerialDeviceFromRecord(const TtyRecord& record, const std::string& devRoot);

// The words of a device's line: English on the command line, the language file's on the
// desktop. %1 in adapter is the chip.
struct SerialDeviceWords {
    std::string adapter = "%1 serial adapter";
    std::string usbDevice = "USB serial device";
    std::string builtInPort = "Built-in serial port";
};

// One line for lists: "CH340 serial adapter (1a86:7523, ch341)".
std::string DescribeSerialDevice(const SerialDevice& device, const SerialDeviceWords& words = {});
