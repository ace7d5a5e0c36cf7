// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real halvex-cli in a fresh folder and keeps what it printed, so CLI tests check
// exit codes and messages as a user sees them.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

using halvex::test::ReadBytes;

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Where the program's standard streams lead instead of the captured files, and where it runs;
// closeStdout runs it with descriptor 1 closed.
struct CliStreams {
    std::string stdinPath;
    std::string stdoutPath;
    bool closeStdout = false;
    std::string folder;
};

class CliRunFixture : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return m_Folder.File(name); }

    RunResult Run(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), HALVEX_CLI_PATH);
        return RunProgram(std::move(arguments));
    }

    RunResult RunWith(const CliStreams& streams, std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), HALVEX_CLI_PATH);
        return RunProgram(std::move(arguments), streams);
    }

    // arguments[0] is the program's path.
    RunResult RunProgram(std::vector<std::string> arguments, const CliStreams& streams = {}) const {
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        std::string outPath = File("stdout.txt");
        std::string errPath = File("stderr.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (streams.closeStdout) {
            posix_spawn_file_actions_addclose(&actions, 1);
        } else {
            const std::string& out = streams.stdoutPath.empty() ? outPath : streams.stdoutPath;
            posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0600);
        }
        if (!streams.stdinPath.empty()) {
            posix_spawn_file_actions_addopen(&actions, 0, streams.stdinPath.c_str(), O_RDONLY, 0);
        }
        if (!streams.folder.empty()) {
            posix_spawn_file_actions_addchdir_np(&actions, streams.folder.c_str());
        }
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t child = 0;
        RunResult result;
        int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << argv[0];
            return result;
        }
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (!streams.closeStdout && streams.stdoutPath.empty()) {
            result.out = ReadBytes(outPath);
        }
        result.err = ReadBytes(errPath);
        return result;
    }

    halvex::test::TempFolder m_Folder;
};
