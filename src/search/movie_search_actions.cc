#include "search/movie_search_actions.h"

#include "search/catalogue_search.h"
#include "search/site_search.h"

namespace qf {

Text MovieSearchActions::SearchSite(const Text& title) {
  return qf::SearchSite(title, services_());
}

Text MovieSearchActions::SearchCatalogue(const Text& title) {
  return qf::SearchCatalogue(title, services_());
}

}  // namespace qf
