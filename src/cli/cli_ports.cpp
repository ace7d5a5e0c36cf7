// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli ports: what COM1-COM8 open, the serial devices present and which port the
// settings choose, as a table for people or as JSON for scripts.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "config/setting_definitions.h"
#include "link/com_port_map.h"
#include "link/radio_connection.h"
#include "link/serial_devices.h"
#include "platform/terminal_text.h"

namespace {

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

const char* JsonBool(bool value) {
    return value ? "true" : "false";
}

void PrintJson(const std::vector<ComPortMapping>& ports, const std::vector<SerialDevice>& devices,
               const std::string& device) {
    std::ostringstream out;
    out << "{\n  \"device\": " << JsonString(device)
        << ",\n  \"com\": " << settings::kCom.Read(g_SettingsPath)
        << ",\n  \"inUse\": " << JsonString(ConfiguredPortName(g_SettingsPath))
        << ",\n  \"comPorts\": [";
    for (size_t i = 0; i < ports.size(); ++i) {
        const ComPortMapping& port = ports[i];
        out << (i == 0 ? "\n" : ",\n")
            << "    {\"port\": " << JsonString("COM" + std::to_string(port.number))
            << ", \"path\": " << JsonString(port.path)
            << ", \"target\": " << JsonString(port.target)
            << ", \"linked\": " << JsonBool(port.linked)
            << ", \"present\": " << JsonBool(port.present) << "}";
    }
    out << "\n  ],\n  \"devices\": [";
    for (size_t i = 0; i < devices.size(); ++i) {
        const SerialDevice& found = devices[i];
        out << (i == 0 ? "\n" : ",\n") << "    {\"path\": " << JsonString(found.path)
            << ", \"stablePath\": " << JsonString(found.stablePath)
            << ", \"driver\": " << JsonString(found.driver)
            << ", \"vendorId\": " << JsonString(found.vendorId)
            << ", \"productId\": " << JsonString(found.productId)
            << ", \"manufacturer\": " << JsonString(found.manufacturer)
            << ", \"product\": " << JsonString(found.product)
            << ", \"usb\": " << JsonBool(found.usb) << ", \"appearedAt\": " << found.appearedAt
            << ", \"description\": " << JsonString(DescribeSerialDevice(found)) << "}";
    }
    out << (devices.empty() ? "]\n}\n" : "\n  ]\n}\n");
    std::cout << out.str();
}

// Rows of cells printed in columns two spaces apart, each cell safe for a terminal: link
// targets and the adapters' own names are anybody's text.
void PrintColumns(std::vector<std::vector<std::string>> rows) {
    std::vector<size_t> widths;
    for (auto& row : rows) {
        for (std::string& cell : row) {
            cell = TerminalText(cell, kEchoedValueLimit);
        }
        widths.resize(std::max(widths.size(), row.size()));
        for (size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size()) {
                line += std::string(widths[column] - row[column].size() + 2, ' ');
            }
        }
        std::cout << line << '\n';
    }
}

void PrintTable(const std::vector<ComPortMapping>& ports, const std::vector<SerialDevice>& devices,
                const std::string& device) {
    std::vector<std::vector<std::string>> portRows = {{"Port", "Opens", "Present"}};
    for (const ComPortMapping& port : ports) {
        std::string opens =
            port.linked && port.target != port.path ? port.path + " -> " + port.target : port.path;
        portRows.push_back(
            {"COM" + std::to_string(port.number), opens, port.present ? "yes" : "no"});
    }
    PrintColumns(portRows);

    std::cout << '\n';
    if (devices.empty()) {
        std::cout << "No serial devices found: plug in the programming cable and run this again.\n";
    } else {
        std::vector<std::vector<std::string>> deviceRows = {
            {"Device", "Stable name", "Description"}};
        for (const SerialDevice& found : devices) {
            deviceRows.push_back({found.path, found.stablePath.empty() ? "-" : found.stablePath,
                                  DescribeSerialDevice(found)});
        }
        PrintColumns(deviceRows);
    }

    std::cout << '\n';
    if (!device.empty()) {
        std::cout << "In use: " << TerminalText(device, kEchoedValueLimit) << " (device in "
                  << g_SettingsPath << "; COM ports and the port search are not used)\n";
    } else {
        int com = settings::kCom.Read(g_SettingsPath);
        bool search = settings::kSearchCom.Read(g_SettingsPath);
        std::cout << "In use: COM" << com << " (com in " << g_SettingsPath
                  << (search ? "; other ports are searched when the radio does not answer there"
                             : "")
                  << ")\n";
    }
}

}  // namespace

int RunPortsCommand(const ParsedOptions& options) {
    const DeviceRoots roots = DeviceRootsFromEnvironment();
    std::vector<ComPortMapping> ports = ListComPortMappings(g_PortsDir);
    std::vector<SerialDevice> devices = ListSerialDevices(roots);
    std::string device = ConfiguredDevice(g_SettingsPath);
    if (options.Has(cli_option::kJson)) {
        PrintJson(ports, devices, device);
    } else {
        PrintTable(ports, devices, device);
    }
    return kExitSuccess;
}
