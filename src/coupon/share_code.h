// Recognising a marketplace share code in a follower's text and taking it out.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

// True when the text holds a share code (see coupon/share_code_pattern.h).
bool ContainsShareCode(std::string_view text);

// The first code with its markers ("?", "￥", "《", "$", "(", the euro sign, ")") removed; any
// other framing character stays part of it. "" when there is none.
Text ExtractShareCode(std::string_view text);

}  // namespace qf
