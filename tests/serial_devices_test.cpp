// SPDX-License-Identifier: GPL-3.0-or-later
// Discovery over a fake sysfs and /dev laid out as the kernel and udev lay them out.
#include "link/serial_devices.h"

#include <ctime>
#include <string>
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

TEST(SerialDevicesTest, EachAdapterDriverIsReadFromItsUsbInterface) {
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

TEST(SerialDevicesTest, BuiltInPortBelowTheSerialCoreNamesTheUartDriver) {
    FakeDeviceTree tree;
    tree.AddBuiltInPort("ttyS0", 4, true);
    std::vector<SerialDevice> devices = ListSerialDevices(tree.Roots());
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].driver, "serial8250");
    EXPECT_EQ(DescribeSerialDevice(devices[0]), "Built-in serial port (serial8250)");
}

TEST(SerialDevicesTest, UsbFirstThenModemsThenBuiltInEachByNumber) {
    FakeDeviceTree tree;
    tree.AddBuiltInPort("ttyS0", 4);
    tree.AddUsbAdapter({"ttyACM0", "cdc_acm", "2e8a", "000a", "", "", ""});
    tree.AddUsbAdapter({"ttyUSB10", "ch341", "1a86", "7523", "", "", ""});
    tree.AddUsbAdapter({"ttyUSB2", "ch341", "1a86", "7523", "", "", ""});
    EXPECT_EQ(Paths(ListSerialDevices(tree.Roots())),
              (std::vector<std::string>{tree.DevicePath("ttyUSB2"), tree.DevicePath("ttyUSB10"),
                                        tree.DevicePath("ttyACM0"), tree.DevicePath("ttyS0")}));
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

TEST(SerialDevicesTest, NodesWithoutSysfsStillShowUsbAdaptersOnly) {
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
