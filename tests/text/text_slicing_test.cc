#include "text/text_slicing.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(TextBetweenTest, MarkersAndFailures) {
  EXPECT_EQ(TextBetween("a=1&b=2 HTTP", "b=", " HTTP"), "2");
  EXPECT_EQ(TextBetween("a=1&b=2 HTTP", "x=", "&"), "");  // no start marker
  EXPECT_EQ(TextBetween("a=1&b=2 HTTP", "a=", "#"), "");  // no end marker after it
  EXPECT_EQ(TextBetween("<a></a>", "<a>", "</a>"), "");   // end marker follows at once
  EXPECT_EQ(TextBetween("x1y x2y", "x", "y", 3), "2");    // from a start position
  EXPECT_EQ(TextBetween("ab", "", "b"), "a");             // empty start marker: found at 1
}

TEST(TextBetweenTest, QuotePlaceholderStandsForDoubleQuote) {
  const Text page = R"(<a href="http://h/x" target="_blank">)";
  EXPECT_EQ(TextBetween(page, Gbk("href=#引号"), Gbk("#引号")), "http://h/x");
}

TEST(TextBetweenTest, IgnoreCaseAppliesToBothMarkers) {
  const Text xml = "<content><![cdata[hi]]></content>";
  EXPECT_EQ(TextBetween(xml, "<Content><![CDATA[", "]]></Content>", 0, true), "hi");
  EXPECT_EQ(TextBetween(xml, "<Content><![CDATA[", "]]></Content>"), "");
}

TEST(TextBeforeTest, CutAlwaysStartsAtFirstByte) {
  EXPECT_EQ(TextBefore("key: value", ": "), "key");
  EXPECT_EQ(TextBefore("key: value: x", ": ", 6), "key: value");
  EXPECT_EQ(TextBefore("key: value", ": ", 6), "");
  EXPECT_EQ(TextBefore("key", ": "), "");
}

TEST(TextAfterLastTest, Cases) {
  EXPECT_EQ(TextAfterLast("a/b/c", "/"), "c");
  EXPECT_EQ(TextAfterLast("a/b/", "/"), "");
  EXPECT_EQ(TextAfterLast("abc", "/"), "");
  EXPECT_EQ(TextAfterLast("x?ref=1&ref=22", "ref="), "22");
  EXPECT_EQ(TextAfterLast("a/b/c", "/", 4), "b/c");
}

TEST(CountOccurrencesTest, NonOverlappingAndCaseIgnoredByDefault) {
  EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2);
  EXPECT_EQ(CountOccurrences("", "aa"), 0);
  EXPECT_EQ(CountOccurrences("aa", ""), 0);
  EXPECT_EQ(CountOccurrences("S.Click s.click", "s.click"), 2);
  EXPECT_EQ(CountOccurrences("S.Click s.click", "s.click", true), 1);
}

TEST(ReplaceManyTest, PairsApplyInTurn) {
  EXPECT_EQ(ReplaceMany(Gbk("?AB￥"), {{"?", ""}, {Gbk("￥"), ""}}), "AB");
  // A later pair sees what an earlier one wrote.
  EXPECT_EQ(ReplaceMany("a", {{"a", "b"}, {"b", "c"}}), "c");
  // Case is ignored unless asked; the count limits each pair separately.
  EXPECT_EQ(ReplaceMany("<B>x</b><b>", {{"<b>", ""}}), "x</b>");
  EXPECT_EQ(ReplaceMany("<B>x<b>", {{"<b>", ""}}, {.caseSensitive = true}), "<B>x");
  EXPECT_EQ(ReplaceMany("aXbX aYbY", {{"X", "-"}, {"Y", "+"}}, {.count = 1}), "a-bX a+bY");
  EXPECT_EQ(ReplaceMany("XX", {{"X", ""}}, {.start = 2}), "X");
}

TEST(RemoveBlanksTest, TrimsSpacesOnlyAndChangesArgument) {
  Text text = "  a b \t ";
  EXPECT_EQ(RemoveBlanks(text), "a b \t");
  EXPECT_EQ(text, "a b \t");
  Text blank = "   ";
  EXPECT_EQ(RemoveBlanks(blank), "");
}

}  // namespace
}  // namespace qf
