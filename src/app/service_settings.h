// The addresses of outside services ("services" section) and the operator's credentials
// ("credentials" section) of the settings file, each with a built-in value.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qf {

class ServiceSettings {
 public:
  // Reads both sections; a missing key keeps its built-in value.
  static ServiceSettings Load(const std::string& settingsPath);

  // The value of a key of either section; "" for an unknown key.
  std::string Get(std::string_view key) const;
  bool VerifyTls() const { return Get("verify_tls") != "0"; }

  // The service keys still holding their placeholder.
  std::vector<std::string> Placeholders() const;

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace qf
