#include "app/program_actions.h"

#include "coupon/coupon_lookup.h"
#include "net/header_cookie_rules.h"
#include "search/catalogue_search.h"
#include "search/site_search.h"

namespace qf {

MovieServices MovieServicesOf(const ServiceSettings& s) {
  return MovieServices{s.Get("video_search"), s.Get("video_short"), s.Get("shortener"),
                       s.Get("catalogue"),    s.Get("video_uid"),   s.Get("catalogue_account")};
}

CouponServices CouponServicesOf(const ServiceSettings& s) {
  CouponServices c;
  c.gateway = s.Get("gateway");
  const std::vector<Text> hosts = SplitText(s.Get("item_hosts"), ",");
  for (size_t i = 0; i < c.itemHosts.size() && i < hosts.size(); ++i) {
    c.itemHosts[i] = TrimSpaces(hosts[i]);
  }
  c.clickHost = s.Get("click_host");
  c.couponConvert = s.Get("coupon_convert");
  c.switchFile = s.Get("switch_file");
  c.channelFile = s.Get("channel_file");
  c.couponLanding = s.Get("coupon_landing");
  c.openPlatform = s.Get("open_platform");
  c.sharecodeApi = s.Get("sharecode_api");
  c.couponCheck = s.Get("coupon_check");
  c.sharecodeLogo = s.Get("sharecode_logo");
  c.openAppKey = s.Get("open_app_key");
  c.openAppSecret = s.Get("open_app_secret");
  c.affiliatePid = s.Get("affiliate_pid");
  c.accountToken = s.Get("account_token");
  c.accountCookie = s.Get("account_cookie");
  c.gatewayAppKey = s.Get("gateway_app_key");
  c.sharecodeApiKey = s.Get("sharecode_api_key");
  c.sharecodeUid = s.Get("sharecode_uid");
  c.couponCheckAppKey = s.Get("coupon_check_app_key");
  return c;
}

Text ProgramActions::SearchSite(const Text& title) {
  return qf::SearchSite(title, MovieServicesOf(services_()));
}

Text ProgramActions::SearchCatalogue(const Text& title) {
  return qf::SearchCatalogue(title, MovieServicesOf(services_()));
}

Text ProgramActions::LookUpCoupon(const Text& messageText) {
  return qf::LookUpCoupon(messageText, CouponServicesOf(services_()));
}

}  // namespace qf
