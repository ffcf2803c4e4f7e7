#include "text/unix_timestamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace qf {
namespace {

using std::chrono::milliseconds;
using std::chrono::system_clock;

TEST(UnixTimestampTest, DigitForms) {
  const system_clock::time_point when{milliseconds(1700000000007)};
  EXPECT_EQ(UnixTimestampAt(when), "1700000000007");  // milliseconds keep their leading zeros
  EXPECT_EQ(UnixTimestampAt(when, true), "1700000000");
  const system_clock::time_point early{milliseconds(5)};
  EXPECT_EQ(UnixTimestampAt(early), "0005000000000");  // padded to 13 on the right
  EXPECT_EQ(UnixTimestampAt(early, true), "0005000000");
}

TEST(UnixTimestampTest, IsTrueUnixTimeWhateverTheZone) {
  const char* saved = std::getenv("TZ");
  const std::string savedValue = saved ? saved : "";
  for (const char* zone : {"UTC0", "CST-8", "EST5EDT"}) {
    setenv("TZ", zone, 1);
    tzset();
    const long long before = static_cast<long long>(std::time(nullptr));
    const long long stamp = std::atoll(UnixTimestamp(true).c_str());
    const long long after = static_cast<long long>(std::time(nullptr));
    EXPECT_GE(stamp, before) << zone;
    EXPECT_LE(stamp, after) << zone;
    EXPECT_EQ(UnixTimestamp().size(), 13u) << zone;
  }
  if (saved) {
    setenv("TZ", savedValue.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace
}  // namespace qf
