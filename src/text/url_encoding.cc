#include "text/url_encoding.h"

#include "text/code_page.h"

namespace qf {
namespace {

bool IsKeptByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -2;
}

}  // namespace

Text UrlEncode(std::string_view text, const UrlEncodeOptions& options) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  if (text.empty()) return Text();
  const Text utf8 = options.utf8 ? ToUtf8(text) : Text();
  const std::string_view bytes = options.utf8 ? std::string_view(utf8) : text;
  Text out;
  out.reserve(bytes.size() * 3);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (options.keepLettersDigits && IsKeptByte(c)) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0x0F]);
    }
  }
  return out;
}

Text UrlDecode(std::string_view text, bool utf8) {
  Text out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    const int high = i + 1 < text.size() ? HexDigitValue(text[i + 1]) : 0;
    const int low = i + 2 < text.size() ? HexDigitValue(text[i + 2]) : 0;
    const auto byte = static_cast<unsigned char>((16 * high + low) & 0xFF);
    if (byte != 0) out.push_back(static_cast<char>(byte));
    i += 2;
  }
  return utf8 ? FromUtf8(out) : out;
}

}  // namespace qf
