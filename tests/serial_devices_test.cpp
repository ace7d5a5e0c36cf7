// SPDX-License-Identifier: GPL-3.0-or-later
// Discovery over udev's records of a fake tree and of this machine's own ttys.
#include "link/serial_devices.h"

#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_device_tree.h"

namespace {

using halvex::test::FakeDeviceTree;
using halvex::test::FakeUsbAdapter;

std::vector<std::string> Paths(const std::vector<SerialDevice>& devices) {
    std::vector<std::string> paths;
    for (const SerialDevice& device : devices) {
        paths.push_back(device.path);
    }
    return paths;
}

TEST(SerialDevicesTest, EachAdapterIsListedWithWhatUdevSaysOfIt) {
    const std::vector<FakeUsbAdapter> adapters = {
        {"ttyUSB0", "ch341", "1a86", "7523", "", "USB Serial", ""},
        {"ttyUSB1", "pl2303", "067b", "2303", "Prolific Technology Inc.", "USB-Serial Controller",
         ""},
        {"ttyUSB2", "cp210x", "10c4", "ea60", "Silicon Labs", "CP2102 USB to UART Bridge", ""},
        {"ttyUSB3", "ftdi_sio", "0403", "6001", "FTDI", "FT232R USB UART", ""},
        {"ttyACM0", "cdc_acm", "2e8a", "000a", "Maker", "Pico", ""},
    };
    FakeDeviceTree tree;
    for (const FakeUsbAdapter& adapter : adapters) {
        tree.AddUsbAdapter(adapter);
    }
    std::vector<SerialDevice> devices = ListSerialDevices(tree.Roots());
    ASSERT_EQ(devices.size(), adapters.size());
    for (size_t i = 0; i < adapters.size(); ++i) {
        SCOPED_TRACE(adapters[i].tty);
        EXPECT_EQ(devices[i].path, tree.DevicePath(adapters[i].tty));
        EXPECT_EQ(devices[i].driver, adapters[i].driver);
        EXPECT_TRUE(devices[i].usb);
        EXPECT_EQ(devices[i].vendorId, adapters[i].vendorId);
        EXPECT_EQ(devices[i].productId, adapters[i].productId);
        EXPECT_EQ(devices[i].manufacturer, adapters[i].manufacturer);
        EXPECT_EQ(devices[i].product, adapters[i].product);
        EXPECT_TRUE(devices[i].stablePath.empty());
        // Fresh nodes: a doctor judging "appeared recently" needs the real time.
        EXPECT_NEAR(static_cast<double>(devices[i].appearedAt),
                    static_cast<double>(std::time(nullptr)), 3600.0);
    }
}

TEST(SerialDevicesTest, BuiltInPortsWithoutUartAreLeftOut) {
    FakeDeviceTree tree;
    tree.AddBuiltInPort("ttyS0", 4);
    tree.AddBuiltInPort("ttyS1", 0);
    tree.AddBuiltInPort("ttyS2", 0);
    tree.AddBuiltInPort("ttyS10", 4);
    std::vector<SerialDevice> devices = ListSerialDevices(tree.Roots());
    EXPECT_EQ(Paths(devices),
              (std::vector<std::string>{tree.DevicePath("ttyS0"), tree.DevicePath("ttyS10")}));
    ASSERT_FALSE(devices.empty());
    EXPECT_FALSE(devices[0].usb);
    EXPECT_EQ(devices[0].driver, "serial8250");
}

// libudev over this machine's /sys, checked against sysfs itself: every tty with a device
// behind it and no other, each built-in port named by its UART's driver, not by the serial
// core's port or controller device that newer kernels put between them.
TEST(SerialDevicesTest, TheSystemTtysWithADeviceBehindThemComeFromUdev) {
    namespace fs = std::filesystem;
    auto last = [](const fs::path& link) {
        std::error_code error;
        return fs::read_symlink(link, error).filename().string();
    };
    std::map<std::string, std::string> expected;  // name: driver
    std::error_code error;
    for (fs::directory_iterator it("/sys/class/tty", error), end; !error && it != end;
         it.increment(error)) {
        fs::path device = it->path() / "device";
        if (!fs::exists(device)) {
            continue;
        }
        fs::path dir = fs::canonical(device);
        while (last(dir / "subsystem") == "serial-base") {
            dir = dir.parent_path();
        }
        expected[it->path().filename().string()] = last(dir / "driver");
    }
    std::map<std::string, std::string> listed;
    for (const TtyRecord& record : ListSystemTtys()) {
        EXPECT_EQ(record.node, "/dev/" + record.name);
        listed[record.name] =
            record.properties.count(".DRIVER") ? record.properties.at(".DRIVER") : "";
    }
    EXPECT_EQ(listed, expected);
    for (const SerialDevice& device : ListSerialDevices(DeviceRoots{})) {
        EXPECT_EQ(expected.count(fs::path(device.path).filename().string()), 1u) << device.path;
    }
}

// Which of udev's names a line shows: the database's over the adapter's own, whose escaped
// form keeps its blanks, never a bare id; the chip's driver from the USB interface.
TEST(SerialDevicesTest, NamesAndDriverComeFromTheBestPropertyThereIs) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> properties;
        std::vector<std::string> links;
        const char* manufacturer;
        const char* product;
        const char* driver;
        const char* stablePath;
    };
    const std::map<std::string, std::string> ids = {
        {"ID_BUS", "usb"}, {"ID_VENDOR_ID", "1a86"}, {"ID_MODEL_ID", "7523"}};
    auto with = [&ids](std::map<std::string, std::string> more) {
        more.insert(ids.begin(), ids.end());
        return more;
    };
    const Case cases[] = {
        {"database first",
         with({{"ID_VENDOR_FROM_DATABASE", "QinHeng Electronics"},
               {"ID_MODEL_FROM_DATABASE", "CH340 serial converter"},
               {"ID_VENDOR_ENC", "Maker"},
               {"ID_MODEL", "USB_Serial"},
               {"ID_USB_DRIVER", "ch341"},
               {".DRIVER", "usb-serial"}}),
         {},
         "QinHeng Electronics",
         "CH340 serial converter",
         "ch341",
         ""},
        {"escaped string keeps its blanks",
         with({{"ID_VENDOR_ENC", "Silicon\\x20Labs\\x5c"},
               {"ID_VENDOR", "Silicon_Labs_"},
               {"ID_MODEL_ENC", "CP2102\\x2"},
               {".DRIVER", "cp210x"}}),
         {},
         "Silicon Labs\\",
         "CP2102\\x2",
         "cp210x",
         ""},
        {"plain string without an escaped one",
         with({{"ID_MODEL", "USB_Serial"}}),
         {},
         "",
         "USB_Serial",
         "",
         ""},
        {"bare ids say nothing",
         with({{"ID_VENDOR", "1a86"}, {"ID_VENDOR_ENC", "1a86"}, {"ID_MODEL_ENC", "7523"}}),
         {},
         "",
         "",
         "",
         ""},
        {"the by-id name, not the by-path one",
         ids,
         {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0",
          "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"},
         "",
         "",
         "",
         "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"},
        {"a card's database names but no USB ids",
         {{"ID_VENDOR_ID", "0x9710"},
          {"ID_VENDOR_FROM_DATABASE", "MosChip"},
          {".DRIVER", "serial"}},
         {},
         "MosChip",
         "",
         "serial",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool usb = c.properties.count("ID_BUS") != 0;
        TtyRecord record{usb ? "ttyUSB0" : "ttyS4", "/dev/x", c.links, c.properties};
        SerialDevice device = SerialDeviceFromRecord(record, "/dev");
        EXPECT_EQ(device.manufacturer, c.manufacturer);
        EXPECT_EQ(device.product, c.product);
        EXPECT_EQ(device.driver, c.driver);
        EXPECT_EQ(device.stablePath, c.stablePath);
        EXPECT_EQ(device.usb, usb);
        EXPECT_EQ(device.vendorId, usb ? "1a86" : "");
    }
}

