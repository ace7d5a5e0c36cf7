// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real halvex-cli in a fresh folder and keeps what it printed, so CLI tests check
// exit codes and messages as a user sees them.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/program_run.h"
#include "support/temp_folder.h"

using halvex::test::ProgramStreams;
using halvex::test::ReadBytes;

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliRunFixture : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return m_Folder.File(name); }

    RunResult Run(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), HALVEX_CLI_PATH);
        return RunProgram(std::move(arguments));
    }

    RunResult RunWith(const ProgramStreams& streams, std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), HALVEX_CLI_PATH);
        return RunProgram(std::move(arguments), streams);
    }

    // arguments[0] is the program's path. Standard error, and standard output unless streams
    // lead it elsewhere, are kept for the result.
    RunResult RunProgram(std::vector<std::string> arguments, ProgramStreams streams = {}) const {
        const bool keepOut = !streams.closeStdout && streams.stdoutPath.empty();
        if (keepOut) {
            streams.stdoutPath = File("stdout.txt");
        }
        streams.stderrPath = File("stderr.txt");
        RunResult result;
        const pid_t child = halvex::test::SpawnProgram(arguments, streams);
        if (child < 0) {
            ADD_FAILURE() << "cannot start " << arguments.front();
            return result;
        }
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (keepOut) {
            result.out = ReadBytes(streams.stdoutPath);
        }
        result.err = ReadBytes(streams.stderrPath);
        return result;
    }

    // The test folder but the captured output.
    std::map<std::string, std::string> Snapshot() const {
        return halvex::test::FolderSnapshot(m_Folder.Path(), {"stdout.txt", "stderr.txt"});
    }

    halvex::test::TempFolder m_Folder;
};
