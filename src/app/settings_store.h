// The operator's settings file and the process-wide values loaded from it.
//
// Section "setting" holds "Token", "关注回复" (the welcome text) and "搜索词" (the search word,
// stored as numeric references). The values are replaced whole under one lock (SettingsLock);
// readers copy them out through Snapshot. Every file access is a complete read or an atomic
// replace, so a worker reading while Save writes sees the old or the new value.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/file_stamp.h"
#include "text/text.h"

namespace qf {

struct Settings {
  Text token;
  Text welcomeText;
  Text searchWord;  // as stored
};

class SettingsStore {
 public:
  explicit SettingsStore(std::string path);

  const std::string& path() const { return path_; }

  Text ReadSettingValue(std::string_view key) const;
  bool WriteSettingValue(std::string_view key, std::string_view value);

  // Reads the three keys into the values.
  void LoadSettings();
  // Reads the search word alone; done for every request, so the file is read again only when it
  // may have changed.
  void ReloadSearchWord();

  // What the window's three boxes show: the stored values, the search word decoded. Also loads
  // the values, as creating the window does.
  Settings ShowStoredSettings();
  // Stores the three box texts (the search word encoded) and loads them. False when the file
  // could not be written.
  bool SaveSettings(std::string_view token, std::string_view welcomeText,
                    std::string_view plainSearchWord);

  Settings Snapshot() const;

 private:
  const std::string path_;
  mutable std::mutex lock_;  // SettingsLock
  Settings settings_;        // guarded by lock_
  // Guarded by lock_: the file as it was when the search word was last read.
  std::optional<FileStamp> searchWordStamp_;
};

// The key names in code page 936.
const Text& TokenKey();
const Text& WelcomeTextKey();
const Text& SearchWordKey();

}  // namespace qf
