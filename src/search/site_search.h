// The video site's own search: the movies its result page lists, at most five, each with a
// shortened link, the last match first; a "more" line when there were more than five.
#pragma once

#include "search/movie_services.h"
#include "text/text.h"

namespace qf {

// "" when the page cannot be fetched or lists nothing.
Text SearchSite(const Text& title, const MovieServices& services);

}  // namespace qf
