// The anchor of one movie on the video site's search page: group 1 is the movie's identifier in
// the play path, group 2 the anchor text.
#pragma once

#include <string_view>

namespace qf {

inline constexpr std::string_view kSiteAnchorPattern =
    "<a href=\"http://.*?/paly/(.*?)/1-1.html\" target=\"_blank\">(.*?)</a>";

}  // namespace qf
