// What tells whether a file changed since it was last read, without reading it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qf {

struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  std::int64_t changedNs = 0;

  // Nothing when the file cannot be examined.
  static std::optional<FileStamp> Of(const std::string& path);

  // File times come from a coarse clock: two writes of the same size close together can leave the
  // same stamp. A stamp is trusted only once its file has been quiet for a second.
  bool IsSettled() const;

  bool operator==(const FileStamp&) const = default;
};

}  // namespace qf
