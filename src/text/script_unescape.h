// Decoding of "\u" and "%u" escapes into code page 936 text.
//
// The text is read the way a script would read it as the content of a single-quoted string
// literal, then passed through the script's unescape(): backslash escapes resolve, "%uXXXX" and
// "%XX" become characters, and a CRLF or a single quote survives. A text that is no valid literal
// (a bare line feed, a trailing backslash) decodes as its bytes read as UTF-16 instead.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

Text ScriptUnescape(std::string_view text);

// The bytes read as UTF-16 little-endian (a leading byte-order mark skipped, an odd last byte
// dropped), converted to code page 936.
Text BytesAsUtf16Text(std::string_view bytes);

}  // namespace qf
