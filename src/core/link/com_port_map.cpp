// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/com_port_map.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "link/serial_port.h"

namespace fs = std::filesystem;

std::vector<ComPortMapping> ListComPortMappings(const std::string& portsFolder) {
    std::vector<ComPortMapping> mappings;
    for (int n = 1; n <= kMappedComPorts; ++n) {
        ComPortMapping mapping;
        mapping.number = n;
        mapping.path = ComPortDevicePath(portsFolder, n);
        mapping.target = mapping.path;
        mapping.linked = !portsFolder.empty() && mapping.path.starts_with(portsFolder + "/");
        std::error_code error;
        fs::path target = fs::read_symlink(mapping.path, error);
        if (mapping.linked && !error) {
            mapping.target = target.is_absolute()
                                 ? target.string()
                                 : (fs::path(portsFolder) / target).lexically_normal().string();
        }
        struct stat status {};
        mapping.present = ::stat(mapping.path.c_str(), &status) == 0;
        mappings.push_back(std::move(mapping));
    }
    return mappings;
}
