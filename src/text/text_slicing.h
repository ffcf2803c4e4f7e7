// Marker-based slicing of code page 936 text: how every request, XML body, page, JSON answer and
// header block in the program is read. All positions are 1-based; built on text_search.h.
#pragma once

#include <initializer_list>
#include <string_view>

#include "text/text.h"

namespace qf {

// "#引号" in code page 936: lets callers write a double quote inside a marker or a pattern.
inline constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

// The text from its first byte up to (not including) the first `marker` at or after `start`;
// "" when the marker is not found. The cut always begins at byte 1, whatever `start` is.
Text TextBefore(std::string_view text, std::string_view marker, int start = 1,
                bool ignoreCase = false);

// The bytes between the first `startMarker` at or after `start` (0 or 1: the beginning) and the
// next `endMarker` after it; "" when either is missing. "#引号" in a marker stands for '"'.
Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                 int start = 0, bool ignoreCase = false);

struct TextPair {
  std::string_view from;
  std::string_view to;
};

struct ReplaceOptions {
  int count = -1;              // replacements per pair; negative: all
  int start = 1;               // bytes before it are copied unchanged
  bool caseSensitive = false;  // by default A-Z and a-z match each other
};

// Applies each pair in turn to the result of the one before, so a later pair sees (and may hit)
// what an earlier one wrote.
Text ReplaceMany(std::string_view text, std::initializer_list<TextPair> pairs,
                 const ReplaceOptions& options = {});

// Non-overlapping occurrences of `needle`; 0 when either text is empty.
int CountOccurrences(std::string_view text, std::string_view needle, bool caseSensitive = false);

// Everything after the last `marker` lying within the first (start - 1) bytes (start <= 0: the
// whole text); "" when the marker is not found or ends the text.
Text TextAfterLast(std::string_view text, std::string_view marker, int start = 0,
                   bool ignoreCase = false);

// Removes ASCII spaces (and only those) from both ends of `text`, in place; returns a copy.
Text RemoveBlanks(Text& text);

}  // namespace qf
