// Where the coupon lookup finds its outside services, and the operator's credentials there. Each
// address is a base, "scheme://host[:port]", to which the fixed paths are appended, except the
// two files (whole addresses) and the hosts written into patterns and links.
#pragma once

#include <array>
#include <string>

#include "text/text.h"

namespace qf {

struct CouponServices {
  Text gateway;                          // the marketplace's mobile API gateway
  std::array<std::string, 4> itemHosts;  // item, mobile item, Tmall detail, Tmall mobile detail
  Text clickHost;                        // the affiliate click host (host name only)
  Text couponConvert;                    // the coupon conversion service
  Text switchFile;                       // whole address
  Text channelFile;                      // whole address
  Text couponLanding;                    // written into coupon page links, never fetched
  Text openPlatform;                     // the open platform's web API tool host
  Text sharecodeApi;                     // the share-code service's API host
  Text couponCheck;                      // the coupon-check service
  Text sharecodeLogo;                    // whole address: the logo of created share codes

  Text openAppKey;
  Text openAppSecret;
  Text affiliatePid;
  Text accountToken;
  Text accountCookie;
  Text gatewayAppKey;
  Text sharecodeApiKey;
  Text sharecodeUid;
  Text couponCheckAppKey;
};

}  // namespace qf
