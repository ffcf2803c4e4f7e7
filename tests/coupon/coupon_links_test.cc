// The operator's share codes against the conversion, file and open-platform stand-ins.
#include "coupon/coupon_links.h"

#include <gtest/gtest.h>

#include "fakes/coupon_service_fakes.h"
#include "support/gbk.h"

namespace qf {
namespace {

using testing::CouponServiceFakes;
using testing::Gbk;
using testing::HttpResponse;
using testing::PercentDecode;
using testing::PercentEveryByte;

constexpr const char* kLink = "https://uland.example/taolijin/x?e=1";

class CouponLinksTest : public ::testing::Test {
 protected:
  Text Create(const Text& link) {
    const CouponServices s = fakes_.Services();
    return CreateShareCode(s.openAppKey, s.openAppSecret, "Brambletide", link, s.sharecodeLogo, s);
  }
  std::string ToolTarget() const {
    const std::string request = fakes_.tool.Requests().back();
    return request.substr(4, request.find(" HTTP/") - 4);
  }
  CouponServiceFakes fakes_;
};

TEST_F(CouponLinksTest, SwitchOffSharesTheLinkAsItIs) {
  EXPECT_EQ(Create(kLink), Gbk("￥NewCode1234￥"));
  EXPECT_EQ(ToolTarget(),
            "/handler/tools/getApiResult.json?isEn=false&env=2&format=json&apiName="
            "taobao.tbk.tpwd.create&appKey=23456789&user_id=&text=Brambletide&url=" +
                std::string(kLink) +
                "&logo=http://img.example/logo.png&ext=&appSecret="
                "0123456789abcdef0123456789abcdef&appSource=1&_tb_token_=0a1b2c3d4e5f");
  // Both files are read on every call; the conversion service is not asked.
  EXPECT_EQ(fakes_.files.Requests().size(), 2u);
}

TEST_F(CouponLinksTest, SwitchOnSharesTheCouponPageFullyEncoded) {
  fakes_.ServeSwitch(true);
  fakes_.ConvertKnows(kLink, "5566", "abc123");
  Create(kLink);
  EXPECT_EQ(CouponServiceFakes::Param(fakes_.tool.Requests().back(), "url"),
            PercentEveryByte("https://uland.example/coupon/edetail?activityId=abc123"
                             "&relationId=777&itemId=5566&pid="
                             "mm_111111111_22222222_333333333&af=1"));
}

TEST_F(CouponLinksTest, IdsFromTheLinkItselfAndAPidEndingInALineBreak) {
  fakes_.ServeSwitch(true);
  fakes_.ServeChannel("PID=mm_1_2_3\r\n渠道ID=9");
  const std::string link = "https://x.example/?activityId=A1&itemId=77&pid=p";
  Create(link);
  EXPECT_EQ(PercentDecode(CouponServiceFakes::Param(fakes_.tool.Requests().back(), "url")),
            "https://uland.example/coupon/edetail?activityId=A1&relationId=9&itemId=77&pid="
            "mm_1_2_3\r\n&af=1");
  // The conversion service is still asked.
  EXPECT_EQ(fakes_.files.Requests().size(), 3u);
  EXPECT_EQ(LookUpCouponIds(link, fakes_.Services()), Gbk("商品id=77券id=A1"));
}

TEST_F(CouponLinksTest, ConversionAnswerGivesTheIds) {
  fakes_.ConvertKnows(kLink, "5566", "abc123");
  EXPECT_EQ(LookUpCouponIds(kLink, fakes_.Services()), Gbk("商品id=5566券id=abc123"));
  EXPECT_EQ(LookUpCouponIds("https://nothing.example/", fakes_.Services()), Gbk("商品id=券id="));
}

TEST_F(CouponLinksTest, AnswersWithoutACodeOrWithSeveral) {
  fakes_.ToolCreates("");
  EXPECT_EQ(Create(kLink), Gbk("￥￥"));
  fakes_.ToolCreates("First000001￥ and ￥Second00002");
  EXPECT_EQ(Create(kLink), Gbk("￥First000001￥"));
  CouponServices loggedOut = fakes_.Services();
  loggedOut.accountCookie = "cookie2=expired";
  EXPECT_EQ(CreateShareCode("k", "s", "Brambletide", kLink, "", loggedOut), Gbk("￥￥"));
}

}  // namespace
}  // namespace qf