TEST(SerialDevicesTest, UsbFirstThenModemsThenBuiltInEachByNumber) {
    FakeDeviceTree tree;
    tree.AddBuiltInPort("ttyS0", 4);
    tree.AddBuiltInPort("ttyAMA0", 4);
    tree.AddUsbAdapter({"ttyACM0", "cdc_acm", "2e8a", "000a", "", "", ""});
    tree.AddUsbAdapter({"ttyUSB10", "ch341", "1a86", "7523", "", "", ""});
    tree.AddUsbAdapter({"ttyUSB2", "ch341", "1a86", "7523", "", "", ""});
    EXPECT_EQ(Paths(ListSerialDevices(tree.Roots())),
              (std::vector<std::string>{tree.DevicePath("ttyUSB2"), tree.DevicePath("ttyUSB10"),
                                        tree.DevicePath("ttyACM0"), tree.DevicePath("ttyAMA0"),
                                        tree.DevicePath("ttyS0")}));
}

TEST(SerialDevicesTest, StableNamesAttachToTheDeviceTheyResolveTo) {
    FakeDeviceTree tree;
    tree.AddUsbAdapter({"ttyUSB0", "ch341", "1a86", "7523", "", "USB Serial", ""});
    tree.AddUsbAdapter({"ttyUSB1", "ftdi_sio", "0403", "6001", "FTDI", "FT232R USB UART", ""});
    std::string ftdi =
        tree.AddStableName("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB1");
    std::vector<SerialDevice> devices = ListSerialDevices(tree.Roots());
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].stablePath, "");
    EXPECT_EQ(devices[1].stablePath, ftdi);
    EXPECT_EQ(devices[1].path, tree.DevicePath("ttyUSB1"));
}

