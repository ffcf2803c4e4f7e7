// The numeric-reference form in which the search word is stored and compared: every UTF-16 code
// unit as "&#" and its decimal value, with nothing between units ("搜索" is "&#25628&#32034").
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

// "" when the text is only ASCII or full-width spaces; otherwise every unit of the whole text.
Text EncodeCharRefs(std::string_view text);

// Splits at "&#", drops the first piece whatever it holds, reads each further piece as a decimal
// number (leading blanks, a sign, digits; 0 without digits) and keeps its low 16 bits as a code
// unit. A zero unit ends the text.
Text DecodeCharRefs(std::string_view text);

}  // namespace qf
