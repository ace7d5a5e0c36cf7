// Plugs the Read, Write, Compare with Radio and Communication port commands into the main frame's
// command table.
#pragma once

// Registers the handlers; the desktop program does it once before its frame is built.
bool RegisterLinkCommands();
