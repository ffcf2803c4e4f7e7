#include "app/window_main.h"

#include <QApplication>
#include <cstdio>

#include "app/console_window.h"

namespace qf {

int RunWindow(const CommandLine& line, const std::string& settingsPath, int argc, char** argv) {
  QApplication application(argc, argv);
  application.setApplicationName("Quillfern");
  EndpointProgram program(settingsPath);
  ConsoleWindow window(program, {line.listenAddress, line.port, line.workers});
  if (window.Port() != 0) {
    std::printf("listening on %s:%u\n", line.listenAddress.c_str(),
                static_cast<unsigned>(window.Port()));
    std::fflush(stdout);
  }
  window.show();
  return application.exec();
}

}  // namespace qf
