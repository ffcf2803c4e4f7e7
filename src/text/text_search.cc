#include "text/text_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qf {
namespace {

inline bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

inline size_t CharLength(char c) { return IsLeadByte(c) ? 2 : 1; }

inline char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool EqualsFolded(const char* a, std::string_view b) {
  for (size_t i = 0; i < b.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// Advances `boundary` (a character start) by whole characters until it reaches `target` or
// passes it. Runs of ASCII are skipped eight bytes at a time.
size_t StepTo(std::string_view text, size_t boundary, size_t target) {
  const char* data = text.data();
  while (boundary < target) {
    if (boundary + 8 <= target) {
      uint64_t word;
      std::memcpy(&word, data + boundary, sizeof word);
      if ((word & 0x8080808080808080ull) == 0) {
        boundary += 8;
        continue;
      }
    }
    boundary += CharLength(data[boundary]);
  }
  return boundary;
}

// First index at or after `pos` where the needle's first byte stands in either letter case and
// the needle would still fit; npos when there is none.
size_t FindFirstByteFolded(std::string_view text, std::string_view needle, size_t pos) {
  const char lower = FoldAscii(needle[0]);
  const char upper = (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - 32) : lower;
  if (text.size() < needle.size()) return std::string_view::npos;
  const size_t last = text.size() - needle.size();
  if (lower == upper) {
    const size_t at = text.find(lower, pos);
    return at <= last ? at : std::string_view::npos;
  }
  for (size_t i = pos; i <= last; ++i) {
    if (text[i] == lower || text[i] == upper) return i;
  }
  return std::string_view::npos;
}

// 0-based index of the first match at a character start at or after `from`, or npos.
size_t FindFrom(std::string_view text, std::string_view needle, size_t from, bool ignoreCase) {
  const size_t n = text.size();
  const size_t m = needle.size();
  if (from >= n) return std::string_view::npos;
  if (m == 0) return 0;  // callers map this to position 1
  // Candidates come from a byte search; each must then start a character, which StepTo checks
  // by walking whole characters from the last known character start.
  size_t boundary = from;
  size_t pos = from;
  for (;;) {
    const size_t candidate =
        ignoreCase ? FindFirstByteFolded(text, needle, pos) : text.find(needle, pos);
    if (candidate == std::string_view::npos) return candidate;
    boundary = StepTo(text, boundary, candidate);
    if (boundary != candidate) {
      pos = boundary;  // the candidate began inside a double-byte character
    } else if (!ignoreCase || EqualsFolded(text.data() + candidate, needle)) {
      return candidate;
    } else {
      pos = candidate + 1;
    }
  }
}

size_t StartIndex(int start) { return start <= 1 ? 0 : static_cast<size_t>(start) - 1; }

}  // namespace

int FindText(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
  const size_t from = StartIndex(start);
  if (from >= text.size()) return kNotFound;
  if (needle.empty()) return 1;
  const size_t at = FindFrom(text, needle, from, ignoreCase);
  return at == std::string_view::npos ? kNotFound : static_cast<int>(at) + 1;
}

int FindTextBackward(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
  size_t limit = text.size();
  if (start > 0) limit = std::min(limit, static_cast<size_t>(start) - 1);
  const std::string_view searched = text.substr(0, limit);
  if (searched.empty()) return kNotFound;
  if (needle.empty()) return 1;
  int last = kNotFound;
  size_t from = 0;
  for (;;) {
    const size_t at = FindFrom(searched, needle, from, ignoreCase);
    if (at == std::string_view::npos) return last;
    last = static_cast<int>(at) + 1;
    from = at + CharLength(searched[at]);
  }
}

Text ReplaceText(std::string_view text, std::string_view from, std::string_view to, int start,
                 int count, bool ignoreCase) {
  const size_t begin = std::min(StartIndex(start), text.size());
  if (from.empty() || count == 0) return Text(text);
  Text out;
  out.reserve(text.size());
  out.append(text.substr(0, begin));
  size_t i = begin;
  while (i < text.size() && count != 0) {
    const size_t at = FindFrom(text, from, i, ignoreCase);
    if (at == std::string_view::npos) break;
    out.append(text.substr(i, at - i));
    out.append(to);
    i = at + from.size();
    if (count > 0) --count;
  }
  if (i < text.size()) out.append(text.substr(i));
  return out;
}

Text LeftBytes(std::string_view text, int count) {
  if (count <= 0) return Text();
  return Text(text.substr(0, static_cast<size_t>(count)));
}

Text RightBytes(std::string_view text, int count) {
  if (count <= 0) return Text();
  const size_t n = std::min(text.size(), static_cast<size_t>(count));
  return Text(text.substr(text.size() - n));
}

Text MiddleBytes(std::string_view text, int start, int count) {
  if (count <= 0 || start < 1 || static_cast<size_t>(start) > text.size()) return Text();
  return Text(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count)));
}

}  // namespace qf
