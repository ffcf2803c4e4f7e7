#include "search/site_search.h"

#include "net/requesters.h"
#include "script/regex_object.h"
#include "search/link_shortener.h"
#include "search/reply_marks.h"
#include "search/site_search_pattern.h"
#include "text/code_page.h"
#include "text/text_slicing.h"
#include "text/unix_timestamp.h"
#include "text/url_encoding.h"

namespace qf {
namespace {

constexpr int kListLimit = 5;

Text CleanTitle(const Text& anchorText) {
  Text title = ReplaceMany(anchorText, {{"<b>", ""}});
  title = ReplaceMany(title, {{"</b>", ""}});
  return ReplaceMany(title, {{"</span>", ""}});
}

}  // namespace

Text SearchSite(const Text& title, const MovieServices& services) {
  const Text linkTail = "-uid-" + services.videoUid + "?" + UnixTimestamp(true);
  const Text encodedTitle = UrlEncode(ToUtf8(title));

  RequestOptions options;
  const Text page = Utf8BytesToText(
      SendObjectRequest(services.videoSearch + "/so.php?s=vod-search-wd-" + encodedTitle, options));
  RegexObject regex;
  regex.Match(kSiteAnchorPattern, page);
  const int n = regex.MatchCount();
  const int k = n > kListLimit ? kListLimit : n;

  Text list;
  for (int i = 1; i <= k; ++i) {
    const Text movieTitle = CleanTitle(regex.GroupText(i, 2));
    const Text shortLink = ShortenLink(
        services.videoShort + "/:" + regex.GroupText(i, 1) + linkTail, services.shortener);
    const Text entry = n <= kListLimit
                           ? FilmMark() + movieTitle + "\r\n" + LinkMark() + shortLink + "\r\n"
                           : LinkMark() + movieTitle + "\r\n" + shortLink + "\r\n";
    list = entry + list;
  }
  if (n > kListLimit) {
    const Text moreLink = services.videoShort + "/:" + encodedTitle + "-uid-" + services.videoUid +
                          "?" + UnixTimestamp(true);
    list += MoreMark() + FromUtf8("当前结果还有") + std::to_string(n - kListLimit) +
            FromUtf8("条数据") + ClosingMark() + "\r\n" + LinkMark() +
            ShortenLink(moreLink, services.shortener);
  }
  return list;
}

}  // namespace qf
