// The browser-like requester.
#include "net/base64.h"
#include "net/curl_transfer.h"
#include "net/header_cookie_rules.h"
#include "net/requester_support.h"
#include "net/requesters.h"
#include "net/tls_policy.h"
#include "text/code_page.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

constexpr long kDefaultPhaseMs = 15000;
// The request object's own time-outs, kept when the caller passes -1.
constexpr long kOwnConnectMs = 60000;
constexpr long kOwnReceiveMs = 30000;

void AddLine(std::vector<std::string>& lines, const Text& name, const Text& value) {
  if (!name.empty()) lines.push_back(name + ": " + value);  // a nameless line is refused
}

}  // namespace

Bytes SendObjectRequest(std::string_view url, RequestOptions& options) {
  HttpTransfer transfer;
  transfer.method = MethodName(options.method);
  transfer.url = url;
  if (options.timeoutSeconds == -1) {
    transfer.connectTimeoutMs = kOwnConnectMs;
    transfer.idleTimeoutSeconds = IdleSeconds(kOwnReceiveMs);
  } else {
    const long t = options.timeoutSeconds > 0 ? options.timeoutSeconds * 1000L : kDefaultPhaseMs;
    transfer.connectTimeoutMs = t;
    transfer.idleTimeoutSeconds = IdleSeconds(t);
  }
  transfer.proxy = options.proxy;
  transfer.followRedirects = !options.noRedirect;
  transfer.verifyTls = TlsVerification();

  Text scratchHeaders;
  Text& headers = FieldOr(options.headers, scratchHeaders);
  if (options.addDefaultHeaders) {
    AppendIfMissing(headers, "Accept:", "\r\nAccept: */*");
    AppendIfMissing(headers, "Referer:", "\r\nReferer: " + Text(url));
    AppendIfMissing(headers, "Accept-Language:", "\r\nAccept-Language: zh-cn");
    AppendIfMissing(headers, "User-Agent:",
                    "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
    if (options.method == 1) {
      AppendIfMissing(headers,
                      "Content-Type:", "\r\nContent-Type: application/x-www-form-urlencoded");
    }
  }
  if (options.normaliseHeaders) headers = NormaliseHeaderBlock(headers);

  // The lines go out in the order they are set: proxy credentials, cookies, the block.
  std::vector<std::string>& lines = transfer.headerLines;
  if (!options.proxy.empty() && !options.proxyUser.empty() && options.proxyCredentialMode == 1) {
    AddLine(lines, "Proxy-Authorization",
            "Basic " + Base64Encode(options.proxyUser + ":" + options.proxyPassword));
  }
  if (options.cookies != nullptr) {
    Text& cookies = *options.cookies;
    if (!cookies.empty() && ContainsIgnoringCase(cookies, "Cookie:")) {
      cookies = ReplaceMany(cookies, {{"Cookie:", ""}});
    }
    AddLine(lines, "Cookie", cookies);
  }
  if (headers.find("\r\n") == Text::npos) {
    if (!headers.empty()) AddLine(lines, HeaderName(headers), HeaderValue(headers));
  } else {
    for (const Text& line : SplitText(headers, "\r\n")) {
      if (line.empty()) continue;
      const Text name = HeaderName(line);
      const Text value = HeaderValue(line);
      if (name == "Connection" && value == "keep-alive") continue;
      AddLine(lines, name, value);
    }
  }

  const bool sendsBody = !(options.bodyBytes == nullptr || options.bodyBytes->empty());
  if (sendsBody) {
    transfer.body = *options.bodyBytes;
  } else if (!options.body.empty() || transfer.method != "GET") {
    transfer.body = ToUtf8(options.body);  // a text body goes out as UTF-8
  }

  TransferResult result = PerformTransfer(transfer);
  const bool ok = result.code == CURLE_OK && result.headComplete;
  Text scratchHeadersOut;
  Text& headersOut = FieldOr(options.headersOut, scratchHeadersOut);
  // The header lines without the status line.
  headersOut = ok ? result.headerBlock.substr(result.headerBlock.find('\n') + 1) : Text();
  if (options.statusOut != nullptr) *options.statusOut = ok ? static_cast<int>(result.status) : 0;
  SettleResponseCookies(options, headersOut);
  return ok ? std::move(result.body) : Bytes();
}

}  // namespace qf
