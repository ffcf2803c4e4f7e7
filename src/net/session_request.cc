// The session requester.
#include "net/curl_transfer.h"
#include "net/header_cookie_rules.h"
#include "net/requester_support.h"
#include "net/requesters.h"
#include "net/tls_policy.h"
#include "net/url_splitter.h"
#include "text/text_search.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

constexpr std::string_view kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// The session's own time-outs.
constexpr long kConnectMs = 60000;
constexpr long kReceiveMs = 30000;

Text UserAgent(const Text& headers) {
  if (!ContainsIgnoringCase(headers, "User-Agent:")) return Text(kDefaultAgent);
  const Text agent = TrimSpaces(TextBetween(headers + "\r\n", "User-Agent:", "\r\n"));
  return agent.empty() ? HeaderValue(headers) : agent;
}

}  // namespace

Bytes SendSessionRequest(std::string_view url, RequestOptions& options) {
  Text scratchHeaders;
  Text& headers = FieldOr(options.headers, scratchHeaders);
  const bool https = url.size() >= 8 && ContainsIgnoringCase(url.substr(0, 8), "https://");
  const Text agent = UserAgent(headers);

  HttpTransfer transfer;
  transfer.method = MethodName(options.method);
  transfer.url = (https ? "https://" : "http://") + UrlHost(url) + ":" +
                 std::to_string(UrlPort(url)) + UrlPath(url);
  transfer.connectTimeoutMs = kConnectMs;
  transfer.idleTimeoutSeconds = IdleSeconds(kReceiveMs);
  transfer.proxy = options.proxy;
  transfer.followRedirects = !options.noRedirect;
  transfer.verifyTls = TlsVerification();

  if (options.addDefaultHeaders) {
    if (headers.empty()) headers = "Accept: */*";
    AppendIfMissing(headers, "Accept:", "\r\nAccept: */*");
    AppendIfMissing(headers, "Referer:", "\r\nReferer: " + Text(url));
    AppendIfMissing(headers, "Accept-Language:", "\r\nAccept-Language: zh-cn");
    if (options.method == 1) {
      AppendIfMissing(headers,
                      "Content-Type:", "\r\nContent-Type: application/x-www-form-urlencoded");
    }
  }
  if (options.normaliseHeaders) headers = NormaliseHeaderBlock(headers);
  if (options.cookies != nullptr && !options.cookies->empty()) {
    const Text& cookies = *options.cookies;
    headers +=
        FindText(cookies, "Cookie:") == kNotFound ? "\r\nCookie: " + cookies : "\r\n" + cookies;
  }

  // The session's agent leads; a User-Agent line of the caller's stands in for it.
  std::vector<std::string>& lines = transfer.headerLines;
  const std::vector<Text> blockLines = SplitText(headers, "\r\n");
  bool callerAgent = false;
  for (const Text& line : blockLines) {
    const Text name = HeaderName(line);
    callerAgent |= name.size() == 10 && ContainsIgnoringCase(name, "User-Agent");
  }
  if (!callerAgent) lines.push_back("User-Agent: " + agent);
  for (const Text& line : blockLines) {
    if (!line.empty()) lines.push_back(line);
  }

  if (options.method != 0) {
    Bytes scratchBody;
    Bytes& bodyBytes = FieldOr(options.bodyBytes, scratchBody);
    if (bodyBytes.empty()) bodyBytes = options.body;  // the body's code page 936 bytes
    transfer.body = bodyBytes;
  }

  TransferResult result = PerformTransfer(transfer);
  // The whole head of the final response, however long; empty when none arrived.
  const Text headBlock = result.headComplete ? result.headerBlock : Text();
  if (options.headersOut != nullptr) *options.headersOut = headBlock;
  SettleResponseCookies(options, headBlock);
  return std::move(result.body);
}

}  // namespace qf
