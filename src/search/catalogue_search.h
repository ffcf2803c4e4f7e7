// The movie catalogue's JSON API, asked when the site search finds nothing: at most five entries,
// each with the link the API gives for it, the last entry first.
#pragma once

#include "search/movie_services.h"
#include "text/text.h"

namespace qf {

// "" when the search fails or finds nothing.
Text SearchCatalogue(const Text& title, const MovieServices& services);

// Reads one answer of the catalogue into `json`: as UTF-8 JSON when it is that, else the old
// way (bytes taken as code page 936, escapes decoded, spaces trimmed). False when neither parses.
bool ReadCatalogueAnswer(const Bytes& body, class JsonObject& json);

}  // namespace qf
