// Certificates are verified unless the operator switches it off: a server whose certificate no
// trust store knows never sees the request, and with verification off it does.
#include <gtest/gtest.h>

#include "fakes/fake_http_server.h"
#include "net/requesters.h"
#include "net/tls_policy.h"
#include "text/code_page.h"

namespace qf {
namespace {

using testing::FakeHttpServer;
using testing::HttpResponse;

class TlsVerificationTest : public ::testing::Test {
 protected:
  TlsVerificationTest() : server_(FakeHttpServer::Security::kSelfSignedTls) {
    server_.On("/account", HttpResponse("HTTP/1.1 200 OK", {}, "secret page"));
  }
  void TearDown() override { SetTlsVerification(true); }

  // One request through each requester, the account cookie along.
  std::vector<Text> AskAll() {
    std::vector<Text> bodies;
    const std::string url = server_.Url("/account");
    Text cookies = "session=operator";
    RequestOptions object;
    object.cookies = &cookies;
    bodies.push_back(SendObjectRequest(url, object));
    RequestOptions session;
    session.cookies = &cookies;
    bodies.push_back(SendSessionRequest(url, session));
    Text status;
    RequestOptions native;
    native.cookies = &cookies;
    native.statusText = &status;
    bodies.push_back(SendNativeRequest(url, native));
    if (bodies.back().empty()) bodies.back() = status;
    bodies.push_back(ReadUrl(url));
    return bodies;
  }

  FakeHttpServer server_;
};

TEST_F(TlsVerificationTest, UnknownCertificateIsRefusedByDefault) {
  ASSERT_TRUE(TlsVerification());
  EXPECT_EQ(AskAll(), (std::vector<Text>{"", "", FromUtf8("711 发送请求失败!"), ""}));
  EXPECT_TRUE(server_.Requests().empty());  // the cookie never left
}

TEST_F(TlsVerificationTest, SwitchedOffAnyCertificateIsAccepted) {
  SetTlsVerification(false);
  EXPECT_EQ(AskAll(), std::vector<Text>(4, "secret page"));
  ASSERT_EQ(server_.Requests().size(), 4u);
  EXPECT_NE(server_.Requests()[0].find("\r\nCookie: session=operator\r\n"), std::string::npos);
}

}  // namespace
}  // namespace qf
