// The two string types every subsystem speaks.
#pragma once

#include <string>
#include <string_view>

namespace qf {

// Text in code page 936: ASCII bytes stand alone, a byte of 0x80 or more starts a two-byte
// character. Positions handed across the helpers are 1-based byte positions; -1 is "not found".
using Text = std::string;

// A raw byte buffer: HTTP bodies in and out, UTF-8 or UTF-16 data before conversion.
using Bytes = std::string;

inline constexpr int kNotFound = -1;

}  // namespace qf
