#include "text/char_refs.h"

#include <string>

#include "text/code_page.h"
#include "text/text_search.h"

namespace qf {
namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

bool IsBlank(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
    } else if (text.substr(i, 2) == kFullWidthSpace) {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

// The integer at the start of `piece` as the C library's atoi reads it, kept to 16 bits.
char16_t UnitOf(std::string_view piece) {
  size_t i = 0;
  while (i < piece.size() && (piece[i] == ' ' || piece[i] == '\t' || piece[i] == '\n' ||
                              piece[i] == '\r' || piece[i] == '\v' || piece[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) negative = piece[i++] == '-';
  uint32_t value = 0;
  for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
    value = value * 10 + static_cast<uint32_t>(piece[i] - '0');  // wraps; only 16 bits count
  }
  if (negative) value = 0u - value;
  return static_cast<char16_t>(value & 0xFFFF);
}

}  // namespace

Text EncodeCharRefs(std::string_view text) {
  if (IsBlank(text)) return Text();
  Text out;
  for (const char16_t unit : DecodeCodePage(text, CodePage::kGbk)) {
    out += "&#";
    out += std::to_string(static_cast<unsigned>(unit));
  }
  return out;
}

Text DecodeCharRefs(std::string_view text) {
  std::u16string units;
  int at = FindText(text, "&#");
  while (at != kNotFound) {
    const int pieceStart = at + 2;
    const int next = FindText(text, "&#", pieceStart);
    const size_t end = next == kNotFound ? text.size() : static_cast<size_t>(next - 1);
    const size_t begin = static_cast<size_t>(pieceStart - 1);
    if (begin < end || next != kNotFound) units.push_back(UnitOf(text.substr(begin, end - begin)));
    at = next;
  }
  return EncodeCodePage(units, CodePage::kGbk);
}

}  // namespace qf
