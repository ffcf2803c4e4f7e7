#include "coupon/item_link.h"

#include "coupon/item_page_pattern.h"
#include "net/requesters.h"
#include "script/regex_object.h"
#include "text/code_page.h"
#include "text/text_slicing.h"
#include "text/url_encoding.h"

namespace qf {
namespace {

constexpr std::string_view kJumpMarker = "var real_jump_address = '";

struct Fetched {
  Text page;
  Text headers;
  int status = 0;
};

Fetched Fetch(const Text& address, Text* headers, bool mergeCookies) {
  Fetched fetched;
  RequestOptions options;
  options.method = 0;
  options.headers = headers;
  options.noRedirect = true;
  options.mergeCookies = mergeCookies;
  options.headersOut = &fetched.headers;
  options.statusOut = &fetched.status;
  fetched.page = Utf8BytesToText(SendObjectRequest(address, options));
  return fetched;
}

Text LocationOf(const Text& headers) {
  Text location = TextBetween(headers, "Location:", "\r\n", 0, true);
  return RemoveBlanks(location);
}

}  // namespace

const Text& BadLinkText() {
  static const Text text = FromUtf8("链接有误");
  return text;
}

Text ResolveItemLink(const Text& link, const CouponServices& services) {
  const Text itemPage = ItemPagePattern(services.itemHosts);
  const Text clickPath = services.clickHost + "/t";
  RegexObject regex;
  Text current = link;
  Text jump;
  Text referer;
  Text extraHeader;
  bool refererMode = false;
  int status = 0;
  for (int pass = 1; pass <= kItemLinkPasses; ++pass) {
    if (status == 200 && CountOccurrences(jump, clickPath) > 0) {
      extraHeader = "Referer: " + referer;
      refererMode = true;
    }
    regex.Match(itemPage, current);
    if (regex.MatchCount() > 0) return current;

    Fetched fetched;
    if (refererMode) {
      // The requester writes its completed block back into the extra header, which later passes
      // then send again.
      fetched = Fetch(jump, &extraHeader, false);
      referer = jump;
      jump = TextBetween(fetched.page, kJumpMarker, "'");
    } else {
      fetched = Fetch(current, nullptr, true);
      referer = current;
      const Text decoded = UrlDecode(TextBetween(fetched.page, kJumpMarker, "'"));
      jump = TextAfterLast(ReplaceMany(decoded, {{"amp;", ""}}), "ref=");
    }
    status = fetched.status;
    if (status == 302) {
      current = LocationOf(fetched.headers);
      const Fetched hop = Fetch(current, nullptr, false);
      status = hop.status;
      current = LocationOf(hop.headers);
    }
  }
  return BadLinkText();
}

}  // namespace qf
