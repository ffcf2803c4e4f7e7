// The gateway handshake against a stand-in that checks the signature the way the gateway does.
#include "coupon/password_detail.h"

#include <gtest/gtest.h>

#include "fakes/coupon_service_fakes.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::CouponServiceFakes;
using testing::Gbk;
using testing::HttpResponse;

TEST(PasswordDetail, DataParameterAndDigest) {
  EXPECT_EQ(PasswordData("AbCdEfGhIjK"), R"({"password":"AbCdEfGhIjK"})");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(PasswordDetail, EmptyTokenIsRefusedThenTheTokenFromTheCookieSigns) {
  CouponServiceFakes fakes;
  fakes.GatewayKnows("AbCdEfGhIjK", "好物", "https://s.click.example/x");
  const Text answer = FetchPasswordDetail("AbCdEfGhIjK", fakes.Services());
  EXPECT_NE(answer.find(Gbk("好物")), Text::npos);
  const auto requests = fakes.gateway.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const std::string data = "%7B%22password%22%3A%22AbCdEfGhIjK%22%7D";
  EXPECT_EQ(CouponServiceFakes::Param(requests[0], "data"), data);
  EXPECT_TRUE(requests[0].starts_with(
      "GET /h5/com.taobao.redbull.getpassworddetail/1.0/?appKey=12574478&api="
      "com.taobao.redbull.getpassworddetail&v=1.0&data=" +
      data + "&t="));
  // The first signed text begins with "&" (no token yet).
  const std::string t0 = CouponServiceFakes::Param(requests[0], "t");
  EXPECT_EQ(t0.size(), 13u);
  EXPECT_EQ(CouponServiceFakes::Param(requests[0], "sign"),
            CouponServiceFakes::Md5("&" + t0 + "&12574478&{\"password\":\"AbCdEfGhIjK\"}"));
  // The refused attempt's cookies go out with the next.
  EXPECT_NE(requests[1].find("\r\nCookie: _m_h5_tk=" + std::string(CouponServiceFakes::kToken) +
                             "_1765432100123; _m_h5_tk_enc=9f8e7d\r\n"),
            std::string::npos);
}

TEST(PasswordDetail, ThreeRefusalsAtMost) {
  CouponServiceFakes fakes;
  CouponServices services = fakes.Services();
  services.gatewayAppKey = "99999999";  // never signs right
  const Text answer = FetchPasswordDetail("AbCdEfGhIjK", services);
  EXPECT_NE(answer.find("FAIL_SYS_TOKEN_EMPTY"), Text::npos);
  EXPECT_EQ(fakes.gateway.Requests().size(), 3u);
}

TEST(PasswordDetail, OnlyTheTokenFailuresAreRetried) {
  const struct {
    const char* answer;  // UTF-8
    size_t requests;
  } cases[] = {
      {"{\"ret\":[\"FAIL_SYS_TOKEN_EXOIRED::令牌过期\"]}", 3},
      {"{\"ret\":[\"fail_sys_illegal_access::非法请求\"]}", 3},
      {"{\"ret\":[\"FAIL_BIZ_ITEM_NOT_FOUND::商品不存在\"]}", 1},
      {"", 1},
  };
  for (const auto& c : cases) {
    testing::FakeHttpServer gateway;
    gateway.OnOther(
        [&](const std::string&) { return HttpResponse("HTTP/1.1 200 OK", {}, c.answer); });
    CouponServices services;
    services.gateway = gateway.Url("");
    FetchPasswordDetail("AbCdEfGhIjK", services);
    EXPECT_EQ(gateway.Requests().size(), c.requests) << c.answer;
  }
}

}  // namespace
}  // namespace qf
