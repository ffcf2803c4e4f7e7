#include "coupon/share_code.h"

#include "coupon/share_code_pattern.h"
#include "script/regex_object.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

constexpr std::string_view kYen = "\xA3\xA4";        // "￥"
constexpr std::string_view kGuillemet = "\xA1\xB6";  // "《"
constexpr std::string_view kEuro = "\x80";

Text FirstShareCodeMatch(std::string_view text) {
  RegexObject re;
  re.Match(kShareCodePattern, text);
  return re.MatchText(1);
}

}  // namespace

bool ContainsShareCode(std::string_view text) {
  return !ReplaceMany(FirstShareCodeMatch(text), {{"?", ""}}).empty();
}

Text ExtractShareCode(std::string_view text) {
  const Text first = ReplaceMany(FirstShareCodeMatch(text),
                                 {{"?", ""}, {kYen, ""}, {kGuillemet, ""}, {"$", ""}, {"(", ""}});
  return ReplaceMany(first, {{kEuro, ""}, {")", ""}});
}

}  // namespace qf
