#include "app/private_profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace qf {
namespace {

class PrivateProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("qf-profile-" + std::to_string(getpid()) + ".ini"))
                .string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  void Write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
  std::string Content() {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::string path_;
};

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(ReadProfileString(path_, "setting", "Token"), "");
  Write("[other]\r\nToken=x\r\n");
  EXPECT_EQ(ReadProfileString(path_, "setting", "Token"), "");
  EXPECT_EQ(ReadProfileString(path_, "other", "Nope"), "");
}

TEST_F(PrivateProfileTest, NamesIgnoreCaseAndBlanks) {
  Write("; comment\r\n[ Setting ]\r\n  token =  abc  \r\nq=\"quoted\"\r\n[next]\r\ntoken=no\r\n");
  EXPECT_EQ(ReadProfileString(path_, "SETTING", "Token"), "abc");
  EXPECT_EQ(ReadProfileString(path_, "setting", "q"), "quoted");
  EXPECT_EQ(ReadProfileString(path_, "next", "TOKEN"), "no");
}

TEST_F(PrivateProfileTest, WritingCreatesFileAndSection) {
  ASSERT_TRUE(WriteProfileString(path_, "setting", "Token", "t1"));
  EXPECT_EQ(Content(), "[setting]\r\nToken=t1\r\n");
  ASSERT_TRUE(WriteProfileString(path_, "setting", "Other", "o"));
  EXPECT_EQ(Content(), "[setting]\r\nToken=t1\r\nOther=o\r\n");
}

TEST_F(PrivateProfileTest, WritingKeepsEveryOtherLine) {
  Write("# head\n[setting]\nToken=old\n\n[services]\nvideo_search=http://v\n");
  ASSERT_TRUE(WriteProfileString(path_, "setting", "token", "new"));
  ASSERT_TRUE(WriteProfileString(path_, "setting", "Extra", "e"));
  ASSERT_TRUE(WriteProfileString(path_, "more", "k", "v"));
  EXPECT_EQ(Content(),
            "# head\n[setting]\ntoken=new\nExtra=e\r\n\n[services]\nvideo_search=http://v\n"
            "[more]\r\nk=v\r\n");
}

TEST_F(PrivateProfileTest, LongValuesAreCutAndLineBreaksEndAValue) {
  ASSERT_TRUE(WriteProfileString(path_, "s", "long", std::string(20000, 'x')));
  EXPECT_EQ(ReadProfileString(path_, "s", "long").size(), kProfileValueLimit);
  ASSERT_TRUE(WriteProfileString(path_, "s", "lines", "one\r\ntwo"));
  EXPECT_EQ(ReadProfileString(path_, "s", "lines"), "one");
}

TEST_F(PrivateProfileTest, UnwritablePathFails) {
  EXPECT_FALSE(WriteProfileString("/nonexistent-dir/x.ini", "s", "k", "v"));
}

}  // namespace
}  // namespace qf
