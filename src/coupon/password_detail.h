// The gateway call that tells what a share code stands for. The gateway answers only signed
// requests carrying the token it hands out in a cookie: the first attempt goes out with an empty
// token, is refused and receives the cookie, and the next is signed with the token.
#pragma once

#include "coupon/coupon_services.h"
#include "text/text.h"

namespace qf {

inline constexpr int kGatewayAttempts = 3;

// The gateway's answer (code page 936), returned whole even when it reports a failure; "" when no
// body came back.
Text FetchPasswordDetail(const Text& code, const CouponServices& services);

// The data parameter for `code`: {"password":"<code>"} as the JSON object writes it.
Text PasswordData(const Text& code);

// 32 lower-case hex digits of the MD5 digest of `bytes`.
Text Md5Hex(std::string_view bytes);

}  // namespace qf
