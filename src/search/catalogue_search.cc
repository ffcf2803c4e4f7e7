#include "search/catalogue_search.h"

#include "net/header_cookie_rules.h"
#include "net/requesters.h"
#include "script/json_object.h"
#include "search/reply_marks.h"
#include "text/code_page.h"
#include "text/script_unescape.h"
#include "text/url_encoding.h"

namespace qf {
namespace {

constexpr int kListLimit = 5;

Bytes Fetch(const Text& address, Text* headers) {
  RequestOptions options;
  options.method = 0;
  options.headers = headers;
  return SendObjectRequest(address, options);
}

}  // namespace

bool ReadCatalogueAnswer(const Bytes& body, JsonObject& json) {
  const Bytes text = body.substr(0, body.find('\0'));
  // Real JSON first: raw UTF-8 titles and escaped quotes come out right only this way.
  if (json.ParseUtf8(text)) return true;
  return json.Parse(TrimSpaces(ScriptUnescape(text)));
}

Text SearchCatalogue(const Text& title, const MovieServices& services) {
  JsonObject da;
  ReadCatalogueAnswer(Fetch(services.catalogue + "/api.php?m=so&name=" +
                                UrlEncode(title, {.keepLettersDigits = true, .utf8 = true}),
                            nullptr),
                      da);
  const int n = da.Count("data");
  const int k = n > kListLimit ? kListLimit : n;

  Text result;
  JsonObject link;
  for (int i = 1; i <= k; ++i) {
    const std::string item = "data[" + std::to_string(i - 1) + "]";
    Text accountHeader = "Cookie: name=" + services.catalogueAccount + ";";
    ReadCatalogueAnswer(
        Fetch(services.catalogue + "/api.php?m=lnk&id=" + da.GetText(item + ".num") + "&url_type=2",
              &accountHeader),
        link);
    const Text entry =
        FilmMark() + da.GetText(item + ".name") + "\r\n" + LinkMark() + link.GetText("lnk");
    result = i == 1 ? entry : entry + "\r\n" + result;
  }
  return result;
}

}  // namespace qf
