// The price reply against the share-code and coupon-check stand-ins.
#include "coupon/price_reply.h"

#include <gtest/gtest.h>

#include "fakes/coupon_service_fakes.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::CouponServiceFakes;
using testing::Gbk;
using testing::PercentEveryByte;

const Text kEuroCode =
    "\x80"
    "AbCdEfGhIjK"
    "\x80";

TEST(PriceReply, CouponCommissionOrNothing) {
  const struct {
    const char* coupon;
    const char* after;
    const char* rate;
    Text reply;
  } cases[] = {
      {"5", "14.9", "0",
       Gbk("☆商品名：好物\r\n☆优惠券价格：5\r\n☆券后价：14.9\r\n☆淘口令：") + kEuroCode},
      {"0", "9.9", "20.00",
       Gbk("☆商品名：好物\r\n☆没有隐藏券\r\n☆价格：9.9\r\n☆淘口令：") + kEuroCode},
      {"", "9.9", "20.00",
       Gbk("☆商品名：好物\r\n☆没有隐藏券\r\n☆价格：9.9\r\n☆淘口令：") + kEuroCode},
      {"0.00000005", "9.9", "0", Gbk("此商品没有优惠！")},
  };
  for (const auto& c : cases) {
    CouponServiceFakes fakes;
    fakes.PricesFor("5566", c.coupon, c.after, c.rate);
    EXPECT_EQ(BuildPriceReply("5566", Gbk("好物"), fakes.Services()), c.reply) << c.coupon;
  }
}

TEST(PriceReply, RequestsInOrderWithTheirParameters) {
  CouponServiceFakes fakes;
  fakes.PricesFor("5566", "5", "14.9", "20");
  BuildPriceReply("5566", Gbk("好物"), fakes.Services());
  const auto shareCode = fakes.sharecode.Requests();
  ASSERT_EQ(shareCode.size(), 2u);
  EXPECT_TRUE(shareCode[0].starts_with(
      "GET /tkl/TbkPrivilegeGet?apikey=AbCdEfGhIj&itemid=5566&siteid=12345678&adzoneid=987654321"
      "&uid=654321 HTTP/1.0\r\n"));
  EXPECT_TRUE(fakes.check.Requests().at(0).starts_with(
      "GET /checkWhole?appkey=fedcba9876543210fedcba9876543210&k=%E5%A5%BD%E7%89%A9 HTTP/1.0"));
  // With a coupon the coupon click link is shared, every byte encoded; the picture as it is.
  EXPECT_TRUE(shareCode[1].starts_with("GET /tbk/TbkTpwdCreate?text=%E5%A5%BD%E7%89%A9&url=" +
                                       PercentEveryByte("https://s.click.example/c1") +
                                       "&pic=https://img.example/p.jpg HTTP/1.0\r\n"));
}

TEST(PriceReply, NothingReachableHasNoOffer) {
  CouponServices services;
  services.sharecodeApi = services.couponCheck = "http://127.0.0.1:1";
  EXPECT_EQ(BuildPriceReply("", "", services), Gbk("此商品没有优惠！"));
  EXPECT_TRUE(CountsAsZero("0.0000001"));
  EXPECT_FALSE(CountsAsZero("-0.00000011"));
  EXPECT_TRUE(CountsAsZero("abc"));
}

}  // namespace
}  // namespace qf
