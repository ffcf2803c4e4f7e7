// The session requester against a loopback stand-in.
#include <gtest/gtest.h>

#include "fakes/fake_http_server.h"
#include "net/requesters.h"

namespace qf {
namespace {

using testing::FakeHttpServer;
using testing::HttpResponse;
using Lines = std::vector<std::string>;

class SessionRequestTest : public ::testing::Test {
 protected:
  FakeHttpServer server_;
};

TEST_F(SessionRequestTest, DefaultsAgentAndTheWholeHead) {
  server_.On("/p?q=1", HttpResponse("HTTP/1.1 200 OK", {"Set-Cookie: a=1"}, "page"));
  const std::string url = server_.Url("/p?q=1");
  Text headersOut;
  Text cookiesOut;
  RequestOptions options;
  options.headersOut = &headersOut;
  options.cookiesOut = &cookiesOut;
  EXPECT_EQ(SendSessionRequest(url, options), "page");
  EXPECT_EQ(
      server_.LastHeadLines(),
      (Lines{server_.HostLine(), "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
             "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"}));
  EXPECT_EQ(headersOut, "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nContent-Length: 4\r\n\r\n");
  EXPECT_EQ(cookiesOut, "a=1");
}

TEST_F(SessionRequestTest, CallerAgentAndCookieLine) {
  server_.On("/u", HttpResponse("HTTP/1.1 200 OK", {}, ""));
  Text headers = "user-agent: Mine/1.0";
  Text cookies = "s=1";
  RequestOptions options;
  options.headers = &headers;
  options.cookies = &cookies;
  options.mergeCookies = false;
  SendSessionRequest(server_.Url("/u"), options);
  EXPECT_EQ(server_.LastHeadLines(),
            (Lines{server_.HostLine(), "User-Agent: Mine/1.0", "Accept: */*",
                   "Referer: " + server_.Url("/u"), "Accept-Language: zh-cn", "Cookie: s=1"}));
  EXPECT_TRUE(headers.ends_with("\r\nCookie: s=1"));  // the cookie line stays in the block

  Text empty;
  RequestOptions emptyCookies;
  emptyCookies.cookies = &empty;
  SendSessionRequest(server_.Url("/u"), emptyCookies);
  for (const std::string& line : server_.LastHeadLines()) EXPECT_FALSE(line.starts_with("Cookie"));
}

TEST_F(SessionRequestTest, LongHeadIsReturnedWholeWithItsCookies) {
  std::vector<std::string> lines;
  for (int i = 0; i < 80; ++i)
    lines.push_back("X-Filler-" + std::to_string(i) + ": " + std::string(80, 'f'));
  lines.push_back("Set-Cookie: late=1; path=/");
  server_.On("/long", HttpResponse("HTTP/1.1 200 OK", lines, "x"));
  Text headersOut;
  Text cookiesOut;
  RequestOptions options;
  options.headersOut = &headersOut;
  options.cookiesOut = &cookiesOut;
  SendSessionRequest(server_.Url("/long"), options);
  EXPECT_GT(headersOut.size(), 5000u);
  EXPECT_TRUE(headersOut.ends_with("\r\n\r\n"));
  EXPECT_EQ(cookiesOut, "late=1");
}

TEST_F(SessionRequestTest, PostSendsTheBodyBytesAndKeepsThem) {
  server_.On("/post", HttpResponse("HTTP/1.1 200 OK", {}, "done"));
  Bytes bodyBytes;
  RequestOptions options;
  options.method = 1;
  options.body = "\xC8\xAF=1";  // code page 936 bytes go out as they are
  options.bodyBytes = &bodyBytes;
  EXPECT_EQ(SendSessionRequest(server_.Url("/post"), options), "done");
  EXPECT_EQ(bodyBytes, "\xC8\xAF=1");
  EXPECT_TRUE(server_.Requests().back().ends_with("\r\n\r\n\xC8\xAF=1"));
  EXPECT_EQ(server_.LastHeadLines().back(), "Content-Length: 4");
}

}  // namespace
}  // namespace qf
