// What kind of file a path names, for the lookups that must skip folders and devices.
#pragma once

#include <string>

// True when path names a regular file, following symbolic links; false when it names
// nothing, a folder or a device.
bool IsRegularFile(const std::string& path);
