// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_device_tree.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace halvex::test {

namespace {

[[noreturn]] void Stop(const std::string& what, const std::error_code& error) {
    std::fprintf(stderr, "fake device tree: %s: %s\n", what.c_str(), error.message().c_str());
    std::abort();
}

void MakeFolder(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error) {
        Stop("cannot make " + path.string(), error);
    }
}

void WriteAttribute(const fs::path& file, const std::string& value) {
    MakeFolder(file.parent_path());
    std::ofstream out(file, std::ios::trunc);
    out << value << '\n';
    out.close();
    if (!out) {
        Stop("cannot write " + file.string(), std::make_error_code(std::errc::io_error));
    }
}

// A link written relative to its own folder, as sysfs and udev write theirs; lexically, so a
// node that is itself a link stays the target.
void RelativeLink(const fs::path& target, const fs::path& link) {
    MakeFolder(link.parent_path());
    std::error_code error;
    fs::create_symlink(target.lexically_relative(link.parent_path()), link, error);
    if (error) {
        Stop("cannot link " + link.string(), error);
    }
}

}  // namespace

FakeDeviceTree::FakeDeviceTree() {
    MakeFolder(m_Folder.File("sys/class/tty"));
    MakeFolder(m_Folder.File("dev"));
}

void FakeDeviceTree::AddUsbAdapter(const FakeUsbAdapter& adapter) {
    fs::path sys = m_Folder.File("sys");
    std::string busPort = "1-" + std::to_string(m_NextBusPort++);
    fs::path usbDevice = sys / "devices/pci0000:00/0000:00:14.0/usb1" / busPort;
    WriteAttribute(usbDevice / "idVendor", adapter.vendorId);
    WriteAttribute(usbDevice / "idProduct", adapter.productId);
    if (!adapter.manufacturer.empty()) {
        WriteAttribute(usbDevice / "manufacturer", adapter.manufacturer);
    }
    if (!adapter.product.empty()) {
        WriteAttribute(usbDevice / "product", adapter.product);
    }
    RelativeLink(sys / "bus/usb/drivers/usb", usbDevice / "driver");

    fs::path usbInterface = usbDevice / (busPort + ":1.0");
    WriteAttribute(usbInterface / "bInterfaceNumber", "00");
    MakeFolder(sys / "bus/usb/drivers" / adapter.driver);
    RelativeLink(sys / "bus/usb/drivers" / adapter.driver, usbInterface / "driver");

    fs::path ttyDevice = usbInterface;
    if (adapter.driver != "cdc_acm") {
        // The generic serial layer's port device sits between the interface and the tty.
        ttyDevice = usbInterface / adapter.tty;
        MakeFolder(sys / "bus/usb-serial/drivers" / (adapter.driver + "-uart"));
        RelativeLink(sys / "bus/usb-serial/drivers" / (adapter.driver + "-uart"),
                     ttyDevice / "driver");
    }
    fs::path ttyClass = ttyDevice / "tty" / adapter.tty;
    WriteAttribute(ttyClass / "dev", "188:0");
    RelativeLink(ttyDevice, ttyClass / "device");
    RelativeLink(ttyClass, sys / "class/tty" / adapter.tty);

    fs::path node = DevicePath(adapter.tty);
    if (adapter.nodeTarget.empty()) {
        WriteAttribute(node, "");
    } else {
        std::error_code error;
        fs::create_symlink(adapter.nodeTarget, node, error);
        if (error) {
            Stop("cannot link " + node.string(), error);
        }
    }
}

void FakeDeviceTree::AddBuiltInPort(const std::string& tty, int uartType, bool belowSerialCore) {
    fs::path sys = m_Folder.File("sys");
    fs::path platform = sys / "devices/platform/serial8250";
    MakeFolder(sys / "bus/platform/drivers/serial8250");
    if (!fs::exists(platform / "driver")) {
        RelativeLink(sys / "bus/platform/drivers/serial8250", platform / "driver");
    }
    fs::path device = platform;
    if (belowSerialCore) {
        for (const char* kind : {"ctrl", "port"}) {
            device /= std::string(kind) + "-" + tty;
            MakeFolder(sys / "bus/serial-base/drivers" / kind);
            RelativeLink(sys / "bus/serial-base/drivers" / kind, device / "driver");
        }
    }
    fs::path ttyClass = device / "tty" / tty;
    WriteAttribute(ttyClass / "type", std::to_string(uartType));
    RelativeLink(device, ttyClass / "device");
    RelativeLink(ttyClass, sys / "class/tty" / tty);
    WriteAttribute(DevicePath(tty), "");
}

std::string FakeDeviceTree::AddStableName(const std::string& name, const std::string& tty) {
    fs::path link = m_Folder.File("dev/serial/by-id/" + name);
    RelativeLink(DevicePath(tty), link);
    return link.string();
}

void FakeDeviceTree::RemoveNode(const std::string& tty) {
    std::error_code error;
    fs::remove(DevicePath(tty), error);
    if (error) {
        Stop("cannot remove " + DevicePath(tty), error);
    }
}

}  // namespace halvex::test
