// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli's standard streams: what it prints must arrive, and "-" reads standard input as a
// file its readers can open.
#pragma once

#include <string>

// Takes over standard output before anything prints: every write to std::cout is checked, and
// a closed descriptor 0, 1 or 2 is taken by /dev/null (1 by /dev/full), so no file or port the
// command opens lands on it and anything printed to a closed standard output fails.
void StartStandardOutput();
// Flushes and closes standard output; false with a message when anything printed was lost.
bool FinishStandardOutput(std::string* error);

// Copies standard input ("-" on the command line) into memory and gives a path its readers can
// open; messages show that path as "standard input". False with a message when it is too large
// to be a radio's file or cannot be read.
bool TakeStandardInput(std::string* path, std::string* error);

// text with the path standard input is kept at named "standard input".
std::string NameStandardInput(std::string text);
