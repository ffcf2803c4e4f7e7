// Bytes written as lower-case hexadecimal digits, two per byte, as digests are shown.
#pragma once

#include <cstddef>

#include "text/text.h"

namespace qf {

inline Text LowerHex(const unsigned char* bytes, size_t count) {
  static constexpr char kHex[] = "0123456789abcdef";
  Text hex;
  hex.reserve(2 * count);
  for (size_t i = 0; i < count; ++i) {
    hex.push_back(kHex[bytes[i] >> 4]);
    hex.push_back(kHex[bytes[i] & 0x0F]);
  }
  return hex;
}

}  // namespace qf
