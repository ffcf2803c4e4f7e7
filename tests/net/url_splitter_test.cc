#include "net/url_splitter.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

TEST(UrlSplitter, HostPortAndPath) {
  const struct {
    const char* url;
    const char* host;
    const char* hostWithPort;
    int port;
    const char* path;
  } cases[] = {
      {"HTTP://WWW.Example.COM:8080/Some/Path?Q=A", "www.example.com", "www.example.com:8080", 8080,
       "/Some/Path?Q=A"},
      {"Example.com", "example.com", "example.com", 80, "/"},
      {"https://secure.example.com", "secure.example.com", "secure.example.com", 443, "/"},
      {"https://h.example:x/", "h.example", "h.example:x", 0, "/"},
      {"http://h.example/a/b", "h.example", "h.example", 80, "/a/b"},
      // A scheme-less URL is split at an inner marker.
      {"h.example/go?u=http://inner.example/x", "inner.example", "inner.example", 80, "/x"},
      {"", "", "", 80, "/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UrlHost(c.url), c.host) << c.url;
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort) << c.url;
    EXPECT_EQ(UrlPort(c.url), c.port) << c.url;
    EXPECT_EQ(UrlPath(c.url), c.path) << c.url;
  }
}

}  // namespace
}  // namespace qf
