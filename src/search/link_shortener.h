// Turns a long link into the short one a public shortening service hands out: one GET, whose
// answer is taken as it comes ("" when the service cannot be reached).
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

Text ShortenLink(std::string_view link, std::string_view shortenerBase);

}  // namespace qf
