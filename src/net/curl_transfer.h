// One HTTP exchange over libcurl, with every request line under the caller's control: after the
// request line and libcurl's Host line come exactly `headerLines`, in order, and nothing else but
// the body's framing (Content-Length). libcurl's own Accept, User-Agent, Expect and
// Content-Type lines are suppressed, and no Accept-Encoding is added or decoded.
//
// Each call owns its handle; library-wide initialisation happens once.
#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>
#include <vector>

#include "text/text.h"

namespace qf {

struct HttpTransfer {
  std::string method = "GET";
  std::string url;
  std::vector<std::string> headerLines;  // "Name: value"; a value is cut at its first CR or LF
  std::optional<Bytes> body;             // sent with its Content-Length when present (a POST
                                         // without one sends an empty body)
  std::string proxy;                     // host:port; empty: direct
  std::string proxyUser;                 // Basic credentials for the proxy, when not empty
  std::string proxyPassword;
  std::string user;  // Basic credentials for the server, when not empty
  std::string password;
  long connectTimeoutMs = 60000;  // resolving and connecting
  long idleTimeoutSeconds = 30;   // no byte at all for this long ends the exchange
  bool followRedirects = true;
  bool verifyTls = true;
  bool http10 = false;  // HTTP/1.0 instead of HTTP/1.1
};

struct TransferResult {
  CURLcode code = CURLE_OK;
  bool requestSent = false;   // a connection was made and the request went out
  bool headComplete = false;  // the final response's head arrived whole
  Bytes headerBlock;          // that head: status line first, ending with the blank line
  long status = 0;
  Bytes body;  // what arrived of the final response's body
};

// The largest body kept; a longer one ends the exchange as a failed read.
inline constexpr size_t kMaxResponseBody = 32u << 20;

TransferResult PerformTransfer(const HttpTransfer& transfer);

}  // namespace qf
