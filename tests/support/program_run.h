// SPDX-License-Identifier: GPL-3.0-or-later
// Starts one of the built programs as a user's shell would, with its standard streams in files,
// so tests read what it printed whatever it did after its first line.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace halvex::test {

// Where the program's standard streams lead and where it runs; an empty path leaves the stream
// as the test's own. closeStdout starts it with descriptor 1 closed; standard error given the
// path of standard output shares that file, in the order written.
struct ProgramStreams {
    std::string stdinPath;
    std::string stdoutPath;
    std::string stderrPath;
    bool closeStdout = false;
    std::string folder;
};

// Starts arguments[0] with arguments: its process id, or -1 when it cannot start.
pid_t SpawnProgram(std::vector<std::string> arguments, const ProgramStreams& streams);

// Every entry of folder but the named ones, with its mode and, for a regular file, its bytes:
// what a refused command must leave exactly as it was.
std::map<std::string, std::string> FolderSnapshot(const std::string& folder,
                                                  const std::vector<std::string>& leaveOut);

}  // namespace halvex::test
