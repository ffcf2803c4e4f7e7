#include "coupon/share_code.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace qf {
namespace {

using testing::Gbk;

TEST(ShareCodeTest, DetectionAndExtraction) {
  struct Case {
    const char* name;
    Text text;
    Text code;  // "" when there is none
  } cases[] = {
      {"yen", Gbk("复制￥AbCdEfGhIjK￥打开"), "AbCdEfGhIjK"},
      {"bare", "AbCdEfGhIjK", ""},
      {"ideographs", Gbk("复制AbCdEfGhIjK打开"), ""},
      {"thirteen letters", Gbk("复制AbCdEfGhIjKLM打开"), "AbCdEfGhIjKLM"},
      {"parentheses", "(AbCdEfGhIjK)", "AbCdEfGhIjK"},
      {"dollars", "$AbCdEfGhIjK$", "AbCdEfGhIjK"},
      {"euro",
       "\x80"
       "AbCdEfGhIjK\x80",
       "AbCdEfGhIjK"},
      {"question marks", "?AbCdEfGhIjK?", "AbCdEfGhIjK"},
      {"spaces stay", " AbCdEfGhIjK ", " AbCdEfGhIjK "},
      {"first of two", "(AAAAAAAAAAA) (BBBBBBBBBBB)", "AAAAAAAAAAA"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ContainsShareCode(c.text), !c.code.empty()) << c.name;
    EXPECT_EQ(ExtractShareCode(c.text), c.code) << c.name;
  }
}

}  // namespace
}  // namespace qf
