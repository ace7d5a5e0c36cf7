// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_devices.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>
#include <tuple>
#include <utility>

namespace fs = std::filesystem;

namespace {

// ttyUSB first, then ttyACM, then any other kind by its letters; each by number.
std::tuple<int, std::string, long> SortKey(const std::string& name) {
    size_t digits = name.find_last_not_of("0123456789") + 1;
    std::string prefix = name.substr(0, digits);
    long number = digits < name.size() ? std::strtol(name.c_str() + digits, nullptr, 10) : -1;
    int kind = prefix == "ttyUSB" ? 0 : (prefix == "ttyACM" ? 1 : 2);
    return {kind, prefix, number};
}

std::string Property(const TtyRecord& record, const std::string& key) {
    auto found = record.properties.find(key);
    return found == record.properties.end() ? std::string() : found->second;
}

// The hardware database's name, else the adapter's own string, whose _ENC form keeps the
// spaces udev turns into '_'. Without a string udev gives the bare id, which says nothing the
// ids do not.
std::string NameOf(const TtyRecord& record, const std::string& key, const std::string& id) {
    std::string name = Property(record, key + "_FROM_DATABASE");
    if (name.empty()) {
        name = DecodeUdevText(Property(record, key + "_ENC"));
    }
    if (name.empty()) {
        name = Property(record, key);
    }
    return name == id ? std::string() : name;
}

}  // namespace

SerialDevice SerialDeviceFromRecord(const TtyRecord& record, const std::string& devRoot) {
    SerialDevice device;
    device.path = record.node;
    // Both kinds exist only behind USB, whatever udev can tell.
    device.usb = Property(record, "ID_BUS") == "usb" || std::get<0>(SortKey(record.name)) < 2;
    if (device.usb) {
        device.vendorId = Property(record, "ID_VENDOR_ID");
        device.productId = Property(record, "ID_MODEL_ID");
    }
    device.manufacturer = NameOf(record, "ID_VENDOR", device.vendorId);
    device.product = NameOf(record, "ID_MODEL", device.productId);
    device.driver = Property(record, "ID_USB_DRIVER");
    if (device.driver.empty()) {
        device.driver = Property(record, ".DRIVER");
    }
    std::string byId = (fs::path(devRoot) / "serial" / "by-id").string() + "/";
    std::vector<std::string> links = record.links;
    std::sort(links.begin(), links.end());
    for (const std::string& link : links) {
        if (link.compare(0, byId.size(), byId) == 0) {
            device.stablePath = link;
            break;
        }
    }
    return device;
}

std::vector<SerialDevice> ListSerialDevices(const DeviceRoots& roots) {
    std::vector<TtyRecord> records =
        roots.IsSystem()
            ? ListSystemTtys()
            : ReadTtyRecords((fs::path(roots.sysRoot) / "tty").string(), roots.devRoot);
    // A container given a cable's node without its sysfs still shows it; a built-in port
    // cannot be told from a phantom there, so only the USB kinds.
    std::set<std::string> known;
    for (const TtyRecord& record : records) {
        known.insert(record.name);
    }
    std::error_code error;
    for (fs::directory_iterator it(roots.devRoot, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        auto [kind, prefix, number] = SortKey(name);
        if (kind < 2 && number >= 0 && known.count(name) == 0) {
            records.push_back({name, it->path().string(), {}, {}});
        }
    }

    std::vector<std::pair<std::tuple<int, std::string, long>, SerialDevice>> found;
    for (const TtyRecord& record : records) {
        struct stat node {};
        // Built-in ports are listed whether or not a UART answers at their address; sysfs
        // gives those the unknown type 0.
        if (Property(record, ".UART_TYPE") == "0" || ::stat(record.node.c_str(), &node) != 0) {
            continue;
        }
        SerialDevice device = SerialDeviceFromRecord(record, roots.devRoot);
        device.appearedAt = static_cast<int64_t>(node.st_ctime);
        found.emplace_back(SortKey(record.name), std::move(device));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<SerialDevice> devices;
    for (auto& [key, device] : found) {
        devices.push_back(std::move(device));
    }
    return devices;
}
