// The Unix-time stamps that several outgoing requests carry.
#pragma once

#include <chrono>

#include "text/text.h"

namespace qf {

// The true Unix time, whatever the machine's time zone: seconds followed by the three digits of
// the milliseconds ("1700000000007"), or with `tenDigits` the first ten digits of that.
Text UnixTimestamp(bool tenDigits = false);

// The same for a given instant; for tests.
Text UnixTimestampAt(std::chrono::system_clock::time_point when, bool tenDigits = false);

}  // namespace qf
