// The optional arguments shared by the three requesters. Each requester honours its own subset.
//
// Fields a requester writes back are pointers to the caller's variables: a null pointer is an
// absent field, which for `cookies` is different from an empty text. A caller may name one
// variable for two fields (`cookies` and `cookiesOut`, say); the requesters write them in a fixed
// order, so the outcome of such aliasing is defined.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

struct RequestOptions {
  // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT; others GET.
  int method = 0;
  Text body;
  Text* cookies = nullptr;     // in/out: the cookie text to send; merged text written back
  Text* cookiesOut = nullptr;  // out: cookies the response set (or the merge result)
  Text* headers = nullptr;     // in/out: extra request lines; some requesters write back
  Text* headersOut = nullptr;  // out: the response header block
  int* statusOut = nullptr;    // out: numeric status
  bool noRedirect = false;
  Bytes* bodyBytes = nullptr;  // in (sent instead of `body` when not empty); some write back
  Text proxy;                  // host:port; empty: direct
  int timeoutSeconds = 0;      // meaning of 0 and -1 per requester
  Text proxyUser;
  Text proxyPassword;
  int proxyCredentialMode = 1;  // 1: proxy credentials go out as a Proxy-Authorization line
  bool mergeCookies = true;
  bool addDefaultHeaders = true;
  bool normaliseHeaders = true;
  Text user;  // server Basic credentials
  Text password;
  Text* locationOut = nullptr;    // out: the Location line's value
  Text* statusText = nullptr;     // out: status code and reason, or a numbered failure text
  Bytes* bodyBytesOut = nullptr;  // out: the raw response body
};

// The method name for `method`; a value outside 0..7 gives "GET".
std::string_view MethodName(int method);

}  // namespace qf
