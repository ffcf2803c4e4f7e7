#include "coupon/coupon_lookup.h"

#include "coupon/coupon_links.h"
#include "coupon/item_link.h"
#include "coupon/password_detail.h"
#include "coupon/price_reply.h"
#include "coupon/share_code.h"
#include "script/json_object.h"
#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"
#include "text/url_encoding.h"

namespace qf {
namespace {

const Text& ProductName() {
  static const Text name = "Brambletide";
  return name;
}

Text NewCodeIn(const Text& created) {
  const Text yen = FromUtf8("￥");
  return TextBetween(created, yen, yen);
}

}  // namespace

Text ItemIdOfAnswer(const Text& answer) {
  const Text part = TextBetween(answer, "com/", ".htm");
  if (part.ends_with("item")) {
    // ".../item.htm?id=N": the id is N, not what is left of "item" without its "i".
    const Text query = TextBetween(answer + "\"", "item.htm?id=", "\"");
    size_t digits = 0;
    while (digits < query.size() && query[digits] >= '0' && query[digits] <= '9') ++digits;
    if (digits > 0) return query.substr(0, digits);
  }
  return ReplaceText(part, "i", "");
}

Text LookUpCoupon(const Text& message, const CouponServices& services) {
  const Text code = ExtractShareCode(message);
  const Text answer = FetchPasswordDetail(code, services);
  JsonObject da;
  da.Parse(answer);
  const Text link = da.GetText("data.url");
  const Text title = TextBetween(answer, "content\":\"", "\",");

  if (FindText(link, "s.click") != kNotFound) {
    const Text itemLink = ResolveItemLink(link, services);
    return BuildPriceReply(TextBetween(itemLink, "item.htm?id=", "&"), title, services);
  }
  if (FindText(link, "taolijin") != kNotFound) {
    const Text newCode =
        NewCodeIn(CreateShareCode(services.openAppKey, services.openAppSecret, ProductName(), link,
                                  services.sharecodeLogo, services));
    if (code.empty()) return message;
    return ReplaceMany(message, {{code, newCode}});
  }

  const Text itemId = ItemIdOfAnswer(answer);
  if (!itemId.empty()) return BuildPriceReply(itemId, title, services);
  // One conversion answer serves for both ids.
  const Text ids = LookUpCouponIds(link, services);
  const Text couponItem = TextBetween(ids, FromUtf8("商品id="), FromUtf8("券id="));
  const Text couponId = TextAfterLast(ids, FromUtf8("券id="));
  Text shareLink;
  if (!couponItem.empty()) {
    shareLink = UrlEncode(services.couponLanding + "/coupon/edetail?activityId=" + couponId +
                          "&itemId=" + couponItem + "&pid=" + services.affiliatePid + "&af=1");
  }
  const Text newCode =
      NewCodeIn(CreateShareCode(services.openAppKey, services.openAppSecret, ProductName(),
                                shareLink, services.sharecodeLogo, services));
  if (code.empty() || newCode.empty()) return Text();
  return ReplaceText(message, code, "(" + newCode + ")");
}

}  // namespace qf
