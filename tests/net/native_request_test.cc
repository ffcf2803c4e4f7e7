// The complete requester against a loopback stand-in: request lines, failure texts, the charset
// step; and the plain URL reader.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "fakes/fake_http_server.h"
#include "net/requesters.h"
#include "support/gbk.h"
#include "text/code_page.h"

namespace qf {
namespace {

using testing::CannedResponse;
using testing::FakeHttpServer;
using testing::Gbk;
using testing::HttpResponse;
using Lines = std::vector<std::string>;

constexpr const char* kAgent =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)";

// A loopback port with nothing listening on it.
int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

class NativeRequestTest : public ::testing::Test {
 protected:
  FakeHttpServer server_;
};

TEST_F(NativeRequestTest, DefaultLinesInOrderCookieLast) {
  server_.On("/n", HttpResponse("HTTP/1.1 200 OK", {}, "ok"));
  Text headers = "X-Mine: 1";
  Text cookies = "a=1";
  RequestOptions options;
  options.headers = &headers;
  options.cookies = &cookies;
  EXPECT_EQ(SendNativeRequest(server_.Url("/n"), options), "ok");
  EXPECT_EQ(server_.LastHeadLines(),
            (Lines{server_.HostLine(), "X-Mine: 1", kAgent,
                   "Accept: text/html, application/xhtml+xml, */*", "Accept-Encoding: gbk, GB2312",
                   "Accept-Language: zh-cn", "Cache-Control: no-cache", "Cookie: a=1"}));
  EXPECT_EQ(headers, "X-Mine: 1");  // only read

  RequestOptions post;
  post.method = 1;
  SendNativeRequest(server_.Url("/n"), post);
  const Lines lines = server_.LastHeadLines();
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[5], "Content-Type: application/x-www-form-urlencoded");
  EXPECT_EQ(lines[6], "Cache-Control: no-cache");
}

TEST_F(NativeRequestTest, CallerLinesAndCookieRules) {
  server_.On("/c", HttpResponse("HTTP/1.1 200 OK", {}, ""));
  // "Accept:" without a space does not count as the Accept line; a Cookie line of the caller's
  // means no cookie line is added.
  Text headers = "Accept:text/x\r\nCookie: mine=1";
  Text cookies = "a=1";
  RequestOptions options;
  options.headers = &headers;
  options.cookies = &cookies;
  SendNativeRequest(server_.Url("/c"), options);
  const Lines lines = server_.LastHeadLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Accept:text/x"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Accept: text/html, application/xhtml+xml, */*"),
            1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Cookie: mine=1"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Cookie: a=1"), 0);

  Text prefixed = "Cookie: b=2";
  RequestOptions asGiven;
  asGiven.cookies = &prefixed;
  asGiven.addDefaultHeaders = false;
  SendNativeRequest(server_.Url("/c"), asGiven);
  EXPECT_EQ(server_.LastHeadLines(), (Lines{server_.HostLine(), "Cookie: b=2"}));
}

TEST_F(NativeRequestTest, RedirectNotFollowedGivesLocationAndStatusText) {
  server_.On("/go", HttpResponse("HTTP/1.1 302 Found",
                                 {"Location: http://127.0.0.1:1/next", "Set-Cookie: t=1; path=/"},
                                 "see other"));
  Text location;
  Text status;
  Text cookiesOut = "pre=0";
  Bytes raw;
  RequestOptions options;
  options.noRedirect = true;
  options.locationOut = &location;
  options.statusText = &status;
  options.cookiesOut = &cookiesOut;
  options.bodyBytesOut = &raw;
  EXPECT_EQ(SendNativeRequest(server_.Url("/go"), options), "see other");
  EXPECT_EQ(location, "http://127.0.0.1:1/next");
  EXPECT_EQ(status, "302 Found");
  EXPECT_EQ(cookiesOut, "pre=0t=1");  // appended to what the field held, as the rule says
  EXPECT_EQ(raw, "see other");
}

TEST_F(NativeRequestTest, PathlessUrlRequestsRootAndDropsItsQuery) {
  server_.On("/", HttpResponse("HTTP/1.1 200 OK", {}, "root"));
  RequestOptions options;
  EXPECT_EQ(SendNativeRequest(server_.Url("?q=1"), options), "root");
  EXPECT_TRUE(server_.Requests().back().starts_with("GET / HTTP/1.1\r\n"));
}

