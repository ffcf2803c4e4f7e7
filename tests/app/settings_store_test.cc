#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "app/private_profile.h"
#include "support/gbk.h"
#include "text/char_refs.h"

namespace qf {
namespace {

using testing::Gbk;

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::remove(path_); }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string path_ = (std::filesystem::temp_directory_path() /
                       ("qf-settings-" + std::to_string(getpid()) + ".ini"))
                          .string();
};

TEST_F(SettingsStoreTest, FirstStartShowsEmptyBoxesAndSaveCreatesTheFile) {
  SettingsStore store(path_);
  const Settings shown = store.ShowStoredSettings();
  EXPECT_EQ(shown.token, "");
  EXPECT_EQ(shown.welcomeText, "");
  EXPECT_EQ(shown.searchWord, "");
  ASSERT_TRUE(store.SaveSettings("tok", Gbk("欢迎"), Gbk("搜")));
  EXPECT_EQ(ReadProfileString(path_, "setting", SearchWordKey()), "&#25628");
  EXPECT_EQ(ReadProfileString(path_, "setting", WelcomeTextKey()), Gbk("欢迎"));
  const Settings loaded = store.Snapshot();
  EXPECT_EQ(loaded.token, "tok");
  EXPECT_EQ(loaded.searchWord, "&#25628");  // kept encoded
  EXPECT_EQ(SettingsStore(path_).ShowStoredSettings().searchWord, Gbk("搜"));
}

TEST_F(SettingsStoreTest, SearchWordEncodings) {
  SettingsStore store(path_);
  store.SaveSettings("", "", "ab ");
  EXPECT_EQ(store.ReadSettingValue(SearchWordKey()), "&#97&#98&#32");
  store.SaveSettings("", "", "   ");
  EXPECT_EQ(store.ReadSettingValue(SearchWordKey()), "");
}

TEST_F(SettingsStoreTest, ReloadSearchWordSeesHandEdits) {
  SettingsStore store(path_);
  store.SaveSettings("tok", "w", "a");
  WriteProfileString(path_, "setting", SearchWordKey(), "raw");
  WriteProfileString(path_, "setting", TokenKey(), "changed");
  store.ReloadSearchWord();
  EXPECT_EQ(store.Snapshot().searchWord, "raw");
  EXPECT_EQ(store.Snapshot().token, "tok");  // the token waits for the next load
}

// The search word is re-read only when the file may have changed: an editor that rewrites the
// file in place with a value of the same size, at once and again after the file has settled,
// must still be seen.
TEST_F(SettingsStoreTest, ReloadSearchWordSeesSameSizeRewritesInPlace) {
  const auto rewrite = [&](const char* word) {
    std::FILE* file = std::fopen(path_.c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    const std::string text = std::string("[setting]\r\n") + Gbk("搜索词") + "=" + word + "\r\n";
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  };
  WriteProfileString(path_, "setting", SearchWordKey(), "aaaa");
  SettingsStore store(path_);
  for (const char* word : {"bbbb", "cccc"}) {
    store.ReloadSearchWord();
    rewrite(word);
    store.ReloadSearchWord();
    EXPECT_EQ(store.Snapshot().searchWord, word);
  }
  // Settled: the stamp is trusted, and an in-place rewrite still changes it.
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(5);
  std::filesystem::last_write_time(path_, old);
  store.ReloadSearchWord();
  rewrite("dddd");
  std::filesystem::last_write_time(path_, old);
  store.ReloadSearchWord();
  EXPECT_EQ(store.Snapshot().searchWord, "dddd");
}

TEST_F(SettingsStoreTest, ReadersNeverSeeAMixtureWhileSaving) {
  SettingsStore store(path_);
  const Text oldWord = EncodeCharRefs(std::string(1500, 'a'));
  const Text newWord = EncodeCharRefs(std::string(1500, 'b'));
  store.WriteSettingValue(SearchWordKey(), oldWord);
  std::atomic<bool> done{false};
  std::atomic<int> mixed{0};
  std::thread reader([&] {
    while (!done) {
      const Text value = store.ReadSettingValue(SearchWordKey());
      if (value != oldWord && value != newWord) ++mixed;
    }
  });
  for (int i = 0; i < 200; ++i) store.WriteSettingValue(SearchWordKey(), i % 2 ? oldWord : newWord);
  done = true;
  reader.join();
  EXPECT_EQ(mixed, 0);
}

}  // namespace
}  // namespace qf
