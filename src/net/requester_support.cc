#include "net/requester_support.h"

#include "net/header_cookie_rules.h"

namespace qf {

void AppendIfMissing(Text& block, std::string_view probe, std::string_view line) {
  if (!ContainsIgnoringCase(block, probe)) block += line;
}

void SettleResponseCookies(RequestOptions& options, std::string_view headerBlock) {
  Text scratch;
  Text& cookiesOut = FieldOr(options.cookiesOut, scratch);
  cookiesOut.clear();
  cookiesOut = CollectResponseCookies(headerBlock);
  if (options.mergeCookies && options.cookies != nullptr) {
    // Through a copy: when both fields name one variable, MergeCookies writes it first.
    Text merged = MergeCookies(*options.cookies, cookiesOut);
    cookiesOut = std::move(merged);
  }
}

long IdleSeconds(long milliseconds) {
  return milliseconds < 1000 ? 1 : (milliseconds + 999) / 1000;
}

}  // namespace qf
