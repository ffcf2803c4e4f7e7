#include "script/js_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace qf {
namespace {

TEST(JsNumberTest, ScriptForms) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {12345, "12345"},
      {0.5, "0.5"},
      {-0.0, "0"},
      {0.1 + 0.2, "0.30000000000000004"},
      {1e21, "1e+21"},
      {1e20, "100000000000000000000"},
      {123e-20, "1.23e-18"},
      {0.000001, "0.000001"},
      {0.0000001, "1e-7"},
      {-1.5, "-1.5"},
      {1.5e300, "1.5e+300"},
      {std::numeric_limits<double>::infinity(), "Infinity"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
  };
  for (const Case& c : cases) EXPECT_EQ(JsNumberToString(c.value), c.text) << c.text;
}

TEST(JsNumberTest, ThirteenDigits) {
  EXPECT_EQ(ThirteenDigits(12345), "12345");
  EXPECT_EQ(ThirteenDigits(0.5), "0.5");
  EXPECT_EQ(ThirteenDigits(0.1 + 0.2), "0.3");
  EXPECT_EQ(ThirteenDigits(1234567890123456.0), "1.234567890123e+15");
}

}  // namespace
}  // namespace qf
