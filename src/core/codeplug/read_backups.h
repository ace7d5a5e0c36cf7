// SPDX-License-Identifier: GPL-3.0-or-later
// Every image read from a radio is also kept as a timestamped .pgm file in a backup folder,
// so a read over unsaved work, or a later bad write, can always be undone from a file.
// The folder is passed in; nothing here looks at the environment.
#pragma once

#include <array>
#include <ctime>
#include <string>

#include "codeplug/pgm_file.h"

// How many backups the folder keeps; older ones are removed after each new one.
constexpr size_t kBackupsKept = 50;

// Saves file as radio-YYYYMMDD-HHMMSS.pgm (local time of now; "_2", "_3"... when that name is
// taken) in folder, which is created private (0700) as needed; the file is 0600. A folder path
// that is a file or a link to one is left as it is and fails; a linked folder keeps its mode.
// Then removes the backups with the oldest modification times until kBackupsKept remain, never
// the new one.
// path gets the new file's name; false with a message (and no file) when it was not written.
bool WriteReadBackup(const std::string& folder, const PgmFile& file, std::time_t now,
                     std::string* path, std::string* error);

// Keeps image, just read from a radio, as a new backup with this program's own header, now.
// The backup is a second copy: callers only warn when it fails, the read itself stands.
bool KeepReadBackup(const std::string& folder, const std::array<uint8_t, kImageSize>& image,
                    std::string* error);
