// Conversions between code page 936, UTF-8 and UTF-16.
//
// Code page 936 goes through ICU's "windows-936-2000" table, which maps the private-use
// characters U+E000..U+E765 to the user-defined area (U+E231 <-> AF FC) and the euro sign to the
// single byte 80. A character the code page lacks becomes one "?"; a byte sequence that is not
// valid UTF-8 becomes U+FFFD (and so "?" in code page 936). Every result ends at its first zero
// character. All functions are pure and safe to call from any thread.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace qf {

enum class CodePage {
  kGbk = 936,
  kUtf8 = 65001,
  kAnsi = kGbk,  // the program's "system" code page
};

// Decodes `bytes` in code page `cp` to UTF-16, up to the first zero character.
std::u16string DecodeCodePage(std::string_view bytes, CodePage cp = CodePage::kUtf8);

// Encodes UTF-16 into code page `cp`, up to the first zero character. Lone surrogates become
// "?" in code page 936 and U+FFFD in UTF-8.
std::string EncodeCodePage(std::u16string_view text, CodePage cp = CodePage::kAnsi);

// UTF-8 bytes (an HTTP body) as Text; empty bytes give the empty text.
Text Utf8BytesToText(std::string_view utf8);

// Text whose bytes are UTF-8, re-encoded in code page 936.
Text FromUtf8(std::string_view utf8);

// Text re-encoded as UTF-8 bytes.
Text ToUtf8(std::string_view text);

}  // namespace qf
