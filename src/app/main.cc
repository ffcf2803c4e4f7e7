// Entry point of build/quillfern.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/headless_main.h"
#include "app/open_file_limit.h"
#ifdef QUILLFERN_WITH_WINDOW
#include <dlfcn.h>
#endif

namespace {

// gzh.ini beside the executable.
std::string DefaultSettingsPath() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "gzh.ini";
  return (exe.parent_path() / "gzh.ini").string();
}

#ifdef QUILLFERN_WITH_WINDOW
using RunWindowFunction = int (*)(const qf::CommandLine*, const char*, int, char**);

// The window lives in a module beside the executable, loaded only when it is wanted. Without it
// the program says why and runs headless.
RunWindowFunction LoadWindow() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string module = (exe.parent_path() / "libquillfern_window.so").string();
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* entry = handle != nullptr ? dlsym(handle, "quillfern_run_window") : nullptr;
  if (entry == nullptr) {
    std::fprintf(stderr, "quillfern: the console window cannot be loaded (%s); running headless\n",
                 dlerror());
    return nullptr;
  }
  return reinterpret_cast<RunWindowFunction>(entry);
}
#endif

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
  const std::string settingsPath =
      line->settingsPath.empty() ? DefaultSettingsPath() : line->settingsPath;
  qf::RaiseOpenFileLimit();
  // A log reader that went away (stderr into a closed pipe) must not end the endpoint: the write
  // fails and the program goes on. Sockets never raise the signal (they send without it).
  std::signal(SIGPIPE, SIG_IGN);
#ifdef QUILLFERN_WITH_WINDOW
  if (!line->headless) {
    if (const auto run = LoadWindow()) return run(&*line, settingsPath.c_str(), argc, argv);
  }
#else
  if (!line->headless) {
    std::fputs("quillfern: built without the console window; running headless\n", stderr);
  }
#endif
  return qf::RunHeadless(*line, settingsPath);
}
