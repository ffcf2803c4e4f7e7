#include "coupon/coupon_links.h"

#include "coupon/name_value_list.h"
#include "net/charset_conversion.h"
#include "net/requesters.h"
#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"
#include "text/url_encoding.h"

namespace qf {
namespace {

constexpr std::string_view kToolAgent =
    "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/50.0.2661.87 Safari/537.36";

Bytes Get(const Text& address) {
  RequestOptions options;
  return SendSessionRequest(address, options);
}

// UTF-8 bytes as code page 936 text, the conversion's defaults.
Text FromServiceUtf8(const Bytes& body) {
  Text from;
  Text to;
  return ConvertCharset(body, from, to);
}

struct CouponIds {
  Text item;
  Text coupon;
};

// The conversion service is asked in every case, even when the link itself carries both ids.
CouponIds IdsFor(const Text& link, const CouponServices& services) {
  const Bytes body = Get(services.couponConvert + "/api/t/tkl/tqehy?ehyurl=" + link);
  const Text answer = body.substr(0, body.find('\0'));
  if (FindText(link, "&itemId=") != kNotFound) {
    return {TextBetween(link, "&itemId=", "&pid"), TextBetween(link, "activityId=", "&")};
  }
  return {TextBefore(TextBefore(TextBetween(answer, "htm?id=", "yhqurl"), ","), "\""),
          TextBefore(TextAfterLast(answer, "&activityId="), "\"")};
}

}  // namespace

Text LookUpCouponIds(const Text& link, const CouponServices& services) {
  const CouponIds ids = IdsFor(link, services);
  return FromUtf8("商品id=") + ids.item + FromUtf8("券id=") + ids.coupon;
}

Text CreateShareCode(const Text& appKey, const Text& appSecret, const Text& text, const Text& link,
                     const Text& logo, const CouponServices& services) {
  const Bytes switchBody = Get(services.switchFile);
  const bool convert =
      FindText(switchBody.substr(0, switchBody.find('\0')), FromUtf8("开")) != kNotFound;
  const Text channel = FromServiceUtf8(Get(services.channelFile));
  const Text pid = TextBetween(channel, "PID=", FromUtf8("渠道ID"));
  const Text channelId = TextAfterLast(channel, FromUtf8("渠道ID="));

  Text linkParameter = link;
  if (convert) {
    const CouponIds ids = IdsFor(link, services);
    linkParameter =
        UrlEncode(services.couponLanding + "/coupon/edetail?activityId=" + ids.coupon +
                  "&relationId=" + channelId + "&itemId=" + ids.item + "&pid=" + pid + "&af=1");
  }
  const Text parameters = text + "&url=" + linkParameter + "&logo=" + logo +
                          "&ext=&appSecret=" + appSecret +
                          "&appSource=1&_tb_token_=" + services.accountToken;
  const Text address = services.openPlatform +
                       "/handler/tools/getApiResult.json?isEn=false&env=2&format=json&apiName="
                       "taobao.tbk.tpwd.create&appKey=" +
                       appKey + "&user_id=&text=" + parameters;

  NameValueList lines;
  lines.Add("User-Agent", kToolAgent);
  Text headers = lines.ToHeaderLines();
  Text cookies = services.accountCookie;
  Bytes body;
  RequestOptions options;
  options.method = 0;
  options.cookies = &cookies;
  options.headers = &headers;
  options.bodyBytesOut = &body;
  SendNativeRequest(address, options);
  const Text answer = FromServiceUtf8(body);
  const Text yen = FromUtf8("￥");
  return yen + TextBetween(answer, yen, yen) + yen;
}

}  // namespace qf
