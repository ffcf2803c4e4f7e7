// The browser-like requester against a loopback stand-in: the exact request lines, cookies,
// redirects and time-outs.
#include <gtest/gtest.h>

#include "fakes/fake_http_server.h"
#include "net/requesters.h"

namespace qf {
namespace {

using testing::CannedResponse;
using testing::FakeHttpServer;
using testing::HttpResponse;
using Lines = std::vector<std::string>;

constexpr const char* kAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

class ObjectRequestTest : public ::testing::Test {
 protected:
  FakeHttpServer server_;
};

TEST_F(ObjectRequestTest, DefaultLinesInOrderAndWrittenBack) {
  server_.On("/a", HttpResponse("HTTP/1.1 200 OK", {"X-Seen: 1"}, "body"));
  const std::string url = server_.Url("/a");
  Text headers;
  Text headersOut;
  int status = -1;
  RequestOptions options;
  options.headers = &headers;
  options.headersOut = &headersOut;
  options.statusOut = &status;
  EXPECT_EQ(SendObjectRequest(url, options), "body");
  EXPECT_EQ(server_.Requests().at(0).substr(0, 17), "GET /a HTTP/1.1\r\n");
  EXPECT_EQ(server_.LastHeadLines(), (Lines{server_.HostLine(), "Accept: */*", "Referer: " + url,
                                            "Accept-Language: zh-cn", kAgent}));
  EXPECT_EQ(headers, "Accept: */*\r\nReferer: " + url + "\r\nAccept-Language: zh-cn\r\n" +
                         std::string(kAgent));
  EXPECT_EQ(status, 200);
  EXPECT_EQ(headersOut, "X-Seen: 1\r\nContent-Length: 4\r\n\r\n");  // no status line
}

TEST_F(ObjectRequestTest, MethodsAndBodies) {
  server_.On("/m", HttpResponse("HTTP/1.1 200 OK", {}, "ok"));
  const struct {
    int method;
    const char* requestLine;
  } cases[] = {{9, "GET /m "}, {-1, "GET /m "}, {2, "HEAD /m "}, {5, "DELETE /m "}};
  for (const auto& c : cases) {
    RequestOptions options;
    options.method = c.method;
    SendObjectRequest(server_.Url("/m"), options);
    EXPECT_TRUE(server_.Requests().back().starts_with(c.requestLine)) << c.method;
  }
  RequestOptions post;
  post.method = 1;
  post.body = "k=v";
  post.addDefaultHeaders = false;
  EXPECT_EQ(SendObjectRequest(server_.Url("/m"), post), "ok");
  // With the defaults off, no Content-Type of libcurl's own: only the framing.
  EXPECT_EQ(server_.LastHeadLines(), (Lines{server_.HostLine(), "Content-Length: 3"}));
  EXPECT_TRUE(server_.Requests().back().ends_with("\r\n\r\nk=v"));

  RequestOptions postDefaults;
  postDefaults.method = 1;
  SendObjectRequest(server_.Url("/m"), postDefaults);
  const Lines lines = server_.LastHeadLines();
  EXPECT_EQ(lines[5], "Content-Type: application/x-www-form-urlencoded");
}

TEST_F(ObjectRequestTest, CallerLinesReplaceDefaultsAndKeepAliveIsSkipped) {
  server_.On("/h", HttpResponse("HTTP/1.1 200 OK", {}, ""));
  Text headers = "user-agent: mine\r\nConnection: keep-alive\r\nconnection: close";
  RequestOptions options;
  options.headers = &headers;
  SendObjectRequest(server_.Url("/h"), options);
  const Lines lines = server_.LastHeadLines();
  EXPECT_EQ(lines,
            (Lines{server_.HostLine(), "User-Agent: mine", "Connection: close", "Accept: */*",
                   "Referer: " + server_.Url("/h"), "Accept-Language: zh-cn"}));

  // A block of that one line alone is sent: the single-line case has no such test.
  Text single = "Connection: keep-alive";
  RequestOptions alone;
  alone.headers = &single;
  alone.addDefaultHeaders = false;
  SendObjectRequest(server_.Url("/h"), alone);
  EXPECT_EQ(server_.LastHeadLines(), (Lines{server_.HostLine(), "Connection: keep-alive"}));
}

TEST_F(ObjectRequestTest, CookieLineAbsentEmptyOrCleaned) {
  server_.On("/c", HttpResponse("HTTP/1.1 200 OK", {}, ""));
  const auto cookieLines = [&] {
    Lines found;
    for (const std::string& line : server_.LastHeadLines()) {
      if (line.starts_with("Cookie")) found.push_back(line);
    }
    return found;
  };
  RequestOptions absent;
  SendObjectRequest(server_.Url("/c"), absent);
  EXPECT_EQ(cookieLines(), Lines{});

  Text empty;
  RequestOptions present;
  present.cookies = &empty;
  SendObjectRequest(server_.Url("/c"), present);
  EXPECT_EQ(cookieLines(), Lines{"Cookie:"});

  Text prefixed = "Cookie: a=1";
  RequestOptions cleaned;
  cleaned.cookies = &prefixed;
  cleaned.mergeCookies = false;
  SendObjectRequest(server_.Url("/c"), cleaned);
  EXPECT_EQ(prefixed, " a=1");  // only "Cookie:" goes; the space stays
  EXPECT_EQ(cookieLines(), Lines{"Cookie:  a=1"});
}

TEST_F(ObjectRequestTest, ResponseCookiesCollectedAndMerged) {
  server_.On("/s",
             HttpResponse("HTTP/1.1 200 OK", {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"}, ""));
  Text out;
  RequestOptions collect;
  collect.cookiesOut = &out;
  collect.mergeCookies = false;
  SendObjectRequest(server_.Url("/s"), collect);
  EXPECT_EQ(out, "a=1; b=2");

  Text jar = "a=0; c=3";
  RequestOptions merge;
  merge.cookies = &jar;
  merge.cookiesOut = &out;
  SendObjectRequest(server_.Url("/s"), merge);
  EXPECT_EQ(out, "a=1; b=2; c=3");
  EXPECT_EQ(jar, "a=1; b=2; c=3");

  // One variable for both: the cookies held before the call are not kept.
  Text shared = "old=1";
  RequestOptions aliased;
  aliased.cookies = &shared;
  aliased.cookiesOut = &shared;
  SendObjectRequest(server_.Url("/s"), aliased);
  EXPECT_NE(server_.Requests().back().find("\r\nCookie: old=1\r\n"), std::string::npos);
  EXPECT_EQ(shared, "a=1; b=2");
}

TEST_F(ObjectRequestTest, RedirectsFollowedOrReturned) {
  server_.On("/r1",
             HttpResponse("HTTP/1.1 302 Found", {"Location: /r2", "Set-Cookie: hop=1"}, "moved"));
  server_.On("/r2", HttpResponse("HTTP/1.1 200 OK", {"Set-Cookie: end=2"}, "final"));
  Text headersOut;
  Text cookiesOut;
  int status = 0;
  RequestOptions follow;
  follow.headersOut = &headersOut;
  follow.cookiesOut = &cookiesOut;
  follow.statusOut = &status;
  EXPECT_EQ(SendObjectRequest(server_.Url("/r1"), follow), "final");
  EXPECT_EQ(status, 200);
  EXPECT_EQ(cookiesOut, "end=2");  // the final response's only
  EXPECT_EQ(headersOut.find("Location"), Text::npos);

  RequestOptions stop = follow;
  stop.noRedirect = true;
  EXPECT_EQ(SendObjectRequest(server_.Url("/r1"), stop), "moved");
  EXPECT_EQ(status, 302);
  EXPECT_NE(headersOut.find("Location: /r2\r\n"), Text::npos);
  EXPECT_EQ(cookiesOut, "hop=1");
}

TEST_F(ObjectRequestTest, FailureGivesEmptyResultsAndStatusZero) {
  server_.On("/slow", CannedResponse{"", CannedResponse::Ending::kHang});
  Text headersOut = "old";
  int status = 7;
  RequestOptions options;
  options.timeoutSeconds = 1;
  options.headersOut = &headersOut;
  options.statusOut = &status;
  EXPECT_EQ(SendObjectRequest(server_.Url("/slow"), options), "");
  EXPECT_EQ(headersOut, "");
  EXPECT_EQ(status, 0);
}

TEST_F(ObjectRequestTest, LineBreaksInValuesCannotAddLines) {
  server_.On("/i", HttpResponse("HTTP/1.1 200 OK", {}, ""));
  Text headers = "X-Note: a\rInjected: 1\r\nX-Other: b\nAlso: 2";
  Text cookies = "s=1\r\nEvil: 1";
  RequestOptions options;
  options.headers = &headers;
  options.cookies = &cookies;
  options.addDefaultHeaders = false;
  SendObjectRequest(server_.Url("/i"), options);
  EXPECT_EQ(server_.LastHeadLines(),
            (Lines{server_.HostLine(), "Cookie: s=1", "X-Note: a", "X-Other: b"}));
}

TEST_F(ObjectRequestTest, ProxyAndItsCredentials) {
  server_.On("http://far.example/p", HttpResponse("HTTP/1.1 200 OK", {}, "via proxy"));
  RequestOptions options;
  options.proxy = "127.0.0.1:" + std::to_string(server_.port());
  options.proxyUser = "u";
  options.proxyPassword = "p:w";
  options.addDefaultHeaders = false;
  EXPECT_EQ(SendObjectRequest("http://far.example/p", options), "via proxy");
  const Lines lines = server_.LastHeadLines();
  ASSERT_EQ(lines.size(), 2u) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines[0], "Host: far.example");
  EXPECT_EQ(lines[1], "Proxy-Authorization: Basic dTpwOnc=");
}

}  // namespace
}  // namespace qf
