#include "coupon/price_reply.h"

#include <cmath>
#include <cstdlib>

#include "net/header_cookie_rules.h"
#include "net/requesters.h"
#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"
#include "text/url_encoding.h"

namespace qf {
namespace {

// The text's leading number, as a script's Val would read it; 0 without one.
double NumberOf(std::string_view text) {
  const std::string copy(TrimSpaces(text));
  const double value = std::strtod(copy.c_str(), nullptr);
  return std::isfinite(value) ? value : 0;  // "nan" or "inf" in an answer is no number
}

Text Without(std::string_view text, std::string_view removed) {
  return ReplaceText(text, removed, "");
}

Text Fetch(const Text& address) { return FromUtf8(ReadUrl(address)); }

}  // namespace

bool CountsAsZero(std::string_view number) { return std::fabs(NumberOf(number)) <= 1e-7; }

Text BuildPriceReply(const Text& itemId, const Text& title, const CouponServices& services) {
  const std::vector<Text> pid = SplitText(services.affiliatePid, "_");
  const Text siteId = pid.size() > 2 ? pid[2] : Text();
  const Text adzoneId = pid.size() > 3 ? pid[3] : Text();
  const Text privilege =
      Fetch(services.sharecodeApi + "/tkl/TbkPrivilegeGet?apikey=" + services.sharecodeApiKey +
            "&itemid=" + itemId + "&siteid=" + siteId + "&adzoneid=" + adzoneId +
            "&uid=" + services.sharecodeUid);
  const Text check =
      Fetch(services.couponCheck + "/checkWhole?appkey=" + services.couponCheckAppKey +
            "&k=" + UrlEncode(title, {.utf8 = true}));

  const Text segment = TextBetween(check, itemId, "guid_content");
  const Text afterCoupon = Without(TextBetween(segment, "price_after_coupons\":", ","), "\"");
  const Text couponValue = TextBetween(segment, "\"price_coupons\":\"", "\"");
  const Text rate = TextBetween(privilege, "max_commission_rate\":\"", "\"");
  const double commission = NumberOf(rate) * NumberOf(afterCoupon) * 0.01;
  const bool hasCoupon = !CountsAsZero(couponValue);
  const Text clickLink = Without(hasCoupon ? TextBetween(privilege, "coupon_click_url\":\"", "\",")
                                           : TextBetween(privilege, "\"item_url\":\"", "\","),
                                 "\\");
  const Text picture = Without(TextBetween(segment, "pic\":\"", "\""), "\\");

  const Text created =
      Fetch(services.sharecodeApi + "/tbk/TbkTpwdCreate?text=" + UrlEncode(title, {.utf8 = true}) +
            "&url=" + UrlEncode(clickLink) + "&pic=" + picture);
  // The euro sign (byte 80) stands in for the yen marks of the code.
  const Text code = ReplaceText(TextBetween(created, "\"model\":\"", "\""), FromUtf8("￥"), "\x80");

  if (hasCoupon) {
    return FromUtf8("☆商品名：") + title + FromUtf8("\r\n☆优惠券价格：") + couponValue +
           FromUtf8("\r\n☆券后价：") + afterCoupon + FromUtf8("\r\n☆淘口令：") + code;
  }
  if (std::fabs(commission) > 1e-7) {
    return FromUtf8("☆商品名：") + title + FromUtf8("\r\n☆没有隐藏券\r\n☆价格：") + afterCoupon +
           FromUtf8("\r\n☆淘口令：") + code;
  }
  return FromUtf8("此商品没有优惠！");
}

}  // namespace qf
