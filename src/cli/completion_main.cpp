// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-completion: writes halvex-cli's shell completion from its option tables at build
// time. Not installed; only its scripts are.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli_commands.h"
#include "cli/shell_completion.h"
#include "platform/atomic_file.h"

int main(int argc, char** argv) {
    const std::string_view format = argc > 1 ? argv[1] : "";
    std::string text;
    if (format == "bash") {
        text = BashCompletion(CliCommands());
    } else if (format == "zsh") {
        text = ZshCompletion(CliCommands());
    } else if (format == "table") {
        text = CompletionTable(CliCommands());
    }
    if (text.empty() || argc > 3) {
        std::fputs("usage: halvex-completion bash|zsh|table [OUTPUT]\n", stderr);
        return 2;
    }
    if (argc == 2) {
        return std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    }
    std::string error;
    if (!ReplaceFileContents(argv[2], text, &error)) {
        std::fprintf(stderr, "halvex-completion: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
