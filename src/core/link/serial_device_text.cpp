// SPDX-License-Identifier: GPL-3.0-or-later
// A serial device's line for lists, apart from finding the devices: the doctor's words name
// devices in every build, the browser's too, which finds none.
#include "link/serial_devices.h"

std::string DescribeSerialDevice(const SerialDevice& device, const SerialDeviceWords& words) {
    static constexpr struct {
        const char* driver;
        const char* chip;
    } kChips[] = {
        {"ch341", "CH340"}, {"pl2303", "PL2303"}, {"cp210x", "CP210x"}, {"ftdi_sio", "FTDI"}};
    std::string maker = device.manufacturer;
    std::string product = device.product;
    // Strings like "Prolific Technology Inc. USB-Serial Controller" already hold the maker.
    std::string named = (maker.empty() || product.find(maker) != std::string::npos)
                            ? product
                            : (product.empty() ? maker : maker + " " + product);

    std::string text;
    for (const auto& chip : kChips) {
        if (device.driver == chip.driver) {
            text = words.adapter;
            if (size_t mark = text.find("%1"); mark != std::string::npos) {
                text.replace(mark, 2, chip.chip);
            }
        }
    }
    if (!text.empty()) {
        // A cable maker's own product string tells cables of one chip apart.
        if (!named.empty()) {
            text += " \"" + named + "\"";
        }
    } else if (!named.empty()) {
        text = named;
    } else if (device.usb) {
        text = words.usbDevice;
    } else {
        text = words.builtInPort;
    }

    std::string details;
    if (!device.vendorId.empty() && !device.productId.empty()) {
        details = device.vendorId + ":" + device.productId;
    }
    if (!device.driver.empty()) {
        details += (details.empty() ? "" : ", ") + device.driver;
    }
    return details.empty() ? text : text + " (" + details + ")";
}
