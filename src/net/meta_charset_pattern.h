// The charset a page declares in a <meta> element; group 1 is its name.
#pragma once

#include <string_view>

namespace qf {

inline constexpr std::string_view kMetaCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

}  // namespace qf
