// The three HTTP requesters and the plain URL reader. Each performs one blocking request and
// returns the response body; each honours its own subset of RequestOptions and writes its out
// fields as described below. All are safe to call from several threads at once.
#pragma once

#include <string_view>

#include "net/request_options.h"
#include "text/text.h"

namespace qf {

// The browser-like requester: default Accept, Referer, Accept-Language and User-Agent lines,
// 15 s per phase unless told otherwise (-1: 60 s to connect, 30 s without data), the caller's
// cookies, redirects followed unless `noRedirect`. Writes `headers` (the completed block),
// `headersOut` (the final response's header lines, without the status line), `statusOut`,
// `cookiesOut` and, when merging, `cookies`. A failed request gives empty results and status 0.
Bytes SendObjectRequest(std::string_view url, RequestOptions& options);

// The session requester: the URL split by UrlHost/UrlPort/UrlPath, the user agent taken from the
// caller's block or the default, default Accept, Referer and Accept-Language lines, the cookie
// line appended to the block. Writes `headers`, `headersOut` (the whole final head, status line
// first), `cookiesOut`, `cookies` when merging, and `bodyBytes` for a body sent from `body`.
Bytes SendSessionRequest(std::string_view url, RequestOptions& options);

// The complete requester: reports every failure as a numbered text in `statusText`, takes server
// and proxy credentials, returns the Location, the status text, the raw body in `bodyBytesOut`,
// and the body as text re-decoded from the charset a <meta> element declares (other than gbk or
// gb2312). 30 s per phase unless told otherwise. `headers` is only read.
Text SendNativeRequest(std::string_view url, RequestOptions& options);

// One HTTP/1.0 GET with a fixed old browser agent and "Accept: */*", no cookies, no cache: the
// whole body, or empty bytes on any failure.
Bytes ReadUrl(std::string_view url);

}  // namespace qf
