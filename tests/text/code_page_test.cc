#include "text/code_page.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

struct ConversionCase {
  const char* name;
  std::string_view utf8;
  std::string_view gbk;
};

// Both directions hold for each of these.
TEST(CodePageTest, RoundTripTable) {
  const ConversionCase cases[] = {
      {"ascii", "hello", "hello"},
      {"chinese", "\xE4\xBA\xBA\xE6\xB0\x91", "\xC8\xCB\xC3\xF1"},  // 人民
      {"private use U+E231", "\xEE\x88\xB1", "\xAF\xFC"},
      {"private use U+E000", "\xEE\x80\x80", "\xAA\xA1"},
      {"euro sign", "\xE2\x82\xAC", "\x80"},
      {"fullwidth yen", "\xEF\xBF\xA5", "\xA3\xA4"},  // ￥
      {"empty", "", ""},
  };
  for (const ConversionCase& c : cases) {
    EXPECT_EQ(FromUtf8(c.utf8), c.gbk) << c.name;
    EXPECT_EQ(ToUtf8(c.gbk), c.utf8) << c.name;
  }
}

TEST(CodePageTest, UnmappableCharactersBecomeOneQuestionMarkEach) {
  // U+FEFF, U+200B and U+FE0F are default-ignorable: they must not vanish.
  EXPECT_EQ(FromUtf8("a\xEF\xBB\xBF"
                     "b\xE2\x80\x8B"
                     "c\xEF\xB8\x8F"),
            "a?b?c?");
  // An emoji outside the BMP is one character, so one "?".
  EXPECT_EQ(FromUtf8("x\xF0\x9F\x98\x80y"), "x?y");
}

TEST(CodePageTest, InvalidUtf8BecomesQuestionMark) {
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            "a?b");
  EXPECT_EQ(FromUtf8("a\xE4\xBA"), "a?");  // truncated sequence
}

TEST(CodePageTest, ResultsEndAtFirstZero) {
  EXPECT_EQ(Utf8BytesToText(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(ToUtf8(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(EncodeCodePage(std::u16string(u"x\0y", 3), CodePage::kUtf8), "x");
}

TEST(CodePageTest, EveryDoubleByteCharacterSurvivesTheRoundTrip) {
  // All lead/trail pairs the table maps to a character other than U+FFFD must come back.
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string wide = DecodeCodePage(gbk, CodePage::kGbk);
      if (wide.size() != 1 || wide[0] == 0xFFFD) continue;
      ASSERT_EQ(FromUtf8(ToUtf8(gbk)), gbk) << std::hex << lead << " " << trail;
      ++checked;
    }
  }
  EXPECT_GT(checked, 21000);  // GBK holds 21,886 characters besides the user-defined area
}

TEST(CodePageTest, LoneSurrogates) {
  const std::u16string lone = {u'a', char16_t(0xD800), u'b'};
  EXPECT_EQ(EncodeCodePage(lone, CodePage::kGbk), "a?b");
  EXPECT_EQ(EncodeCodePage(lone, CodePage::kUtf8),
            "a\xEF\xBF\xBD"
            "b");
}

}  // namespace
}  // namespace qf
