#include "search/link_shortener.h"

#include "net/requesters.h"
#include "text/url_encoding.h"

namespace qf {

Text ShortenLink(std::string_view link, std::string_view shortenerBase) {
  const Text address = Text(shortenerBase) + "/gettiny?url=" + UrlEncode(link);
  RequestOptions options;
  return SendNativeRequest(address, options);
}

}  // namespace qf
