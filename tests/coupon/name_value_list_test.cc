#include "coupon/name_value_list.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

TEST(NameValueList, FillsFromQueriesAndRendersThreeWays) {
  NameValueList list;
  list.AddFromQuery("a=1&b=2=3&&c&");
  std::vector<Text> names;
  std::vector<Text> values;
  EXPECT_EQ(list.Names(names), (std::vector<Text>{"a", "b", "", ""}));
  EXPECT_EQ(list.Values(values), (std::vector<Text>{"1", "3", "", ""}));
  list.Clear();
  EXPECT_EQ(list.ToQuery(), "");
  EXPECT_EQ(list.ToJson(), "{}");

  list.Add("a", "1");
  list.Add("b", "x y");
  EXPECT_EQ(list.ToQuery(), "a=1&b=x y");
  EXPECT_EQ(list.ToQuery(true), "a=1&b=x%20y");
  EXPECT_EQ(list.ToHeaderLines(), "a: 1\r\nb: x y");
  list.Add("q", "say \"hi\" \\ ok");
  EXPECT_EQ(list.ToJson(), R"({"a":"1","b":"x y","q":"say \"hi\" \ ok"})");
}

TEST(NameValueList, LookupsTakeTheFirstExactName) {
  NameValueList list;
  list.Add("User-Agent", "X");
  EXPECT_EQ(list.ToHeaderLines(), "User-Agent: X");
  list.Add("k", "1");
  list.Add("k", "2");
  EXPECT_EQ(list.Get("K"), "");
  EXPECT_EQ(list.Get("k"), "1");
  list.Set("k", "9");
  list.Set("new", "n");
  EXPECT_EQ(list.ToQuery(), "User-Agent=X&k=9&k=2&new=n");
  list.Remove("k");
  list.Remove("absent");
  EXPECT_EQ(list.ToQuery(), "User-Agent=X&k=2&new=n");
  list.Add("u", "\xD6\xD0", true);  // 中 in code page 936, stored as UTF-8
  EXPECT_EQ(list.Get("u"), "\xE4\xB8\xAD");
}

TEST(NameValueList, TrimAffixTakesOneFromEachEnd) {
  EXPECT_EQ(NameValueList::TrimAffix(",a,b,,", ","), "a,b,");
  EXPECT_EQ(NameValueList::TrimAffix("ab", "ab"), "");
  EXPECT_EQ(NameValueList::EscapeQuotes("a\"b"), "a\\\"b");
}

}  // namespace
}  // namespace qf
