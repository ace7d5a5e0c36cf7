// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_folder.h"

extern char** environ;

namespace halvex::test {

namespace {

void OpenStream(posix_spawn_file_actions_t* actions, int descriptor, const std::string& path,
                int flags) {
    if (!path.empty()) {
        posix_spawn_file_actions_addopen(actions, descriptor, path.c_str(), flags, 0600);
    }
}

}  // namespace

pid_t SpawnProgram(std::vector<std::string> arguments, const ProgramStreams& streams) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    constexpr int kWrite = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    OpenStream(&actions, STDIN_FILENO, streams.stdinPath, O_RDONLY);
    if (streams.closeStdout) {
        posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
    } else {
        OpenStream(&actions, STDOUT_FILENO, streams.stdoutPath, kWrite);
    }
    if (!streams.stderrPath.empty() && streams.stderrPath == streams.stdoutPath) {
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    } else {
        OpenStream(&actions, STDERR_FILENO, streams.stderrPath, kWrite);
    }
    if (!streams.folder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, streams.folder.c_str());
    }
    pid_t child = -1;
    int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : -1;
}

std::map<std::string, std::string> FolderSnapshot(const std::string& folder,
                                                  const std::vector<std::string>& leaveOut) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename();
        if (std::find(leaveOut.begin(), leaveOut.end(), name) != leaveOut.end()) {
            continue;
        }
        struct stat status {};
        lstat(entry.path().c_str(), &status);
        entries[name] = std::to_string(status.st_mode) +
                        (S_ISREG(status.st_mode) ? ReadBytes(entry.path()) : "");
    }
    return entries;
}

}  // namespace halvex::test
