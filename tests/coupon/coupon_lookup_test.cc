// The three paths of the coupon lookup, in process, against all the stand-ins.
#include "coupon/coupon_lookup.h"

#include <gtest/gtest.h>

#include "fakes/coupon_service_fakes.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::CouponServiceFakes;
using testing::Gbk;
using testing::HttpResponse;
using testing::PercentDecode;

const Text kEuroCode =
    "\x80"
    "AbCdEfGhIjK"
    "\x80";

TEST(ItemIdOfAnswer, ItemPagesOfBothForms) {
  const struct {
    const char* answer;
    const char* id;
  } cases[] = {
      {"\"url\":\"https://item.example.com/i123456.htm?x=1\"", "123456"},
      {"\"url\":\"https://item.example.com/item.htm?id=5566&spm=1\"", "5566"},
      {"\"url\":\"https://item.example.com/item.htm?spm=1\"", "tem"},  // no id: the old rule
      {"\"url\":\"https://other.example/x\"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ItemIdOfAnswer(c.answer), c.id) << c.answer;
}

class CouponLookupTest : public ::testing::Test {
 protected:
  std::string ClickUrl(const std::string& target) const { return fakes_.click.Url(target); }
  CouponServiceFakes fakes_;
};

TEST_F(CouponLookupTest, ClickLinkLeadsToThePriceReply) {
  const std::string item = ClickUrl("/item.htm?id=5566&ali=1");
  fakes_.click.On("/s.click?e=1", HttpResponse("HTTP/1.1 302 Found", {"Location: " + item}, ""));
  fakes_.click.On("/item.htm?id=5566&ali=1",
                  HttpResponse("HTTP/1.1 302 Found", {"Location: " + item}, ""));
  // A link holding both marks takes this path.
  fakes_.GatewayKnows("AbCdEfGhIjK", "好物", ClickUrl("/s.click?e=1&taolijin=1"));
  fakes_.click.On("/s.click?e=1&taolijin=1",
                  HttpResponse("HTTP/1.1 302 Found", {"Location: " + item}, ""));
  fakes_.PricesFor("5566", "5", "14.9", "0");
  EXPECT_EQ(LookUpCoupon(Gbk("复制￥AbCdEfGhIjK￥打开"), fakes_.Services()),
            Gbk("☆商品名：好物\r\n☆优惠券价格：5\r\n☆券后价：14.9\r\n☆淘口令：") + kEuroCode);
}

TEST_F(CouponLookupTest, CashGiftLinkGetsTheBareNewCodeIgnoringCase) {
  fakes_.GatewayKnows("AbCdEfGhIjK", "礼金", "https://uland.example/taolijin/x");
  EXPECT_EQ(LookUpCoupon(Gbk("复制￥AbCdEfGhIjK￥打开 abcdefghijk"), fakes_.Services()),
            Gbk("复制￥NewCode1234￥打开 NewCode1234"));
  EXPECT_EQ(CouponServiceFakes::Param(fakes_.tool.Requests().back(), "url"),
            "https://uland.example/taolijin/x");
}

TEST_F(CouponLookupTest, OtherLinkNamingAnItemPageGetsThePriceReply) {
  for (const char* page :
       {"https://item.example.com/i5566.htm", "https://item.example.com/item.htm?id=5566"}) {
    CouponServiceFakes fakes;
    fakes.GatewayKnows("AbCdEfGhIjK", "好物", "https://m.example/x", page);
    fakes.PricesFor("5566", "0", "9.9", "20.00");
    EXPECT_EQ(LookUpCoupon(Gbk("￥AbCdEfGhIjK￥"), fakes.Services()),
              Gbk("☆商品名：好物\r\n☆没有隐藏券\r\n☆价格：9.9\r\n☆淘口令：") + kEuroCode)
        << page;
  }
}

TEST_F(CouponLookupTest, OtherLinkWithoutItemPageGetsTheCodeInParentheses) {
  const std::string link = "https://m.example/x";
  fakes_.GatewayKnows("AbCdEfGhIjK", "好物", link);
  fakes_.ConvertKnows(link, "5566", "abc123");
  EXPECT_EQ(LookUpCoupon(Gbk("复制￥AbCdEfGhIjK￥打开 abcdefghijk"), fakes_.Services()),
            Gbk("复制￥(NewCode1234)￥打开 abcdefghijk"));
  EXPECT_EQ(PercentDecode(CouponServiceFakes::Param(fakes_.tool.Requests().back(), "url")),
            "https://uland.example/coupon/edetail?activityId=abc123&itemId=5566&pid="
            "mm_123456789_12345678_987654321&af=1");
  // One conversion answer serves both ids.
  EXPECT_EQ(fakes_.files.Requests().size(), 3u);  // conversion, switch, channel
}

TEST_F(CouponLookupTest, NoCodeCreatedOrExpiredCodeGivesNothing) {
  fakes_.GatewayKnows("AbCdEfGhIjK", "好物", "https://m.example/x");
  fakes_.ConvertKnows("https://m.example/x", "5566", "abc123");
  fakes_.ToolCreates("");
  EXPECT_EQ(LookUpCoupon(Gbk("￥AbCdEfGhIjK￥"), fakes_.Services()), "");
  // A code the gateway does not know: no link, nothing to convert, nothing created.
  fakes_.ToolCreates("NewCode1234");
  EXPECT_EQ(LookUpCoupon(Gbk("￥ZzZzZzZzZzZ￥"), fakes_.Services()), "");
}

}  // namespace
}  // namespace qf
