// Re-encodes bytes from one named charset to another. The text passes through code page 936 on
// the way, so characters that code page 936 lacks become "?" whatever the two charsets are.
#pragma once

#include <optional>
#include <string_view>

#include "text/text.h"

namespace qf {

// An empty `fromCharset` becomes "UTF-8" and an empty `toCharset` "GBK", written back. With
// `readFrom`, the first that many bytes of the result are left out. An unknown charset gives
// empty bytes.
Bytes ConvertCharset(std::string_view data, Text& fromCharset, Text& toCharset,
                     std::optional<int> readFrom = std::nullopt);

}  // namespace qf
