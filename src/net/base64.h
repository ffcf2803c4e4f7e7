// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks), as proxy credentials need.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

Text Base64Encode(std::string_view data);

}  // namespace qf
