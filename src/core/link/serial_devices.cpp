// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_devices.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace {

constexpr const char* kKinds[] = {"ttyUSB", "ttyACM", "ttyS"};
constexpr int kKindCount = 3;

// The kind's place in kKinds and the number after it, or kind -1 for any other name.
std::pair<int, long> KindAndNumber(const std::string& name) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        std::string prefix = kKinds[kind];
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::all_of(name.begin() + prefix.size(), name.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            return {kind, std::strtol(name.c_str() + prefix.size(), nullptr, 10)};
        }
    }
    return {-1, 0};
}

// A sysfs attribute's first line without trailing blanks, or empty when there is none.
std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return {};
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

// The name of the driver a sysfs device is bound to, or empty when it has none.
std::string DriverOf(const fs::path& deviceDir) {
    std::error_code error;
    fs::path target = fs::read_symlink(deviceDir / "driver", error);
    return error ? std::string() : target.filename().string();
}

// The bus of that driver: "serial-base" for the serial core's own port and controller devices.
std::string DriverBusOf(const fs::path& deviceDir) {
    std::error_code error;
    fs::path target = fs::read_symlink(deviceDir / "driver", error);
    return error ? std::string() : target.parent_path().parent_path().filename().string();
}

bool IsWithin(const fs::path& path, const fs::path& root) {
    auto mismatch = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    return mismatch.first == root.end();
}

// Fills in what sysfs knows. A USB adapter's tty hangs below its USB interface, whose driver
// names the chip (the tty's own driver is the generic serial layer's), and the interface
// below the USB device that carries the ids and strings.
void ReadSysfs(const fs::path& sysRoot, const std::string& name, SerialDevice* device) {
    std::error_code error;
    fs::path root = fs::canonical(sysRoot, error);
    if (error) {
        return;
    }
    fs::path deviceDir = fs::canonical(sysRoot / "class" / "tty" / name / "device", error);
    if (error) {
        return;
    }
    fs::path child;
    for (fs::path dir = deviceDir; IsWithin(dir, root) && dir != root; dir = dir.parent_path()) {
        if (fs::exists(dir / "idVendor", error)) {
            device->usb = true;
            device->vendorId = ReadAttribute(dir / "idVendor");
            device->productId = ReadAttribute(dir / "idProduct");
            device->manufacturer = ReadAttribute(dir / "manufacturer");
            device->product = ReadAttribute(dir / "product");
            device->driver = child.empty() ? std::string() : DriverOf(child);
            break;
        }
        child = dir;
    }
    if (device->driver.empty()) {
        // Newer kernels hang a built-in port's tty below the serial core's port and
        // controller devices, whose drivers say nothing; the UART's driver is above them.
        fs::path dir = deviceDir;
        while (IsWithin(dir, root) && dir != root && DriverBusOf(dir) == "serial-base") {
            dir = dir.parent_path();
        }
        device->driver = DriverOf(dir);
    }
}

// Built-in ports are listed by the kernel whether or not a UART answers at their address;
// sysfs gives those the unknown type 0.
bool HasUart(const fs::path& sysRoot, const std::string& name) {
    std::string type = ReadAttribute(sysRoot / "class" / "tty" / name / "type");
    return !type.empty() && type != "0";
}

// udev's stable names, by the device each resolves to; the first name in order wins.
void AttachStableNames(const fs::path& devRoot, std::vector<SerialDevice>* devices) {
    fs::path byId = devRoot / "serial" / "by-id";
    std::error_code error;
    std::vector<fs::path> links;
    for (fs::directory_iterator it(byId, error), end; !error && it != end; it.increment(error)) {
        links.push_back(it->path());
    }
    std::sort(links.begin(), links.end());
    for (const fs::path& link : links) {
        fs::path target = fs::canonical(link, error);
        if (error) {
            continue;
        }
        for (SerialDevice& device : *devices) {
            if (device.stablePath.empty() && fs::canonical(device.path, error) == target &&
                !error) {
                device.stablePath = link.string();
                break;
            }
        }
    }
}

}  // namespace

std::vector<SerialDevice> ListSerialDevices(const DeviceRoots& roots) {
    fs::path sysRoot = roots.sysRoot;
    fs::path devRoot = roots.devRoot;
    std::set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(sysRoot / "class" / "tty", error), end; !error && it != end;
         it.increment(error)) {
        names.insert(it->path().filename().string());
    }
    // Without sysfs (some containers) the nodes still show USB adapters; a built-in port
    // cannot be told from a phantom there, so those need sysfs.
    for (fs::directory_iterator it(devRoot, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (KindAndNumber(name).first == 0 || KindAndNumber(name).first == 1) {
            names.insert(name);
        }
    }

    std::vector<SerialDevice> devices;
    for (const std::string& name : names) {
        int kind = KindAndNumber(name).first;
        if (kind < 0 || (kind == 2 && !HasUart(sysRoot, name))) {
            continue;
        }
        SerialDevice device;
        device.path = (devRoot / name).string();
        struct stat node {};
        if (::stat(device.path.c_str(), &node) != 0) {
            continue;
        }
        device.appearedAt = static_cast<int64_t>(node.st_ctime);
        // Both kinds exist only behind USB, whatever sysfs can tell.
        device.usb = kind != 2;
        ReadSysfs(sysRoot, name, &device);
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
        return KindAndNumber(fs::path(a.path).filename().string()) <
               KindAndNumber(fs::path(b.path).filename().string());
    });
    AttachStableNames(devRoot, &devices);
    return devices;
}

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
