#include "script/js_number.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qf {

std::string JsNumberToString(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  if (value == 0) return "0";

  // Shortest round-trip digits, as "d.ddde+XX"; then laid out by the script's rules.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific);
  const std::string scientific(buffer, result.ptr);
  const size_t ePos = scientific.find('e');
  std::string digits = scientific.substr(0, ePos);
  if (digits.size() > 1) digits.erase(1, 1);  // drop the decimal point
  const int exponent = std::atoi(scientific.c_str() + ePos + 1);
  const int k = static_cast<int>(digits.size());
  const int n = exponent + 1;  // position of the decimal point relative to the digits

  std::string out = value < 0 ? "-" : "";
  if (k <= n && n <= 21) {
    out += digits + std::string(static_cast<size_t>(n - k), '0');
  } else if (0 < n && n <= 21) {
    out += digits.substr(0, static_cast<size_t>(n)) + "." + digits.substr(static_cast<size_t>(n));
  } else if (-6 < n && n <= 0) {
    out += "0." + std::string(static_cast<size_t>(-n), '0') + digits;
  } else {
    out += digits.substr(0, 1);
    if (k > 1) out += "." + digits.substr(1);
    out += (n - 1 >= 0 ? "e+" : "e-") + std::to_string(std::abs(n - 1));
  }
  return out;
}

std::string ThirteenDigits(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return buffer;
}

}  // namespace qf
