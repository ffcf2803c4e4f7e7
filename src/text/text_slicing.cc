#include "text/text_slicing.h"

#include "text/text_search.h"

namespace qf {
namespace {

Text ExpandQuotes(std::string_view marker) { return ReplaceText(marker, kQuotePlaceholder, "\""); }

}  // namespace

Text TextBefore(std::string_view text, std::string_view marker, int start, bool ignoreCase) {
  const int at = FindText(text, marker, start <= 0 ? 1 : start, ignoreCase);
  if (at == kNotFound) return Text();
  return LeftBytes(text, at - 1);
}

Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                 int start, bool ignoreCase) {
  const Text open = ExpandQuotes(startMarker);
  const Text close = ExpandQuotes(endMarker);
  const int at = FindText(text, open, start, ignoreCase);
  if (at == kNotFound) return Text();
  const int contentStart = at + static_cast<int>(open.size());
  const int end = FindText(text, close, contentStart, ignoreCase);
  if (end == kNotFound) return Text();
  return MiddleBytes(text, contentStart, end - contentStart);
}

Text ReplaceMany(std::string_view text, std::initializer_list<TextPair> pairs,
                 const ReplaceOptions& options) {
  Text result(text);
  for (const TextPair& pair : pairs) {
    result = ReplaceText(result, pair.from, pair.to, options.start, options.count,
                         !options.caseSensitive);
  }
  return result;
}

int CountOccurrences(std::string_view text, std::string_view needle, bool caseSensitive) {
  if (text.empty() || needle.empty()) return 0;
  int count = 0;
  int at = FindText(text, needle, 1, !caseSensitive);
  while (at != kNotFound) {
    ++count;
    at = FindText(text, needle, at + static_cast<int>(needle.size()), !caseSensitive);
  }
  return count;
}

Text TextAfterLast(std::string_view text, std::string_view marker, int start, bool ignoreCase) {
  const int at = FindTextBackward(text, marker, start, ignoreCase);
  if (at == kNotFound) return Text();
  return RightBytes(text, static_cast<int>(text.size() - marker.size()) - at + 1);
}

Text RemoveBlanks(Text& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == Text::npos) {
    text.clear();
  } else {
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, first);
  }
  return text;
}

}  // namespace qf
