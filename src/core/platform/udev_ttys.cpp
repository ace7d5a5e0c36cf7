// SPDX-License-Identifier: GPL-3.0-or-later
// The one place the core asks libudev.
#include <libudev.h>

#include <cstring>
#include <memory>

#include "platform/tty_records.h"

namespace {

struct UdevDeleter {
    void operator()(udev* context) const { udev_unref(context); }
    void operator()(udev_enumerate* enumerate) const { udev_enumerate_unref(enumerate); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
template <typename T>
using UdevPointer = std::unique_ptr<T, UdevDeleter>;

std::string Text(const char* value) {
    return value == nullptr ? std::string() : std::string(value);
}

void TakeProperties(udev_device* device, std::map<std::string, std::string>* properties) {
    udev_list_entry* entry = udev_device_get_properties_list_entry(device);
    for (; entry != nullptr; entry = udev_list_entry_get_next(entry)) {
        // emplace keeps what the tty itself says over its USB device's.
        properties->emplace(Text(udev_list_entry_get_name(entry)),
                            Text(udev_list_entry_get_value(entry)));
    }
}

// The kernel driver that names the adapter. A USB tty's own parents belong to the generic
// serial layer; its interface's driver names the chip. Newer kernels hang a built-in port
// below the serial core's port and controller devices, whose drivers say nothing.
std::string AdapterDriver(udev_device* tty, udev_device* usbInterface) {
    if (usbInterface != nullptr) {
        return Text(udev_device_get_driver(usbInterface));
    }
    udev_device* parent = udev_device_get_parent(tty);
    while (parent != nullptr && Text(udev_device_get_subsystem(parent)) == "serial-base") {
        parent = udev_device_get_parent(parent);
    }
    return parent == nullptr ? std::string() : Text(udev_device_get_driver(parent));
}

TtyRecord RecordOf(udev_device* tty) {
    TtyRecord record;
    record.name = Text(udev_device_get_sysname(tty));
    record.node = Text(udev_device_get_devnode(tty));
    for (udev_list_entry* entry = udev_device_get_devlinks_list_entry(tty); entry != nullptr;
         entry = udev_list_entry_get_next(entry)) {
        record.links.push_back(Text(udev_list_entry_get_name(entry)));
    }
    TakeProperties(tty, &record.properties);
    // Parents are owned by the tty: no unref.
    udev_device* usbDevice =
        udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    udev_device* usbInterface =
        udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_interface");
    if (usbDevice != nullptr) {
        // The hardware database is matched on the USB device; where udev has no database of
        // its own (a container) the ids still come from sysfs.
        TakeProperties(usbDevice, &record.properties);
        record.properties.emplace("ID_BUS", "usb");
        record.properties.emplace("ID_VENDOR_ID",
                                  Text(udev_device_get_sysattr_value(usbDevice, "idVendor")));
        record.properties.emplace("ID_MODEL_ID",
                                  Text(udev_device_get_sysattr_value(usbDevice, "idProduct")));
    }
    record.properties[".DRIVER"] = AdapterDriver(tty, usbInterface);
    if (const char* type = udev_device_get_sysattr_value(tty, "type"); type != nullptr) {
        record.properties[".UART_TYPE"] = type;
    }
    return record;
}

}  // namespace

std::vector<TtyRecord> ListSystemTtys() {
    std::vector<TtyRecord> records;
    UdevPointer<udev> context(udev_new());
    if (!context) {
        return records;
    }
    UdevPointer<udev_enumerate> enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "tty") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return records;
    }
    for (udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate.get()); entry != nullptr;
         entry = udev_list_entry_get_next(entry)) {
        UdevPointer<udev_device> tty(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        // Consoles and pseudo-terminals are virtual: no device behind them.
        if (tty && udev_device_get_parent(tty.get()) != nullptr &&
            udev_device_get_devnode(tty.get()) != nullptr) {
            records.push_back(RecordOf(tty.get()));
        }
    }
    return records;
}
