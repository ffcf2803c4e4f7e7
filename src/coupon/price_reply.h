// The follower's answer for one marketplace item: title, hidden coupon and price after it (or the
// price alone when only a commission exists) and a new share code; "此商品没有优惠！" when neither
// a coupon nor a commission shows up.
#pragma once

#include "coupon/coupon_services.h"
#include "text/text.h"

namespace qf {

Text BuildPriceReply(const Text& itemId, const Text& title, const CouponServices& services);

// Whether a number read from a service answer counts as zero (|x| <= 1e-7; no number at all
// counts as 0).
bool CountsAsZero(std::string_view number);

}  // namespace qf
