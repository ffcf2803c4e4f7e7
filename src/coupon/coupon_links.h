// The operator's own share code for a link: the coupon conversion service finds the item and
// coupon behind a link, the coupon page link is built for the operator's PID and channel, and the
// open platform's web tool turns a link into a share code under the operator's account.
#pragma once

#include "coupon/coupon_services.h"
#include "text/text.h"

namespace qf {

// "商品id=" + item id + "券id=" + coupon id; either may be empty.
Text LookUpCouponIds(const Text& link, const CouponServices& services);

// "￥" + the created code + "￥"; just the two marks when no code came back. The switch file
// (converting the link to a coupon page link when it holds "开") and the channel file (PID and
// channel id) are read on every call.
Text CreateShareCode(const Text& appKey, const Text& appSecret, const Text& text, const Text& link,
                     const Text& logo, const CouponServices& services);

}  // namespace qf
