// Takes an absolute or scheme-less URL apart into host, port and object path, on the text alone.
// Only "http://" and "https://" are known; a URL without either is taken as HTTP.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

// The host, lower-cased; with `keepPort`, followed by ":" and the port when the URL names one.
Text UrlHost(std::string_view url, bool keepPort = false);
// The port the URL names, else 443 for an "https" URL, else 80.
int UrlPort(std::string_view url);
// From the first "/" after the host to the end, letter case kept; "/" when there is none.
Text UrlPath(std::string_view url);

}  // namespace qf
