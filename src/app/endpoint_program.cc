#include "app/endpoint_program.h"

#include <cstdio>

#include "net/tls_policy.h"

namespace qf {
namespace {

void WarnAboutPlaceholders(const ServiceSettings& services) {
  const auto keys = services.Placeholders();
  if (keys.empty()) return;
  std::string list;
  for (const auto& key : keys) list += (list.empty() ? "" : ", ") + key;
  std::fprintf(stderr, "quillfern: warning: services still on placeholders: %s\n", list.c_str());
}

}  // namespace

EndpointProgram::EndpointProgram(const std::string& settingsPath)
    : settingsPath_(settingsPath),
      store_(settingsPath),
      services_(ServiceSettings::Load(settingsPath)),
      actions_([this] { return Services(); }) {
  store_.LoadSettings();
  WarnAboutPlaceholders(services_);
  SetTlsVerification(services_.VerifyTls());
}

ServiceSettings EndpointProgram::Services() const {
  std::lock_guard lock(servicesMutex_);
  return services_;
}

void EndpointProgram::Reload() {
  store_.LoadSettings();
  ServiceSettings services = ServiceSettings::Load(settingsPath_);
  SetTlsVerification(services.VerifyTls());
  std::lock_guard lock(servicesMutex_);
  services_ = std::move(services);
}

EndpointHooks EndpointProgram::Hooks(EndpointEvents* events,
                                     std::function<void(const AccessRecord&)> onHandled) {
  EndpointHooks hooks;
  hooks.settingsForRequest = [this] {
    store_.ReloadSearchWord();
    const Settings settings = store_.Snapshot();
    std::lock_guard lock(servicesMutex_);
    return EndpointSettings{settings.token, settings.welcomeText, settings.searchWord,
                            services_.Get("news_picture")};
  };
  hooks.actions = &actions_;
  hooks.events = events;
  hooks.onHandled = std::move(onHandled);
  return hooks;
}

}  // namespace qf
