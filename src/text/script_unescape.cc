#include "text/script_unescape.h"

#include <optional>
#include <string>

#include "text/code_page.h"
#include "text/text_search.h"

namespace qf {
namespace {

constexpr std::string_view kLineBreakMarker = "{$}";
constexpr std::string_view kRightSingleQuote = "\xA1\xAF";  // "’" in code page 936

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Value of `count` hex digits at `at`, or -1 when they are not all there.
int HexRun(std::u16string_view s, size_t at, size_t count) {
  if (at + count > s.size()) return -1;
  int value = 0;
  for (size_t i = 0; i < count; ++i) {
    const int digit = HexValue(s[at + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

bool IsOctal(char16_t c) { return c >= u'0' && c <= u'7'; }

bool IsLineTerminator(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

// The content of a single-quoted script string literal with its escapes resolved; nothing when
// the literal would not compile.
std::optional<std::u16string> ResolveLiteral(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (IsLineTerminator(c)) return std::nullopt;
    if (c != u'\\') {
      out.push_back(c);
      continue;
    }
    if (++i == s.size()) return std::nullopt;  // the backslash would escape the closing quote
    const char16_t e = s[i];
    switch (e) {
      case u'b':
        out.push_back(8);
        break;
      case u't':
        out.push_back(9);
        break;
      case u'n':
        out.push_back(10);
        break;
      case u'v':
        out.push_back(11);
        break;
      case u'f':
        out.push_back(12);
        break;
      case u'r':
        out.push_back(13);
        break;
      case u'x': {
        const int value = HexRun(s, i + 1, 2);
        if (value < 0) {
          out.push_back(e);
        } else {
          out.push_back(static_cast<char16_t>(value));
          i += 2;
        }
        break;
      }
      default:
        if (IsLineTerminator(e)) return std::nullopt;
        if (IsOctal(e)) {
          // Legacy octal escapes: \0..\377, at most three digits and never above 255.
          int value = e - u'0';
          const size_t maxDigits = e <= u'3' ? 3 : 2;
          size_t digits = 1;
          while (digits < maxDigits && i + 1 < s.size() && IsOctal(s[i + 1])) {
            value = value * 8 + (s[++i] - u'0');
            ++digits;
          }
          out.push_back(static_cast<char16_t>(value));
        } else {
          out.push_back(e);
        }
    }
  }
  return out;
}

// The script's unescape(): "%uXXXX" and "%XX" become characters; any other "%" stays.
std::u16string Unescape(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'%') {
      if (i + 1 < s.size() && s[i + 1] == u'u') {
        const int value = HexRun(s, i + 2, 4);
        if (value >= 0) {
          out.push_back(static_cast<char16_t>(value));
          i += 5;
          continue;
        }
      }
      const int value = HexRun(s, i + 1, 2);
      if (value >= 0) {
        out.push_back(static_cast<char16_t>(value));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

}  // namespace

Text ScriptUnescape(std::string_view text) {
  Text prepared = ReplaceText(text, "\r\n", kLineBreakMarker);
  if (!prepared.empty() && prepared.front() == '\r') prepared.erase(0, 1);
  prepared = ReplaceText(prepared, "\\u", "%u");
  prepared = ReplaceText(prepared, "'", kRightSingleQuote);

  Text taken;
  if (const auto literal = ResolveLiteral(DecodeCodePage(prepared, CodePage::kGbk))) {
    taken = EncodeCodePage(Unescape(*literal), CodePage::kGbk);
  }
  if (taken.empty()) taken = BytesAsUtf16Text(prepared);

  taken = ReplaceText(taken, kRightSingleQuote, "'");
  return ReplaceText(taken, kLineBreakMarker, "\r\n");
}

Text BytesAsUtf16Text(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') bytes.remove_prefix(2);
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return EncodeCodePage(units, CodePage::kGbk);
}

}  // namespace qf
