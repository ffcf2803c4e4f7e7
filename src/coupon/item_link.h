// Walks an affiliate click link's redirects and script-driven jumps, one request at a time, until
// it holds an item page address; "链接有误" after ten passes without one.
#pragma once

#include "coupon/coupon_services.h"
#include "text/text.h"

namespace qf {

inline constexpr int kItemLinkPasses = 10;

Text ResolveItemLink(const Text& link, const CouponServices& services);

// "链接有误" in code page 936.
const Text& BadLinkText();

}  // namespace qf
