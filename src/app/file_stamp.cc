#include "app/file_stamp.h"

#include <sys/stat.h>

#include <chrono>

namespace qf {
namespace {

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

std::optional<FileStamp> FileStamp::Of(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileStamp{status.st_dev, status.st_ino, status.st_size, Nanoseconds(status.st_mtim),
                   Nanoseconds(status.st_ctim)};
}

bool FileStamp::IsSettled() const {
  using namespace std::chrono;
  const std::int64_t now =
      duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
  constexpr std::int64_t kQuiet = 1'000'000'000;
  return now - modifiedNs > kQuiet && now - changedNs > kQuiet;
}

}  // namespace qf