TEST_F(NativeRequestTest, CharsetDeclaredInTheHead) {
  const std::string utf8Page = "<html><head><meta charset=\"utf-8\"></head>优惠券</html>";
  const std::string gbkPage =
      Gbk("<meta http-equiv=Content-Type content=\"text/html; charset=gbk\">优惠券");
  const std::string upperPage = Gbk("<META CONTENT=\"text/html; charset=GBK\">优惠券");
  server_.On("/utf8", HttpResponse("HTTP/1.1 200 OK", {}, utf8Page));
  server_.On("/gbk", HttpResponse("HTTP/1.1 200 OK", {}, gbkPage));
  server_.On("/upper", HttpResponse("HTTP/1.1 200 OK", {}, upperPage));
  RequestOptions options;
  EXPECT_EQ(SendNativeRequest(server_.Url("/utf8"), options), Gbk(utf8Page));
  EXPECT_EQ(SendNativeRequest(server_.Url("/gbk"), options), gbkPage);
  EXPECT_EQ(SendNativeRequest(server_.Url("/upper"), options), upperPage);
}

TEST_F(NativeRequestTest, FailureTexts) {
  server_.On("/silent", CannedResponse{"", CannedResponse::Ending::kHang});
  server_.On("/reset", CannedResponse{"", CannedResponse::Ending::kReset});
  const struct {
    std::string url;
    const char* text;
  } cases[] = {
      {"not a url", "701 解析URL地址失败!"},
      {"ftp://127.0.0.1/x", "701 解析URL地址失败!"},
      {"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/", "711 发送请求失败!"},
      {server_.Url("/silent"), "712 服务器未响应!"},
      {server_.Url("/reset"), "712 服务器未响应!"},
  };
  for (const auto& c : cases) {
    Text status;
    Text headersOut = "kept";
    RequestOptions options;
    options.timeoutSeconds = 1;
    options.statusText = &status;
    options.headersOut = &headersOut;
    EXPECT_EQ(SendNativeRequest(c.url, options), "") << c.url;
    EXPECT_EQ(status, FromUtf8(c.text)) << c.url;
    EXPECT_EQ(headersOut, "kept") << c.url;
  }

  Text block = "X-Fine: 1\r\nno colon";
  Text status;
  RequestOptions refused;
  refused.headers = &block;
  refused.normaliseHeaders = false;
  refused.statusText = &status;
  EXPECT_EQ(SendNativeRequest(server_.Url("/silent"), refused), "");
  EXPECT_EQ(status, FromUtf8("710 设置协议头失败!"));
}

TEST_F(NativeRequestTest, ReadCutShortKeepsWhatArrivedAndSaysSo) {
  CannedResponse shortBody{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial"};
  CannedResponse resetBody = shortBody;
  resetBody.ending = CannedResponse::Ending::kReset;
  CannedResponse stalled = shortBody;
  stalled.ending = CannedResponse::Ending::kHang;
  server_.On("/short", shortBody);
  server_.On("/reset", resetBody);
  server_.On("/stalled", stalled);
  for (const char* target : {"/short", "/reset", "/stalled"}) {
    Text status;
    Text headersOut;
    Bytes raw;
    RequestOptions options;
    options.timeoutSeconds = 1;
    options.statusText = &status;
    options.headersOut = &headersOut;
    options.bodyBytesOut = &raw;
    EXPECT_EQ(SendNativeRequest(server_.Url(target), options), "partial") << target;
    EXPECT_EQ(status, FromUtf8("713 读取数据失败!")) << target;
    EXPECT_TRUE(headersOut.starts_with("HTTP/1.1 200 OK\r\n")) << target;
    EXPECT_EQ(raw, "partial") << target;
  }
}

TEST_F(NativeRequestTest, ServerAndProxyCredentials) {
  server_.On("http://far.example/x", HttpResponse("HTTP/1.1 200 OK", {}, "ok"));
  RequestOptions options;
  options.proxy = "127.0.0.1:" + std::to_string(server_.port());
  options.user = "user";
  options.password = "pass";
  options.proxyUser = "pu";
  options.proxyPassword = "pp";
  options.addDefaultHeaders = false;
  EXPECT_EQ(SendNativeRequest("http://far.example/x", options), "ok");
  const std::string request = server_.Requests().back();
  EXPECT_NE(request.find("\r\nAuthorization: Basic dXNlcjpwYXNz\r\n"), std::string::npos);
  EXPECT_NE(request.find("\r\nProxy-Authorization: Basic cHU6cHA=\r\n"), std::string::npos);
}

TEST_F(NativeRequestTest, PlainUrlReader) {
  server_.On("/dyndns/getip", HttpResponse("HTTP/1.1 200 OK", {}, "203.0.113.7", false));
  EXPECT_EQ(ReadUrl(server_.Url("/dyndns/getip")), "203.0.113.7");
  EXPECT_TRUE(server_.Requests().back().starts_with("GET /dyndns/getip HTTP/1.0\r\n"));
  EXPECT_EQ(
      server_.LastHeadLines(),
      (Lines{server_.HostLine(), "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
             "Accept: */*"}));
  EXPECT_EQ(ReadUrl("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/"), "");
}

}  // namespace
}  // namespace qf
