#include "coupon/password_detail.h"

#include <openssl/evp.h>

#include <array>

#include "net/requesters.h"
#include "script/json_object.h"
#include "text/code_page.h"
#include "text/lower_hex.h"
#include "text/text_search.h"
#include "text/text_slicing.h"
#include "text/unix_timestamp.h"
#include "text/url_encoding.h"

namespace qf {
namespace {

constexpr std::string_view kApi = "com.taobao.redbull.getpassworddetail";
constexpr std::string_view kVersion = "1.0";

// The answers after which a fresh token is fetched and the call tried again.
bool AsksForAFreshToken(std::string_view answer) {
  static const std::array<Text, 3> kRefusals = {FromUtf8("FAIL_SYS_TOKEN_EMPTY::令牌为空"),
                                                FromUtf8("FAIL_SYS_TOKEN_EXOIRED::令牌过期"),
                                                FromUtf8("FAIL_SYS_ILLEGAL_ACCESS::非法请求")};
  for (const Text& refusal : kRefusals) {
    if (FindText(answer, refusal, 1, true) != kNotFound) return true;
  }
  return false;
}

}  // namespace

Text Md5Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) {
    return Text();
  }
  return LowerHex(digest, length);
}

Text PasswordData(const Text& code) {
  JsonObject da;
  da.SetText("password", code);
  return da.ToText();
}

Text FetchPasswordDetail(const Text& code, const CouponServices& services) {
  const Text data = PasswordData(code);
  const Text dataUtf8 = ToUtf8(data);
  const Text dataEncoded = UrlEncode(data, {.keepLettersDigits = true, .utf8 = true});
  Text cookies;
  Text token;
  Text answer;
  for (int attempt = 1; attempt <= kGatewayAttempts; ++attempt) {
    const Text t = UnixTimestamp(false);
    const Text sign = Md5Hex(token + "&" + t + "&" + services.gatewayAppKey + "&" + dataUtf8);
    const Text query = "appKey=" + services.gatewayAppKey + "&api=" + Text(kApi) +
                       "&v=" + Text(kVersion) + "&data=" + dataEncoded + "&t=" + t +
                       "&sign=" + sign;
    RequestOptions options;
    options.noRedirect = true;
    options.cookies = &cookies;  // both: this attempt's cookies go out with the next
    options.cookiesOut = &cookies;
    answer = Utf8BytesToText(SendObjectRequest(
        services.gateway + "/h5/" + Text(kApi) + "/" + Text(kVersion) + "/?" + query, options));
    if (!AsksForAFreshToken(answer)) break;
    token = TextBetween(cookies, "_m_h5_tk=", "_");
  }
  return answer;
}

}  // namespace qf
