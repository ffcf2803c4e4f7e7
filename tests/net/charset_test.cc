#include <gtest/gtest.h>

#include "net/base64.h"
#include "net/charset_conversion.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(Base64Encode, PaddingFollowsTheRemainder) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("a"), "YQ==");
  EXPECT_EQ(Base64Encode("ab"), "YWI=");
  EXPECT_EQ(Base64Encode("abc"), "YWJj");
  EXPECT_EQ(Base64Encode("user:pa:ss"), "dXNlcjpwYTpzcw==");
  EXPECT_EQ(Base64Encode(std::string("\xFF\x00\xFE", 3)), "/wD+");
}

TEST(ConvertCharset, DefaultsAreUtf8ToGbkAndWrittenBack) {
  Text from;
  Text to;
  EXPECT_EQ(ConvertCharset("优惠券 ok", from, to), Gbk("优惠券 ok"));
  EXPECT_EQ(from, "UTF-8");
  EXPECT_EQ(to, "GBK");
}

TEST(ConvertCharset, PassesThroughCodePage936AndCuts) {
  Text from = "GBK";
  Text to = "utf-8";
  // The emoji has no place in code page 936, whatever the two ends are.
  Text utf8From = "UTF-8";
  Text gbkTo;
  EXPECT_EQ(ConvertCharset("a\xF0\x9F\x98\x80"
                           "b",
                           utf8From, gbkTo),
            "a?b");
  Text sameFrom = "UTF-8";
  Text sameTo = "UTF-8";
  EXPECT_EQ(ConvertCharset("x\xF0\x9F\x98\x80", sameFrom, sameTo), "x?");
  EXPECT_EQ(ConvertCharset(Gbk("券"), from, to), "券");
  EXPECT_EQ(ConvertCharset(Gbk("ab券"), from, to, 2), "券");
  EXPECT_EQ(ConvertCharset("", from, to), "");
  Text unknown = "no-such-charset";
  EXPECT_EQ(ConvertCharset("abc", unknown, to), "");
}

}  // namespace
}  // namespace qf
