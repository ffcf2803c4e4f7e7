// Percent-encoding as the stand-ins expect and read it, written independently of the code under
// test so that a test can state the bytes a service must receive.
#pragma once

#include <string>
#include <string_view>

namespace qf::testing {

// Every byte as "%hh", upper-case hex.
inline std::string PercentEveryByte(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

// "%hh" back to its byte; everything else as it is.
inline std::string PercentDecode(std::string_view encoded) {
  std::string out;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%' && i + 2 < encoded.size()) {
      out += static_cast<char>(std::stoi(std::string(encoded.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += encoded[i];
    }
  }
  return out;
}

}  // namespace qf::testing
