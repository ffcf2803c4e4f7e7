#include "text/url_encoding.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(UrlEncodeTest, EncodesEveryByteUnlessKept) {
  EXPECT_EQ(UrlEncode("a 1"), "%61%20%31");
  EXPECT_EQ(UrlEncode("a 1", {.keepLettersDigits = true}), "a%201");
  EXPECT_EQ(UrlEncode("-._~/", {.keepLettersDigits = true}), "-.%5F%7E%2F");
  EXPECT_EQ(UrlEncode("\n"), "%0A");
  EXPECT_EQ(UrlEncode(""), "");
}

TEST(UrlEncodeTest, Utf8OptionEncodesUtf8Bytes) {
  const Text word = Gbk("人民");
  EXPECT_EQ(UrlEncode(word), "%C8%CB%C3%F1");
  EXPECT_EQ(UrlEncode(word, {.utf8 = true}), "%E4%BA%BA%E6%B0%91");
  EXPECT_EQ(UrlEncode(word, {.keepLettersDigits = true, .utf8 = true}), "%E4%BA%BA%E6%B0%91");
}

TEST(UrlDecodeTest, Table) {
  struct Case {
    const char* name;
    std::string_view in;
    std::string_view out;
  } cases[] = {
      {"upper and lower hex", "%4a%4A", "JJ"},
      {"plus stays", "a+b", "a+b"},
      {"percent at end", "ab%", "ab"},
      {"one digit at end", "%4", "@"},  // the missing digit counts 0
      {"zero adds nothing", "a%00b", "ab"},
      {"non-hex digit counts -2", "%G1", "\xE1"},  // 16 * -2 + 1 = -31 -> 0xE1
      {"bytes kept as they are", "%C8%CB", "\xC8\xCB"},
  };
  for (const Case& c : cases) EXPECT_EQ(UrlDecode(c.in), c.out) << c.name;
}

TEST(UrlDecodeTest, Utf8Option) {
  EXPECT_EQ(UrlDecode("%E4%BA%BA", true), Gbk("人"));
  EXPECT_EQ(UrlDecode(UrlEncode(Gbk("人民 x"), {.utf8 = true}), true), Gbk("人民 x"));
}

}  // namespace
}  // namespace qf
