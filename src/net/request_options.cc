#include "net/request_options.h"

#include <array>

namespace qf {

std::string_view MethodName(int method) {
  static constexpr std::array<std::string_view, 8> kNames = {
      "GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
  return method >= 0 && method < 8 ? kNames[static_cast<size_t>(method)] : kNames[0];
}

}  // namespace qf
