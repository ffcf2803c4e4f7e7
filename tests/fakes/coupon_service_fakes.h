// Stand-ins for the coupon lookup's outside services, with answers written for the tests:
// - the gateway, which refuses a request whose signature does not hold its token (as one with an
//   empty or wrong token) with "FAIL_SYS_TOKEN_EMPTY::令牌为空" and sets the token cookie, and
//   answers a correctly signed one with what the code stands for;
// - a click chain (302 hops, a page with a jump address, the referer step) ending on an item page,
//   served by `click`, which also stands for the item hosts;
// - the conversion service, the switch and channel files, the open-platform tool (which checks the
//   account cookie and the user agent), the share-code service and the coupon-check service.
#pragma once

#include <openssl/evp.h>

#include <map>
#include <mutex>
#include <string>

#include "coupon/coupon_services.h"
#include "fakes/fake_http_server.h"
#include "support/percent.h"

namespace qf::testing {

class CouponServiceFakes {
 public:
  static constexpr const char* kGatewayKey = "12574478";
  static constexpr const char* kToken = "0123456789abcdef0123456789abcdef";
  static constexpr const char* kAccountCookie = "cookie2=abc; _tb_token_=0a1b2c3d4e5f";
  static constexpr const char* kToolAgent =
      "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
      "Chrome/50.0.2661.87 Safari/537.36";

  CouponServiceFakes() {
    gateway.OnOther([this](const std::string& request) { return Gateway(request); });
    tool.OnOther([this](const std::string& request) { return Tool(request); });
    ServeSwitch(false);
    ServeChannel("PID=mm_111111111_22222222_333333333渠道ID=777");
  }

  CouponServices Services() const {
    CouponServices s;
    s.gateway = gateway.Url("");
    const std::string clickHost = "127.0.0.1:" + std::to_string(click.port());
    s.itemHosts = {clickHost, "m.item.example", "detail.example", "m.detail.example"};
    s.clickHost = clickHost;
    s.couponConvert = files.Url("");
    s.switchFile = files.Url("/switch.txt");
    s.channelFile = files.Url("/channel.txt");
    s.couponLanding = "https://uland.example";
    s.openPlatform = tool.Url("");
    s.sharecodeApi = sharecode.Url("");
    s.couponCheck = check.Url("");
    s.sharecodeLogo = "http://img.example/logo.png";
    s.openAppKey = "23456789";
    s.openAppSecret = "0123456789abcdef0123456789abcdef";
    s.affiliatePid = "mm_123456789_12345678_987654321";
    s.accountToken = "0a1b2c3d4e5f";
    s.accountCookie = kAccountCookie;
    s.gatewayAppKey = kGatewayKey;
    s.sharecodeApiKey = "AbCdEfGhIj";
    s.sharecodeUid = "654321";
    s.couponCheckAppKey = "fedcba9876543210fedcba9876543210";
    return s;
  }

  // What the gateway answers for a code (UTF-8 title); without a link the answer has no url.
  void GatewayKnows(const std::string& code, const std::string& title, const std::string& link,
                    const std::string& extra = "") {
    std::lock_guard lock(mutex_);
    std::string data = "{\"content\":\"" + title + "\",";
    if (!link.empty()) data += "\"url\":\"" + link + "\",";
    data += "\"extra\":\"" + extra + "\"}";
    codes_[code] = "{\"api\":\"com.taobao.redbull.getpassworddetail\",\"data\":" + data +
                   ",\"ret\":[\"SUCCESS::调用成功\"],\"v\":\"1.0\"}";
  }

  void ServeSwitch(bool on) {
    // Read without conversion: "开" in code page 936.
    files.On("/switch.txt", HttpResponse("HTTP/1.1 200 OK", {}, on ? "\xbf\xaa" : "off"));
  }
  void ServeChannel(const std::string& utf8) {
    files.On("/channel.txt", HttpResponse("HTTP/1.1 200 OK", {}, utf8));
  }
  // The conversion service's answer for `link`.
  void ConvertKnows(const std::string& link, const std::string& itemId, const std::string& coupon) {
    files.On("/api/t/tkl/tqehy?ehyurl=" + link,
             HttpResponse("HTTP/1.1 200 OK", {},
                          "{\"item_url\":\"https://item.example/item.htm?id=" + itemId +
                              "\",\"yhqurl\":\"https://uland.example/c?x=1&activityId=" + coupon +
                              "\"}"));
  }
  // The code the open-platform tool creates (UTF-8 answer); empty: an answer without a code.
  void ToolCreates(const std::string& code) {
    std::lock_guard lock(mutex_);
    toolCode_ = code;
  }

