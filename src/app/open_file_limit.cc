#include "app/open_file_limit.h"

#include <sys/resource.h>

namespace qf {

void RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
  // An unlimited hard limit is not accepted as a soft limit for descriptors; the kernel's own
  // ceiling (nr_open) is 1 << 20 by default.
  constexpr rlim_t kCeiling = rlim_t{1} << 20;
  const rlim_t wanted =
      limit.rlim_max == RLIM_INFINITY || limit.rlim_max > kCeiling ? kCeiling : limit.rlim_max;
  if (limit.rlim_cur >= wanted) return;
  limit.rlim_cur = wanted;
  setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace qf
