// SPDX-License-Identifier: GPL-3.0-or-later
// What every halvex-cli subcommand shares: error lines, the settings file and the prompts
// a document needs when nobody sits in front of a window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "codeplug/document.h"
#include "link/serial_devices.h"
#include "link/traced_line.h"

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
// diff answers as cmp does: 0 the same, 1 different, 2 it could not compare.
constexpr int kExitDiffDifferent = 1;
constexpr int kExitDiffError = 2;

// Prints "halvex-cli: message" on stderr, with the text it quotes from files and arguments
// made safe for a terminal, and returns kExitFailure.
int ReportFailure(const std::string& message);

// Prints a line on stderr that may quote file text (a note, a loss, a warning).
void PrintNote(const std::string& line);

// Where discovery looks: the real /sys and /dev, except for tests, which point it at a fake
// tree through HALVEX_SYSFS_ROOT and HALVEX_DEV_ROOT; nothing else reads these variables.
DeviceRoots DeviceRootsFromEnvironment();

// --verbose: the frame trace on stderr, each line after prefix and written whole, since the
// station's cables trace from threads of their own.
TraceSink StandardErrorTrace(std::string prefix = {});

// Says which channels in use lie beyond the channelcount rows, and so are left out of what
// the command shows ("shown", "exported"); nothing when there are none.
void NoteChannelsBeyondCount(const CHalvexDoc& document, int channelCount,
                             const std::string& leftOutOf);

// Warns when no channel in use of path can be read: the file is probably no radio program.
void NoteUnreadableChannels(const CHalvexDoc& document, const std::string& path);

// Reads the value of --port for command: a port number from 1 to 255, or false with a message.
bool ParsePort(std::string_view command, const std::string& value, std::optional<int>* port,
               std::string* error);

// Makes settingsPath (or, when empty, the setting.ini the location rule picks: beside the
// executable, else the user's own, made from the installed default on first use) the
// settings file and reads the channel count from it. False with a message when the file
// cannot be read.
bool UseSettingsFile(const std::string& settingsPath, std::string* error);

// Reads the value of --band for command: a band line number, or false with a message.
bool ParseBand(std::string_view command, const std::string& value, std::optional<int>* band,
               std::string* error);

// File > New, then the frequency range of band line band when one is given. False with a
// message, the document fresh on band line 0, when that band line has no usable data.
bool NewDocumentOnBand(std::string_view command, const std::optional<int>& band,
                       CHalvexDoc* document, std::string* error);

// The command line is the user's answer: questions are confirmed, Save As takes the output
// path given on the command line. Failures come back to the caller through error
// out-parameters, so the boxes themselves print nothing.
class CliPrompts : public DocumentPrompts {
public:
    explicit CliPrompts(std::optional<std::string> savePath = std::nullopt)
        : m_SavePath(std::move(savePath)) {}

    bool AskOkCancel(const DocumentMessage& message) override;
    void ShowStopMessage(const DocumentMessage& message) override;
    std::optional<std::string> AskSavePath() override { return m_SavePath; }

private:
    std::optional<std::string> m_SavePath;
};
