#include "script/json_path.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

TEST(JsonPathTest, AcceptedPaths) {
  EXPECT_EQ(ParseJsonPath(""), JsonPath{});
  EXPECT_EQ(ParseJsonPath("data[0].num"),
            (JsonPath{std::string("data"), size_t{0}, std::string("num")}));
  EXPECT_EQ(ParseJsonPath("[2].title"), (JsonPath{size_t{2}, std::string("title")}));
  EXPECT_EQ(ParseJsonPath("a[1][3]"), (JsonPath{std::string("a"), size_t{1}, size_t{3}}));
}

TEST(JsonPathTest, RejectedPaths) {
  for (const char* path : {"a..b", ".a", "a.", "a[x]", "a[1", "a[]", "a[0]b", "a]", "a[-1]"}) {
    EXPECT_FALSE(ParseJsonPath(path).has_value()) << path;
  }
}

}  // namespace
}  // namespace qf
