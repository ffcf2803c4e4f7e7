#include "app/headless_main.h"

#include <signal.h>

#include <cstdio>
#include <ctime>
#include <mutex>

#include "app/endpoint_program.h"

namespace qf {
namespace {

constexpr std::chrono::seconds kStopGrace{5};

void WriteAccessLine(const AccessRecord& record) {
  static std::mutex mutex;
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  std::lock_guard lock(mutex);
  std::fprintf(stderr, "%s %s %.*s %.*s %zuB %.1fms\n", stamp, record.clientAddress.c_str(),
               static_cast<int>(record.kind.size()), record.kind.data(),
               static_cast<int>(record.sent.size()), record.sent.data(), record.replyBytes,
               record.milliseconds);
}

}  // namespace

int RunHeadless(const CommandLine& line, const std::string& settingsPath) {
  // The signals are taken by sigwait below; every thread started from here inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  EndpointProgram program(settingsPath);
  EndpointHooks hooks = program.Hooks(nullptr, WriteAccessLine);

  Endpoint endpoint({line.listenAddress, line.port, line.workers}, std::move(hooks));
  if (const std::error_code error = endpoint.Start()) {
    std::fprintf(stderr, "quillfern: cannot listen on %s:%u: %s\n", line.listenAddress.c_str(),
                 static_cast<unsigned>(line.port), error.message().c_str());
    return 3;
  }
  std::printf("listening on %s:%u\n", line.listenAddress.c_str(),
              static_cast<unsigned>(endpoint.Port()));
  std::fflush(stdout);

  for (;;) {
    int signal = 0;
    if (sigwait(&signals, &signal) != 0) continue;
    if (signal == SIGHUP) {
      program.Reload();
      std::fputs("quillfern: settings reloaded\n", stderr);
      continue;
    }
    break;
  }
  if (!endpoint.Stop(kStopGrace)) {
    // A worker is still busy past the grace period: leave without waiting for it.
    std::fputs("quillfern: stopped with requests unanswered\n", stderr);
    std::fflush(stderr);
    std::_Exit(0);
  }
  return 0;
}

}  // namespace qf
