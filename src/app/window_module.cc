// The entry point of the window module, looked up by name when the program opens its window.
#include "app/window_main.h"

extern "C" __attribute__((visibility("default"))) int quillfern_run_window(
    const qf::CommandLine* line, const char* settingsPath, int argc, char** argv) {
  return qf::RunWindow(*line, settingsPath, argc, argv);
}
