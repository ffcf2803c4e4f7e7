// The program with its console window.
#pragma once

#include <string>

#include "app/command_line.h"

namespace qf {

// Runs until the window is closed; the exit status.
int RunWindow(const CommandLine& line, const std::string& settingsPath, int argc, char** argv);

}  // namespace qf
