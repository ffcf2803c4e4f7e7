// Answers a follower's message holding a marketplace share code: asks the gateway what the code
// stands for, then, by the kind of link behind it, replies with the item's coupon and price and a
// new share code, or sends the message back with the operator's own code in place.
#pragma once

#include "coupon/coupon_services.h"
#include "text/text.h"

namespace qf {

// The reply text (code page 936); may be empty.
Text LookUpCoupon(const Text& message, const CouponServices& services);

// The item id in a gateway answer on the path for ordinary links: the digits after
// "item.htm?id=" for such an address, else the text between "com/" and ".htm" without its "i"s
// ("i123456" gives "123456"). Empty when the answer names no item page.
Text ItemIdOfAnswer(const Text& answer);

}  // namespace qf
