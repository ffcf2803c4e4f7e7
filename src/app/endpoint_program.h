// What the headless program and the console window share: the settings file, the services and
// credentials read from it, the movie search and coupon lookup, and the endpoint hooks.
#pragma once

#include <mutex>
#include <string>

#include "app/program_actions.h"
#include "app/service_settings.h"
#include "app/settings_store.h"
#include "callback/endpoint.h"

namespace qf {

class EndpointProgram {
 public:
  // Loads the settings and the services, applies the TLS setting and writes the start-up
  // warnings to standard error.
  explicit EndpointProgram(const std::string& settingsPath);

  SettingsStore& store() { return store_; }
  // A copy of the services as last loaded.
  ServiceSettings Services() const;

  // Reads the three settings and the services again.
  void Reload();

  // Hooks for an Endpoint; `events` and `onHandled` may be empty.
  EndpointHooks Hooks(EndpointEvents* events, std::function<void(const AccessRecord&)> onHandled);

 private:
  const std::string settingsPath_;
  SettingsStore store_;
  mutable std::mutex servicesMutex_;
  ServiceSettings services_;  // guarded by servicesMutex_
  ProgramActions actions_;
};

}  // namespace qf
