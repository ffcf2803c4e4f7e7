// Runs the endpoint without a window until SIGINT or SIGTERM; SIGHUP reloads the settings.
#pragma once

#include "app/command_line.h"

namespace qf {

// Returns the exit status: 0 after a normal stop, 3 when the port cannot be opened.
int RunHeadless(const CommandLine& line, const std::string& settingsPath);

}  // namespace qf
