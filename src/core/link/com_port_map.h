// SPDX-License-Identifier: GPL-3.0-or-later
// What COM1-COM8 stand for on this machine, for the port dialog and `halvex-cli ports`: the
// program keeps the port numbers of the radio's documentation, and users need to see which
// device each one opens.
#pragma once

#include <string>
#include <vector>

constexpr int kMappedComPorts = 8;

struct ComPortMapping {
    int number = 0;
    std::string path;    // what opening COMn opens: portsFolder/COMn or /dev/ttyUSB<n-1>
    std::string target;  // where a ports/COMn link leads, else path
    bool linked = false;
    bool present = false;  // path leads to something that exists now
};

// COM1 to COM8 in order.
std::vector<ComPortMapping> ListComPortMappings(const std::string& portsFolder);
