// Percent-encoding of links and query values.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

struct UrlEncodeOptions {
  bool keepLettersDigits = false;  // leave A-Z a-z 0-9 - . as they are
  bool utf8 = false;               // encode the UTF-8 bytes of the text instead of its own
};

// Every byte becomes "%" and two upper-case hex digits, except those kept by the options. A space
// is "%20", never "+".
Text UrlEncode(std::string_view text, const UrlEncodeOptions& options = {});

// Decodes "%hh" escapes byte by byte; "+" stays "+". A missing digit counts 0 and a non-hex one
// -2 (the byte is the low eight bits of 16 * first + second); a resulting 0 adds nothing. With
// `utf8` the decoded bytes are read as UTF-8.
Text UrlDecode(std::string_view text, bool utf8 = false);

}  // namespace qf
