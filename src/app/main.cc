// Entry point of build/quillfern.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/headless_main.h"

namespace {

// gzh.ini beside the executable.
std::string DefaultSettingsPath() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "gzh.ini";
  return (exe.parent_path() / "gzh.ini").string();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool hasDisplay =
      std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  std::string error;
  const auto line = qf::ParseCommandLine(args, hasDisplay, error);
  if (!line) {
    std::fprintf(stderr, "quillfern: %s\n%s", error.c_str(), qf::kUsage);
    return 2;
  }
  if (line->help) {
    std::fputs(qf::kUsage, stdout);
    return 0;
  }
  if (line->version) {
    std::printf("quillfern %s\n", QUILLFERN_VERSION);
    return 0;
  }
  if (!line->headless) {
    std::fputs("quillfern: the console window is not built yet; running headless\n", stderr);
  }
  return qf::RunHeadless(*line,
                         line->settingsPath.empty() ? DefaultSettingsPath() : line->settingsPath);
}
