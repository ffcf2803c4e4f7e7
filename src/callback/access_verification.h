// WeChat's access verification: the signature in the request line must be the SHA-1 of the
// token, timestamp and nonce, sorted and joined.
#pragma once

#include <string_view>
#include <vector>

#include "text/text.h"

namespace qf {

// Lower-case hex SHA-1 of the UTF-8 form of `text`.
Text Sha1Hex(std::string_view text);

// Sorts ascending by byte order (a binary insertion sort; equal texts end up side by side).
void SortTextsAscending(std::vector<Text>& texts);

// The echostr value of the request line when its signature matches `token`; "" otherwise. Values
// are cut between WeChat's parameter neighbours and taken as they stand (no percent-decoding).
Text VerifyAccess(std::string_view requestText, std::string_view token);

}  // namespace qf
