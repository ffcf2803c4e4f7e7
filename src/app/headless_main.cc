#include "app/headless_main.h"

#include <signal.h>

#include <cstdio>
#include <ctime>
#include <mutex>

#include "app/service_settings.h"
#include "app/settings_store.h"
#include "callback/endpoint.h"
#include "net/tls_policy.h"
#include "search/movie_search_actions.h"

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

void WarnAboutPlaceholders(const ServiceSettings& services) {
  const auto keys = services.Placeholders();
  if (keys.empty()) return;
  std::string list;
  for (const auto& key : keys) list += (list.empty() ? "" : ", ") + key;
  std::fprintf(stderr, "quillfern: warning: services still on placeholders: %s\n", list.c_str());
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

  SettingsStore store(settingsPath);
  store.LoadSettings();
  ServiceSettings services = ServiceSettings::Load(settingsPath);
  WarnAboutPlaceholders(services);
  SetTlsVerification(services.VerifyTls());
  std::fputs(
      "quillfern: coupon lookup is not available in this build; share codes get an empty "
      "answer\n",
      stderr);

  std::mutex servicesMutex;  // guards `services` across SIGHUP reloads
  MovieSearchActions actions([&] {
    std::lock_guard lock(servicesMutex);
    return MovieServices{services.Get("video_search"), services.Get("video_short"),
                         services.Get("shortener"),    services.Get("catalogue"),
                         services.Get("video_uid"),    services.Get("catalogue_account")};
  });
  EndpointHooks hooks;
  hooks.settingsForRequest = [&] {
    store.ReloadSearchWord();
    const Settings settings = store.Snapshot();
    std::lock_guard lock(servicesMutex);
    return EndpointSettings{settings.token, settings.welcomeText, settings.searchWord,
                            services.Get("news_picture")};
  };
  hooks.actions = &actions;
  hooks.onHandled = WriteAccessLine;

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
      store.LoadSettings();
      std::lock_guard lock(servicesMutex);
      services = ServiceSettings::Load(settingsPath);
      SetTlsVerification(services.VerifyTls());
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