TEST(SerialDevicesTest, UnpluggedOrMissingTreesListNothingThatCannotBeOpened) {
    FakeDeviceTree tree;
    tree.AddUsbAdapter({"ttyUSB0", "ch341", "1a86", "7523", "", "", ""});
    tree.AddUsbAdapter({"ttyUSB1", "ch341", "1a86", "7523", "", "", ""});
    tree.AddStableName("usb-1a86_USB_Serial-if00-port0", "ttyUSB0");
    tree.RemoveNode("ttyUSB0");
    EXPECT_EQ(Paths(ListSerialDevices(tree.Roots())),
              (std::vector<std::string>{tree.DevicePath("ttyUSB1")}));
    EXPECT_TRUE(ListSerialDevices({"/nonexistent/sys", "/nonexistent/dev"}).empty());
}

TEST(SerialDevicesTest, NodesWithoutUdevRecordsStillShowUsbAdaptersOnly) {
    halvex::test::TempFolder dev;
    dev.Write("ttyUSB0", "");
    dev.Write("ttyS0", "");
    std::vector<SerialDevice> devices = ListSerialDevices({dev.File("sys"), dev.Path()});
    ASSERT_EQ(Paths(devices), (std::vector<std::string>{dev.File("ttyUSB0")}));
    EXPECT_EQ(DescribeSerialDevice(devices[0]), "USB serial device");
}

TEST(SerialDevicesTest, DescriptionsNameTheChipIdsAndDriver) {
    struct Case {
        SerialDevice device;
        std::string line;
    };
    auto usb = [](std::string driver, std::string vendor, std::string productId, std::string maker,
                  std::string product) {
        SerialDevice device;
        device.usb = true;
        device.driver = std::move(driver);
        device.vendorId = std::move(vendor);
        device.productId = std::move(productId);
        device.manufacturer = std::move(maker);
        device.product = std::move(product);
        return device;
    };
    SerialDevice builtIn;
    builtIn.driver = "serial8250";
    const Case cases[] = {
        {usb("ch341", "1a86", "7523", "", ""), "CH340 serial adapter (1a86:7523, ch341)"},
        {usb("pl2303", "067b", "2303", "Prolific Technology Inc.",
             "Prolific Technology Inc. USB-Serial Controller"),
         "PL2303 serial adapter \"Prolific Technology Inc. USB-Serial Controller\" "
         "(067b:2303, pl2303)"},
        {usb("ftdi_sio", "0403", "6001", "FTDI", "FT232R USB UART"),
         "FTDI serial adapter \"FTDI FT232R USB UART\" (0403:6001, ftdi_sio)"},
        {usb("cdc_acm", "2e8a", "000a", "Maker", "Pico"), "Maker Pico (2e8a:000a, cdc_acm)"},
        {usb("", "", "", "", ""), "USB serial device"},
        {builtIn, "Built-in serial port (serial8250)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeSerialDevice(c.device), c.line);
    }
    // The desktop words them in the user's language.
    const SerialDeviceWords words{"%1-A", "U", "B"};
    EXPECT_EQ(DescribeSerialDevice(cases[0].device, words), "CH340-A (1a86:7523, ch341)");
    EXPECT_EQ(DescribeSerialDevice(cases[4].device, words), "U");
    EXPECT_EQ(DescribeSerialDevice(builtIn, words), "B (serial8250)");
}

}  // namespace
