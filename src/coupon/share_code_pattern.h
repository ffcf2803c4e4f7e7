// A marketplace share code: eleven word characters framed on each side by one character that is
// not a basic CJK ideograph (a marker such as "￥", "(", the euro sign, or even a letter).
#pragma once

#include <string_view>

namespace qf {

inline constexpr std::string_view kShareCodePattern = "[^\\u4e00-\\u9fa5]\\w{11}[^\\u4e00-\\u9fa5]";

}  // namespace qf
