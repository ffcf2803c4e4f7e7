#include "text/unix_timestamp.h"

#include <cstdio>

namespace qf {

Text UnixTimestampAt(std::chrono::system_clock::time_point when, bool tenDigits) {
  using namespace std::chrono;
  const auto sinceEpoch = duration_cast<milliseconds>(when.time_since_epoch());
  const long long seconds = sinceEpoch.count() / 1000;
  const long long millis = sinceEpoch.count() % 1000;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%lld%03lld", seconds, millis);
  Text stamp(buffer);
  if (tenDigits) {
    stamp.resize(10, '0');
  } else if (stamp.size() < 13) {
    stamp.resize(13, '0');
  }
  return stamp;
}

Text UnixTimestamp(bool tenDigits) {
  return UnixTimestampAt(std::chrono::system_clock::now(), tenDigits);
}

}  // namespace qf
