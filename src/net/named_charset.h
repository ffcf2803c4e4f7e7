// Conversions between bytes in a charset named at run time ("utf-8", "big5", "gbk", ...) and
// UTF-16. The names that mean code page 936 use the program's own code page 936 converter.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace qf {

// Nothing when the charset is unknown.
std::optional<std::u16string> DecodeCharset(std::string_view bytes, std::string_view charset);
// Characters the charset lacks become "?". Nothing when the charset is unknown.
std::optional<Bytes> EncodeCharset(std::u16string_view text, std::string_view charset);

}  // namespace qf
