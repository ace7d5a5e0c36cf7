// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_device_tree.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// A link written relative to its own folder, as udev writes its; lexically, so a node that
// is itself a link stays the target.
void RelativeLink(const fs::path& target, const fs::path& link) {
    MakeFolder(link.parent_path());
    std::error_code error;
    fs::create_symlink(target.lexically_relative(link.parent_path()), link, error);
    if (error) {
        Stop("cannot link " + link.string(), error);
    }
}

// As udev writes an adapter's string in ID_VENDOR_ENC: whatever is not plain, escaped.
std::string UdevEncoded(const std::string& text) {
    std::string encoded;
    for (unsigned char c : text) {
        if (std::isalnum(c) != 0 || std::strchr("#+-.:=@_", c) != nullptr || c >= 0x80) {
            encoded.push_back(static_cast<char>(c));
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            encoded += escape;
        }
    }
    return encoded;
}

// ID_VENDOR itself: the string with blanks and anything odd as '_', or the id without one.
std::string UdevPlain(const std::string& text, const std::string& id) {
    if (text.empty()) {
        return id;
    }
    std::string plain = text;
    for (char& c : plain) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 &&
            std::strchr("#+-.:=@", c) == nullptr && static_cast<unsigned char>(c) < 0x80) {
            c = '_';
        }
    }
    return plain;
}

}  // namespace

FakeDeviceTree::FakeDeviceTree() {
    MakeFolder(m_Folder.File("sys/tty"));
    MakeFolder(m_Folder.File("dev"));
}

void FakeDeviceTree::WriteRecord(const std::string& tty, const std::string& lines) {
    WriteAttribute(m_Folder.File("sys/tty/" + tty), lines);
}

void FakeDeviceTree::AddUsbAdapter(const FakeUsbAdapter& adapter) {
    std::string lines = "ID_BUS=usb\n";
    lines += "ID_VENDOR_ID=" + adapter.vendorId + "\nID_MODEL_ID=" + adapter.productId + "\n";
    lines += "ID_VENDOR=" + UdevPlain(adapter.manufacturer, adapter.vendorId) + "\n";
    lines += "ID_VENDOR_ENC=" +
             UdevEncoded(adapter.manufacturer.empty() ? adapter.vendorId : adapter.manufacturer) +
             "\n";
    lines += "ID_MODEL=" + UdevPlain(adapter.product, adapter.productId) + "\n";
    lines += "ID_MODEL_ENC=" +
             UdevEncoded(adapter.product.empty() ? adapter.productId : adapter.product) + "\n";
    lines += "ID_USB_DRIVER=" + adapter.driver + "\n.DRIVER=" + adapter.driver;
    WriteRecord(adapter.tty, lines);

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

void FakeDeviceTree::AddBuiltInPort(const std::string& tty, int uartType) {
    WriteRecord(tty, ".DRIVER=serial8250\n.UART_TYPE=" + std::to_string(uartType));
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
