#include "net/url_splitter.h"

#include "text/text_search.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

Text LowerAscii(std::string_view text) {
  Text out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

}  // namespace

Text UrlHost(std::string_view url, bool keepPort) {
  Text text = LowerAscii(url);
  if (!text.ends_with("/")) text += "/";
  std::string_view marker = "https://";
  if (text.substr(0, 8) != marker) {
    marker = "http://";
    if (FindText(text, marker) == kNotFound) text.insert(0, marker);
  }
  const Text hostPart = TextBetween(text, marker, "/");
  if (keepPort) return hostPart;
  const int colon = FindText(hostPart, ":");
  return colon == kNotFound ? hostPart : hostPart.substr(0, static_cast<size_t>(colon) - 1);
}

int UrlPort(std::string_view url) {
  const Text host = UrlHost(url, true);
  const int colon = FindTextBackward(host, ":");
  if (colon == kNotFound) return LowerAscii(url.substr(0, 5)) == "https" ? 443 : 80;
  int port = 0;
  for (size_t i = static_cast<size_t>(colon); i < host.size() && host[i] >= '0' && host[i] <= '9';
       ++i) {
    if (port > 65535) break;  // no port is that long; keep the number from overflowing
    port = port * 10 + (host[i] - '0');
  }
  return port;
}

Text UrlPath(std::string_view url) {
  const Text host = UrlHost(url);
  const int hostAt = FindText(url, host, 1, true);
  const int slash = FindText(url, "/", hostAt == kNotFound ? 1 : hostAt);
  return slash == kNotFound ? Text("/") : Text(url.substr(static_cast<size_t>(slash) - 1));
}

}  // namespace qf
