// The program's command line (see README): options, defaults and their errors.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qf {

struct CommandLine {
  bool headless = false;
  std::string listenAddress = "0.0.0.0";
  unsigned short port = 80;
  std::string settingsPath;  // empty: gzh.ini beside the executable
  size_t workers = 256;
  bool help = false;
  bool version = false;
};

// Parses argv[1..]; on a bad argument returns nothing and sets `error` to a one-line reason.
// `hasDisplay` decides the default of --headless.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, bool hasDisplay,
                                            std::string& error);

extern const char* const kUsage;

}  // namespace qf
