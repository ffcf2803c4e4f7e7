#include "net/header_cookie_rules.h"

#include "text/text_search.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

// Byte length of the code page 936 character starting at `at`.
size_t CharLength(std::string_view text, size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size() ? 2 : 1;
}

bool IsSpaceAt(std::string_view text, size_t at, size_t length) {
  return (length == 1 && text[at] == ' ') || (length == 2 && text.substr(at, 2) == kFullWidthSpace);
}

}  // namespace

std::vector<Text> SplitText(std::string_view text, std::string_view delimiter) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  size_t from = 0;
  while (from < text.size()) {
    const int found = FindText(text, delimiter, static_cast<int>(from) + 1);
    if (found == kNotFound) break;
    const size_t at = static_cast<size_t>(found) - 1;
    pieces.emplace_back(text.substr(from, at - from));
    from = at + delimiter.size();
  }
  if (from < text.size()) pieces.emplace_back(text.substr(from));
  return pieces;
}

Text TrimSpaces(std::string_view text) {
  // Walk whole characters so that a trailing A1 A1 is only taken when it is one character.
  size_t first = text.size();
  size_t end = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharLength(text, at);
    if (!IsSpaceAt(text, at, length)) {
      if (first == text.size()) first = at;
      end = at + length;
    }
    at += length;
  }
  return first == text.size() ? Text() : Text(text.substr(first, end - first));
}

Text RemoveAllSpaces(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharLength(text, at);
    if (!IsSpaceAt(text, at, length)) out.append(text.substr(at, length));
    at += length;
  }
  return out;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view needle) {
  return FindText(text, needle, 1, true) != kNotFound;
}

Text CapitaliseFirst(std::string_view text) {
  Text out(text);
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
  return out;
}

Text NormaliseHeaderBlock(std::string_view block) {
  Text result;
  for (const Text& line : SplitText(block, "\r\n")) {
    const int colon = FindText(line, ":");
    if (colon == kNotFound) continue;
    const std::string_view name = std::string_view(line).substr(0, static_cast<size_t>(colon) - 1);
    Text newName;
    if (FindText(name, "-") == kNotFound) {
      newName = CapitaliseFirst(name);
    } else {
      // Split by hand: a trailing "-" must survive, which SplitText would drop.
      size_t from = 0;
      for (;;) {
        const size_t dash = name.find('-', from);
        newName += CapitaliseFirst(name.substr(from, dash - from));
        if (dash == std::string_view::npos) break;
        newName += '-';
        from = dash + 1;
      }
    }
    result += newName + line.substr(newName.size());
    result += "\r\n";
  }
  if (!result.empty()) result.resize(result.size() - 2);
  return result;
}

Text HeaderName(std::string_view line) {
  const int colon = FindText(line, ":");
  return colon == kNotFound ? Text() : TrimSpaces(line.substr(0, static_cast<size_t>(colon) - 1));
}

Text HeaderValue(std::string_view line) {
  const int colon = FindText(line, ":");
  return colon == kNotFound ? Text() : TrimSpaces(line.substr(static_cast<size_t>(colon)));
}

Text CollectResponseCookies(std::string_view headerBlock) {
  Text cookies;
  for (const Text& line : SplitText(headerBlock, "\r\n")) {
    if (TextBefore(line, ": ") != "Set-Cookie") continue;
    const Text item = FindText(line, ";") == kNotFound
                          ? TrimSpaces(ReplaceText(line, "Set-Cookie:", "", 1, -1, true))
                          : TrimSpaces(TextBetween(line, "Set-Cookie:", ";"));
    cookies += item + "; ";
  }
  if (cookies.size() >= 2 && cookies.ends_with("; ")) cookies.resize(cookies.size() - 2);
  return cookies;
}

Text CookieName(std::string_view item) {
  const int equals = FindText(item, "=");
  return TrimSpaces(equals == kNotFound ? item : item.substr(0, static_cast<size_t>(equals) - 1));
}

bool HasCookieName(const std::vector<Text>& items, std::string_view name) {
  for (const Text& item : items) {
    if (CookieName(item) == name) return true;
  }
  return false;
}

int FindItem(const std::vector<Text>& items, std::string_view text) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i) + 1;
  }
  return -1;
}

Text RemoveDuplicateItems(std::string_view text, std::string_view delimiter) {
  std::vector<Text> kept;
  Text result;
  for (Text& piece : SplitText(text, delimiter)) {
    if (FindItem(kept, piece) != -1) continue;
    result += piece;
    result += delimiter;
    kept.push_back(std::move(piece));
  }
  if (result.size() >= delimiter.size()) result.resize(result.size() - delimiter.size());
  return result;
}

Text MergeCookies(Text& sent, Text& received) {
  sent = RemoveAllSpaces(sent);
  received = RemoveAllSpaces(received);
  const std::vector<Text> oldItems = SplitText(sent, ";");
  std::vector<Text> items = SplitText(received, ";");
  for (const Text& old : oldItems) {
    if (!HasCookieName(items, CookieName(old))) items.push_back(old);
  }
  Text merged;
  for (const Text& item : items) {
    if (item.size() >= 8 && item.ends_with("=deleted")) continue;
    merged += item + "; ";
  }
  if (merged.size() >= 2) merged.resize(merged.size() - 2);
  sent = RemoveDuplicateItems(merged, "; ");
  return sent;
}

}  // namespace qf
