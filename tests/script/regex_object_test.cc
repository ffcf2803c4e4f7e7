#include "script/regex_object.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(RegexObjectTest, NoMatchIsStillSuccess) {
  RegexObject re;
  EXPECT_EQ(re.MatchCount(), 0);  // before any Match
  EXPECT_TRUE(re.Match("x", "abc"));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.MatchText(1), "");
  EXPECT_EQ(re.GroupCount(), 0);
}

TEST(RegexObjectTest, InvalidPatternFails) {
  RegexObject re;
  ASSERT_TRUE(re.Match("a", "a"));
  EXPECT_FALSE(re.Match("(a", "a"));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.GetPattern(), "(a");
}

struct OptionCase {
  const char* name;
  const char* pattern;
  Text subject;
  MatchOptions options;
  int count;
};

TEST(RegexObjectTest, DialectTable) {
  const OptionCase cases[] = {
      {"case ignored by default", "abc", "ABC", {}, 1},
      {"case sensitive on request", "abc", "ABC", {.caseSensitive = true}, 0},
      {"caret at line starts", "^b", "a\nb", {}, 1},
      {"caret only at start when not multi-line", "^b", "a\nb", {.multiLine = false}, 0},
      {"dollar before line feed", "a$", "a\nb", {}, 1},
      {"dollar at the very end only", "a$", "a\n", {.multiLine = false}, 0},
      {"dot does not cross a line feed", "a.b", "a\nb", {}, 0},
      {"dot crosses a carriage return", "a.b", "a\rb", {}, 1},
      {"global finds all", "a", "aaa", {}, 3},
      {"non-global finds one", "a", "aaa", {.global = false}, 1},
      {"empty matches step on", "x*", "ab", {}, 3},
      {"word class is ASCII", "\\w", Gbk("人a"), {}, 1},
      {"digit class is ASCII", "\\d", Gbk("１2"), {}, 1},
      {"unicode escape", "\\u4eba", Gbk("人"), {}, 1},
      {"unicode escape in a class", "[\\u4e00-\\u9fa5]+", Gbk("a人民b"), {}, 1},
      {"unset back-reference matches empty", "(a)?b\\1", "b", {}, 1},
      {"quote placeholder", "=#\xD2\xFD\xBA\xC5x", "=\"x", {.quoteEscapes = true}, 1},
      {"placeholder literal without the flag", "=#\xD2\xFD\xBA\xC5", "=\"", {}, 0},
  };
  for (const OptionCase& c : cases) {
    RegexObject re;
    EXPECT_TRUE(re.Match(c.pattern, c.subject, c.options)) << c.name;
    EXPECT_EQ(re.MatchCount(), c.count) << c.name;
  }
}

TEST(RegexObjectTest, GroupsAndLazyQuantifiers) {
  RegexObject re;
  ASSERT_TRUE(re.Match("<(.*?)>(.*?)</", Gbk("<b>人</b><i>x</i>")));
  EXPECT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.GroupCount(), 2);
  EXPECT_EQ(re.MatchText(1), Gbk("<b>人</"));
  EXPECT_EQ(re.GroupText(1, 2), Gbk("人"));
  EXPECT_EQ(re.GroupText(2, 1), "i");
  EXPECT_EQ(re.GroupText(1, 3), "");  // no third group
  EXPECT_EQ(re.GroupText(3, 1), "");  // no third match
  EXPECT_EQ(re.GroupText(1, 0), "");
}

TEST(RegexObjectTest, PositionsAreByteOffsets) {
  RegexObject re;
  ASSERT_TRUE(re.Match("c(d)", "abcd"));
  int position = 0;
  EXPECT_EQ(re.MatchText(1, &position), "cd");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(re.GroupText(1, 1, &position), "d");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(re.MatchText(5, &position), "");
  EXPECT_EQ(position, -2);
}

TEST(RegexObjectTest, SecondMatchReplacesFirstAndCopiesShare) {
  RegexObject re;
  ASSERT_TRUE(re.Match("a", "aa"));
  RegexObject copy = re;
  ASSERT_TRUE(re.Match("b", "b"));
  EXPECT_EQ(re.MatchCount(), 1);
  EXPECT_EQ(copy.MatchCount(), 2);
  EXPECT_EQ(copy.GetPattern(), "a");
}

TEST(RegexObjectTest, ReplaceMatches) {
  RegexObject re;
  ASSERT_TRUE(re.Match("(\\w+)@(\\w+)", "x a@b y c@d"));
  EXPECT_EQ(re.ReplaceMatches("$2#$1"), "x b#a y d#c");
  EXPECT_EQ(re.ReplaceMatches("[$&|$$|$3]"), "x [a@b|$|$3] y [c@d|$|$3]");
  EXPECT_EQ(RegexObject().ReplaceMatches("z"), "");
}

TEST(RegexObjectTest, CatastrophicBacktrackingFailsInsteadOfHanging) {
  RegexObject re;
  const std::string subject(40, 'a');
  EXPECT_FALSE(re.Match("^(\\w+\\w?)+$", subject + "!", {.multiLine = false}));
  EXPECT_EQ(re.MatchCount(), 0);
}

}  // namespace
}  // namespace qf
