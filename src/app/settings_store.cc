#include "app/settings_store.h"

#include "app/private_profile.h"
#include "text/char_refs.h"
#include "text/code_page.h"

namespace qf {
namespace {

constexpr std::string_view kSettingsSection = "setting";

}  // namespace

const Text& TokenKey() {
  static const Text key = "Token";
  return key;
}
const Text& WelcomeTextKey() {
  static const Text key = FromUtf8("关注回复");
  return key;
}
const Text& SearchWordKey() {
  static const Text key = FromUtf8("搜索词");
  return key;
}

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

Text SettingsStore::ReadSettingValue(std::string_view key) const {
  return ReadProfileString(path_, kSettingsSection, key);
}

bool SettingsStore::WriteSettingValue(std::string_view key, std::string_view value) {
  return WriteProfileString(path_, kSettingsSection, key, value);
}

void SettingsStore::LoadSettings() {
  Text token = ReadSettingValue(TokenKey());
  Text welcome = ReadSettingValue(WelcomeTextKey());
  Text word = ReadSettingValue(SearchWordKey());
  std::lock_guard lock(lock_);
  settings_ = {std::move(token), std::move(welcome), std::move(word)};
}

void SettingsStore::ReloadSearchWord() {
  // Stamped before reading: a change in between leaves an old stamp and is read next time.
  std::optional<FileStamp> stamp = FileStamp::Of(path_);
  {
    std::lock_guard lock(lock_);
    if (stamp && stamp->IsSettled() && stamp == searchWordStamp_) return;
  }
  Text word = ReadSettingValue(SearchWordKey());
  std::lock_guard lock(lock_);
  settings_.searchWord = std::move(word);
  searchWordStamp_ = std::move(stamp);
}

Settings SettingsStore::ShowStoredSettings() {
  Settings shown{ReadSettingValue(TokenKey()), ReadSettingValue(WelcomeTextKey()),
                 DecodeCharRefs(ReadSettingValue(SearchWordKey()))};
  LoadSettings();
  return shown;
}

bool SettingsStore::SaveSettings(std::string_view token, std::string_view welcomeText,
                                 std::string_view plainSearchWord) {
  bool ok = WriteSettingValue(SearchWordKey(), EncodeCharRefs(plainSearchWord));
  ok = WriteSettingValue(TokenKey(), token) && ok;
  ok = WriteSettingValue(WelcomeTextKey(), welcomeText) && ok;
  LoadSettings();
  return ok;
}

Settings SettingsStore::Snapshot() const {
  std::lock_guard lock(lock_);
  return settings_;
}

}  // namespace qf
