#include "net/header_cookie_rules.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(NormaliseHeaderBlock, RecasesNamesAndDropsLinesWithoutColon) {
  const struct {
    const char* block;
    const char* expected;
  } cases[] = {
      {"\r\naccept: */*\r\nno colon here", "Accept: */*"},
      {"content-type: text/plain", "Content-Type: text/plain"},
      {"x-requested-with:1", "X-Requested-With:1"},
      {"ACCEPT: a", "ACCEPT: a"},
      {"x-: 1", "X-: 1"},
      {"a--b: 1\r\n\r\nreferer: http://h/x?y=1:2\r\n", "A--B: 1\r\nReferer: http://h/x?y=1:2"},
      {"", ""},
      {"\r\n\r\n", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseHeaderBlock(c.block), c.expected) << c.block;
}

TEST(HeaderNameAndValue, SplitAtTheFirstColonAndTrimFullWidthSpaces) {
  EXPECT_EQ(HeaderName(" Referer : http://h:81/x "), "Referer");
  EXPECT_EQ(HeaderValue(" Referer : http://h:81/x "), "http://h:81/x");
  EXPECT_EQ(HeaderValue(Gbk("A:\xE3\x80\x80v\xE3\x80\x80")), "v");  // U+3000 on both sides
  EXPECT_EQ(HeaderName("no colon"), "");
  EXPECT_EQ(HeaderValue("no colon"), "");
  // A trailing A1 A1 that is the second half of another character is not a space.
  const Text tricky = std::string("v\xB0\xA1\xA1\xA1");  // 啊 then a full-width space
  EXPECT_EQ(TrimSpaces(tricky), "v\xB0\xA1");
}

TEST(CollectResponseCookies, TakesTheFirstPairOfExactSetCookieLines) {
  EXPECT_EQ(CollectResponseCookies("HTTP/1.1 200 OK\r\nServer: x\r\n"), "");
  EXPECT_EQ(CollectResponseCookies("Set-Cookie: a=1"), "a=1");
  EXPECT_EQ(CollectResponseCookies("Set-Cookie: a=1; path=/\r\nset-cookie: z=9\r\n"
                                   "Set-Cookie: b=2; HttpOnly\r\n\r\n"),
            "a=1; b=2");
}

TEST(MergeCookies, NewItemsFirstRemovalsWinSpacesGo) {
  const struct {
    const char* sent;
    const char* received;
    const char* merged;
  } cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1"},
      {"a=1", "a=deleted", ""},
      {"", "", ""},
      {"a=1; b=2; a=3", "", "a=1; b=2"},
      {"a=x y", "", "a=xy"},
      {"a=1;;b=2", "", "a=1; ; b=2"},
      {"a=0; c=3", "a=1; b=2", "a=1; b=2; c=3"},
      {"c=deleted", "d=4", "d=4"},
  };
  for (const auto& c : cases) {
    Text sent = c.sent;
    Text received = c.received;
    EXPECT_EQ(MergeCookies(sent, received), c.merged) << c.sent << " + " << c.received;
    EXPECT_EQ(sent, c.merged);
  }
}

TEST(MergeCookies, OneVariableForBothKeepsItsOwnItemsLessRemovals) {
  Text jar = "a=1; a=2; b=deleted; c=3";
  EXPECT_EQ(MergeCookies(jar, jar), "a=1; a=2; c=3");
  EXPECT_EQ(jar, "a=1; a=2; c=3");
}

TEST(CookieItems, NamesIndexesAndRepeats) {
  EXPECT_EQ(CookieName(" sid = 1"), "sid");
  EXPECT_EQ(CookieName(" flag "), "flag");
  EXPECT_TRUE(HasCookieName({"a=1", "b=2"}, "b"));
  EXPECT_FALSE(HasCookieName({"a=1"}, "A"));
  EXPECT_EQ(FindItem({"x", "y", "y"}, "y"), 2);
  EXPECT_EQ(FindItem({"x"}, "z"), -1);
  EXPECT_EQ(RemoveDuplicateItems("a; b; a; c; b", "; "), "a; b; c");
  EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
}

TEST(SplitText, EmptyPiecesExceptAtTheEnd) {
  EXPECT_EQ(SplitText("", ";"), std::vector<Text>{});
  EXPECT_EQ(SplitText(";a;;b;", ";"), (std::vector<Text>{"", "a", "", "b"}));
}

}  // namespace
}  // namespace qf
