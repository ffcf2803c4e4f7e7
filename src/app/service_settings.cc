#include "app/service_settings.h"

#include "app/private_profile.h"

namespace qf {
namespace {

struct Default {
  const char* section;
  const char* key;
  const char* value;
  bool placeholder;
};

// Placeholders live under example.com so that a service nobody configured fails visibly.
constexpr Default kDefaults[] = {
    {"services", "public_ip", "http://public-ip.example.com", true},
    {"services", "video_search", "http://video-search.example.com", true},
    {"services", "video_short", "http://video-short.example.com", true},
    {"services", "catalogue", "http://catalogue.example.com", true},
    {"services", "shortener", "http://shortener.example.com", true},
    {"services", "gateway", "https://gateway.example.com", true},
    {"services", "item_hosts",
     "item.example.com,m.item.example.com,detail.example.com,m.detail.example.com", true},
    {"services", "click_host", "click.example.com", true},
    {"services", "coupon_convert", "http://coupon-convert.example.com", true},
    {"services", "switch_file", "http://config.example.com/switch.txt", true},
    {"services", "channel_file", "http://config.example.com/channel.txt", true},
    {"services", "coupon_landing", "https://coupon-landing.example.com", true},
    {"services", "open_platform", "https://open-platform.example.com", true},
    {"services", "sharecode_api", "http://sharecode.example.com", true},
    {"services", "coupon_check", "http://coupon-check.example.com", true},
    {"services", "news_picture", "http://www.example.com/upload/logo.png", true},
    {"services", "sharecode_logo", "http://www.example.com/upload/logo.png", true},
    {"services", "verify_tls", "1", false},
    {"credentials", "video_uid", "000", false},
    {"credentials", "catalogue_account", "demo", false},
    {"credentials", "open_app_key", "00000000", false},
    {"credentials", "open_app_secret", "00000000000000000000000000000000", false},
    {"credentials", "affiliate_pid", "mm_000000000_00000000_000000000", false},
    {"credentials", "account_token", "000000000000", false},
    {"credentials", "account_cookie", "", false},
    {"credentials", "gateway_app_key", "00000000", false},
    {"credentials", "sharecode_api_key", "AAAAAAAAAA", false},
    {"credentials", "sharecode_uid", "000000", false},
    {"credentials", "coupon_check_app_key", "00000000000000000000000000000000", false},
};

}  // namespace

ServiceSettings ServiceSettings::Load(const std::string& settingsPath) {
  ServiceSettings settings;
  for (const Default& d : kDefaults) {
    std::string value = ReadProfileString(settingsPath, d.section, d.key);
    settings.values_[d.key] = value.empty() ? d.value : value;
  }
  return settings;
}

std::string ServiceSettings::Get(std::string_view key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? std::string() : it->second;
}

std::vector<std::string> ServiceSettings::Placeholders() const {
  std::vector<std::string> keys;
  for (const Default& d : kDefaults) {
    if (d.placeholder && Get(d.key) == d.value) keys.push_back(d.key);
  }
  return keys;
}

}  // namespace qf
