#include "text/char_refs.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(CharRefsTest, Encode) {
  EXPECT_EQ(EncodeCharRefs(Gbk("搜")), "&#25628");
  EXPECT_EQ(EncodeCharRefs(Gbk("搜索")), "&#25628&#32034");
  EXPECT_EQ(EncodeCharRefs("ab "), "&#97&#98&#32");  // the whole text, not the trimmed one
  EXPECT_EQ(EncodeCharRefs("   "), "");
  EXPECT_EQ(EncodeCharRefs(Gbk(" 　 ")), "");  // full-width spaces count as blank too
}

TEST(CharRefsTest, Decode) {
  struct Case {
    const char* in;
    Text out;
  } cases[] = {
      {"&#25628&#32034", Gbk("搜索")},
      {"x&#97", "a"},    // the first piece is dropped whatever it holds
      {"&#97&#", "a"},   // an empty last piece is dropped
      {"&#65601", "A"},  // only the low 16 bits count
      {"no refs", ""},
      {"&# 98&#+99", "bc"},  // blanks and a sign before the digits
      {"&#97&#0&#98", "a"},  // a zero unit ends the text
      {"&#97&#&#98", "a"},   // an empty middle piece reads as 0
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeCharRefs(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace qf
