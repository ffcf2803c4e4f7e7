// Where the movie search finds its outside services, and the credentials it uses there. Each
// address is a base, "scheme://host[:port]", to which the fixed paths are appended.
#pragma once

#include "text/text.h"

namespace qf {

struct MovieServices {
  Text videoSearch;       // the video site's search host
  Text videoShort;        // the video site's short-address host
  Text shortener;         // the link-shortening service
  Text catalogue;         // the movie catalogue's JSON API
  Text videoUid;          // the video site's affiliate user number
  Text catalogueAccount;  // the catalogue account name
};

}  // namespace qf
