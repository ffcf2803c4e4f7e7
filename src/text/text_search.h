// The four primitives under every text helper: find forward, find backward, replace, cut.
//
// Code page 936 is stepped character by character: a byte of 0x80 or more takes the next byte
// with it, so a match is only recognised where a character starts. When case is ignored only
// A-Z and a-z fold onto each other. Positions are 1-based; kNotFound (-1) when nothing is found.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

// First occurrence of `needle` at or after `start` (1 or less: the beginning). An empty needle
// is found at 1 whenever the searched part is not empty.
int FindText(std::string_view text, std::string_view needle, int start = 1,
             bool ignoreCase = false);

// Last occurrence lying wholly within the first (start - 1) bytes; start <= 0 means the whole
// text.
int FindTextBackward(std::string_view text, std::string_view needle, int start = 0,
                     bool ignoreCase = false);

// Copies the text before `start`, then replaces matches of `from` by `to` scanning on from there,
// at most `count` times (negative: all). An empty `from` replaces nothing.
Text ReplaceText(std::string_view text, std::string_view from, std::string_view to, int start = 1,
                 int count = -1, bool ignoreCase = false);

// Byte cuts clamped to the text; a count of 0 or less, or a start outside, gives "".
Text LeftBytes(std::string_view text, int count);
Text RightBytes(std::string_view text, int count);
Text MiddleBytes(std::string_view text, int start, int count);

}  // namespace qf