  // The three answers of the price reply for `itemId`.
  void PricesFor(const std::string& itemId, const std::string& coupon, const std::string& after,
                 const std::string& rate) {
    sharecode.OnOther([=](const std::string& request) {
      if (request.starts_with("GET /tkl/TbkPrivilegeGet")) {
        if (Param(request, "itemid").empty()) {
          return HttpResponse("HTTP/1.1 200 OK", {}, "{\"error\":\"itemid missing\"}");
        }
        return HttpResponse("HTTP/1.1 200 OK", {},
                            "{\"max_commission_rate\":\"" + rate +
                                "\",\"coupon_click_url\":\"https:\\/\\/s.click.example\\/c1\","
                                "\"item_url\":\"https:\\/\\/item.example\\/i1\",\"x\":1}");
      }
      return HttpResponse("HTTP/1.1 200 OK", {}, "{\"model\":\"￥AbCdEfGhIjK￥\",\"x\":1}");
    });
    check.OnOther([=](const std::string&) {
      return HttpResponse(
          "HTTP/1.1 200 OK", {},
          "{\"list\":[{\"id\":\"" + itemId + "\",\"price_coupons\":\"" + coupon +
              "\",\"price_after_coupons\":\"" + after +
              "\",\"pic\":\"https:\\/\\/img.example\\/p.jpg\",\"guid_content\":1}]}");
    });
  }

  static std::string Md5(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
      hex += kHex[digest[i] >> 4];
      hex += kHex[digest[i] & 15];
    }
    return hex;
  }

  static std::string Param(const std::string& request, const std::string& name) {
    const std::string line = request.substr(0, request.find("\r\n"));
    size_t at = line.find("?" + name + "=");
    if (at == std::string::npos) at = line.find("&" + name + "=");
    if (at == std::string::npos) return "";
    at += name.size() + 2;
    return line.substr(at, line.find_first_of("& ", at) - at);
  }

  FakeHttpServer gateway;
  FakeHttpServer click;
  FakeHttpServer files;  // conversion service, switch file, channel file
  FakeHttpServer tool;
  FakeHttpServer sharecode;
  FakeHttpServer check;

 private:
  CannedResponse Gateway(const std::string& request) {
    const std::string data = PercentDecode(Param(request, "data"));
    const std::string t = Param(request, "t");
    const std::string expected =
        Md5(std::string(kToken) + "&" + t + "&" + Param(request, "appKey") + "&" + data);
    if (Param(request, "appKey") != kGatewayKey || Param(request, "sign") != expected) {
      return HttpResponse("HTTP/1.1 200 OK",
                          {"Set-Cookie: _m_h5_tk=" + std::string(kToken) + "_1765432100123; Path=/",
                           "Set-Cookie: _m_h5_tk_enc=9f8e7d; Path=/"},
                          "{\"ret\":[\"FAIL_SYS_TOKEN_EMPTY::令牌为空\"],\"data\":{}}");
    }
    const std::string code = data.substr(13, data.size() - 15);  // {"password":"CODE"}
    std::lock_guard lock(mutex_);
    const auto it = codes_.find(code);
    return HttpResponse(
        "HTTP/1.1 200 OK", {},
        it != codes_.end() ? it->second : "{\"ret\":[\"FAIL_BIZ_NOT_FOUND::口令不存在\"]}");
  }

  CannedResponse Tool(const std::string& request) {
    const bool account =
        request.find("\r\nCookie: " + std::string(kAccountCookie) + "\r\n") != std::string::npos;
    const bool agent =
        request.find("\r\nUser-Agent: " + std::string(kToolAgent) + "\r\n") != std::string::npos;
    std::lock_guard lock(mutex_);
    if (!account || !agent) {
      return HttpResponse("HTTP/1.1 200 OK", {}, "{\"error\":\"not logged in\"}");
    }
    if (Param(request, "url").empty()) {
      return HttpResponse("HTTP/1.1 200 OK", {}, "{\"error\":\"url missing\"}");
    }
    const std::string model = toolCode_.empty() ? "" : "￥" + toolCode_ + "￥";
    return HttpResponse("HTTP/1.1 200 OK", {},
                        "{\"tbk_tpwd_create_response\":{\"data\":{\"model\":\"" + model + "\"}}}");
  }

  std::mutex mutex_;
  std::map<std::string, std::string> codes_;
  std::string toolCode_ = "NewCode1234";
};

}  // namespace qf::testing
