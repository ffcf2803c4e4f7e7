// Share codes through the running program: the stand-ins are asked, and the reply goes back in
// the same exchange.
#include <gtest/gtest.h>

#include "fakes/coupon_service_fakes.h"
#include "support/gbk.h"
#include "support/quillfern_process.h"
#include "support/raw_client.h"
#include "text/code_page.h"

namespace qf {
namespace {

using testing::BodyOf;
using testing::CouponServiceFakes;
using testing::Gbk;
using testing::HttpResponse;
using testing::Post;

class CouponProcess : public testing::QuillfernProcessTest {
 protected:
  int StartWithFakes(const std::string& gatewayKey = CouponServiceFakes::kGatewayKey) {
    const CouponServices s = fakes_.Services();
    WriteSettings(
        "token", Gbk("欢迎"), "",
        "[services]\r\ngateway=" + s.gateway + "\r\nitem_hosts=" + s.itemHosts[0] + "," +
            s.itemHosts[1] + "," + s.itemHosts[2] + "," + s.itemHosts[3] +
            "\r\nclick_host=" + s.clickHost + "\r\ncoupon_convert=" + s.couponConvert +
            "\r\nswitch_file=" + s.switchFile + "\r\nchannel_file=" + s.channelFile +
            "\r\ncoupon_landing=" + s.couponLanding + "\r\nopen_platform=" + s.openPlatform +
            "\r\nsharecode_api=" + s.sharecodeApi + "\r\ncoupon_check=" + s.couponCheck +
            "\r\nsharecode_logo=" + s.sharecodeLogo + "\r\n[credentials]\r\nopen_app_key=" +
            s.openAppKey + "\r\nopen_app_secret=" + s.openAppSecret +
            "\r\naffiliate_pid=" + s.affiliatePid + "\r\naccount_token=" + s.accountToken +
            "\r\naccount_cookie=" + s.accountCookie + "\r\ngateway_app_key=" + gatewayKey +
            "\r\nsharecode_api_key=" + s.sharecodeApiKey + "\r\nsharecode_uid=" + s.sharecodeUid +
            "\r\ncoupon_check_app_key=" + s.couponCheckAppKey + "\r\n");
    return Start();
  }

  // The text reply's content (UTF-8); "" for the head with an empty body.
  std::string Reply(std::string_view message) {
    const std::string body = BodyOf(Ask(port_, Post("text", Gbk(message))));
    const size_t start = body.find("<Content><![CDATA[");
    if (start == std::string::npos) return body;
    return body.substr(start + 18, body.find("]]></Content>") - start - 18);
  }

  void ClickChainTo(const std::string& itemId) {
    const std::string item = fakes_.click.Url("/item.htm?id=" + itemId + "&ali=1");
    fakes_.click.On("/s.click?e=1", HttpResponse("HTTP/1.1 302 Found", {"Location: " + item}, ""));
    fakes_.click.On("/item.htm?id=" + itemId + "&ali=1",
                    HttpResponse("HTTP/1.1 302 Found", {"Location: " + item}, ""));
  }

  CouponServiceFakes fakes_;
  int port_ = 0;
};

TEST_F(CouponProcess, ClickLinkPaths) {
  ClickChainTo("5566");
  fakes_.GatewayKnows("AbCdEfGhIjK", "好物", fakes_.click.Url("/s.click?e=1"));
  fakes_.GatewayKnows("BbCdEfGhIjK", "好物", fakes_.click.Url("/s.click?e=nowhere"));
  fakes_.click.On("/s.click?e=nowhere", HttpResponse("HTTP/1.1 200 OK", {}, "nothing"));
  fakes_.PricesFor("5566", "5", "14.9", "0");
  port_ = StartWithFakes();
  ASSERT_GT(port_, 0);
  // U+20AC (the euro sign) frames the code in the UTF-8 reply.
  EXPECT_EQ(Reply("复制￥AbCdEfGhIjK￥打开"),
            ToUtf8(Gbk("☆商品名：好物\r\n☆优惠券价格：5\r\n☆券后价：14.9\r\n☆淘口令：")) +
                "\xE2\x82\xAC"
                "AbCdEfGhIjK\xE2\x82\xAC");
  fakes_.PricesFor("5566", "0", "9.9", "20.00");
  EXPECT_EQ(Reply("￥AbCdEfGhIjK￥"),
            ToUtf8(Gbk("☆商品名：好物\r\n☆没有隐藏券\r\n☆价格：9.9\r\n☆淘口令：")) +
                "\xE2\x82\xAC"
                "AbCdEfGhIjK\xE2\x82\xAC");
  EXPECT_EQ(Reply("￥BbCdEfGhIjK￥"), "此商品没有优惠！");
}

TEST_F(CouponProcess, CodeSwapPaths) {
  fakes_.GatewayKnows("AbCdEfGhIjK", "礼金", "https://uland.example/taolijin/x");
  fakes_.GatewayKnows("CbCdEfGhIjK", "好物", "https://m.example/x");
  fakes_.GatewayKnows("DbCdEfGhIjK", "好物", "https://m.example/y",
                      "https://item.example.com/i5566.htm");
  fakes_.ConvertKnows("https://m.example/x", "5566", "abc123");
  fakes_.PricesFor("5566", "5", "14.9", "0");
  port_ = StartWithFakes();
  ASSERT_GT(port_, 0);
  // The bare new code, wherever the old one stands in any letter case.
  EXPECT_EQ(Reply("复制￥AbCdEfGhIjK￥打开 abcdefghijk"), "复制￥NewCode1234￥打开 NewCode1234");
  EXPECT_EQ(Reply("复制￥CbCdEfGhIjK￥打开"), "复制￥(NewCode1234)￥打开");
  EXPECT_NE(Reply("￥DbCdEfGhIjK￥").find("☆优惠券价格：5"), std::string::npos);
  fakes_.ToolCreates("");
  EXPECT_EQ(Reply("复制￥CbCdEfGhIjK￥打开"), "");  // no code created: the empty answer
}

TEST_F(CouponProcess, RefusedOrUnknownCodes) {
  port_ = StartWithFakes("99999999");  // the gateway never accepts this key
  ASSERT_GT(port_, 0);
  EXPECT_EQ(Reply("复制￥AbCdEfGhIjK￥打开"), "");
  EXPECT_EQ(fakes_.gateway.Requests().size(), 3u);
}

TEST_F(CouponProcess, ExpiredCodeHasNoLink) {
  port_ = StartWithFakes();
  ASSERT_GT(port_, 0);
  EXPECT_EQ(Reply("复制￥ZzZzZzZzZzZ￥打开"), "");
  EXPECT_EQ(fakes_.gateway.Requests().size(), 2u);
}

}  // namespace
}  // namespace qf
