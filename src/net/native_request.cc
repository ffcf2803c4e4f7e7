// The complete requester, with numbered failure texts and the charset step.
#include <curl/curl.h>

#include "net/curl_transfer.h"
#include "net/header_cookie_rules.h"
#include "net/meta_charset_pattern.h"
#include "net/named_charset.h"
#include "net/requester_support.h"
#include "net/requesters.h"
#include "net/tls_policy.h"
#include "script/regex_object.h"
#include "text/code_page.h"
#include "text/text_search.h"
#include "text/text_slicing.h"

namespace qf {
namespace {

constexpr long kDefaultPhaseMs = 30000;
constexpr size_t kCharsetWindow = 1024;

// The failures libcurl can report. The other numbered steps (connection and request handles,
// time-outs, credentials, cookie and redirect options) cannot fail here.
Text FailureText(int code) {
  switch (code) {
    case 701:
      return FromUtf8("701 解析URL地址失败!");
    case 702:
      return FromUtf8("702 创建WinHttp会话失败!");
    case 710:
      return FromUtf8("710 设置协议头失败!");
    case 711:
      return FromUtf8("711 发送请求失败!");
    case 712:
      return FromUtf8("712 服务器未响应!");
    default:
      return FromUtf8("713 读取数据失败!");
  }
}

// The address as it is requested: scheme, host and port as given, and the path with its query;
// a URL without a path requests "/" and drops its query. Nothing when it cannot be parsed.
std::optional<std::string> RequestAddress(std::string_view url) {
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return std::nullopt;
  std::optional<std::string> address;
  char* scheme = nullptr;
  char* host = nullptr;
  char* port = nullptr;
  const std::string text(url);
  if (curl_url_set(parsed, CURLUPART_URL, text.c_str(), 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK &&
      (std::string_view(scheme) == "http" || std::string_view(scheme) == "https")) {
    const size_t authority = text.find("://") + 3;
    const size_t pathAt = text.find_first_of("/?#", authority);
    std::string path = "/";
    if (pathAt != std::string::npos && text[pathAt] == '/') {
      path = text.substr(pathAt, text.find('#', pathAt) - pathAt);
    }
    address = std::string(scheme) + "://" + host + ":" + port + path;
  }
  curl_free(scheme);
  curl_free(host);
  curl_free(port);
  curl_url_cleanup(parsed);
  return address;
}

// The failure text for an exchange that did not complete.
int FailureCode(const TransferResult& result) {
  switch (result.code) {
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
      return 701;
    case CURLE_FAILED_INIT:
    case CURLE_OUT_OF_MEMORY:
      return 702;
    case CURLE_TOO_MANY_REDIRECTS:
      return 712;
    default:
      break;
  }
  if (!result.requestSent) return 711;   // not resolved, refused, or no connection in time
  if (!result.headComplete) return 712;  // no answer in time, or nothing at all
  return 713;                            // short body, reset or time-out while reading
}

// The value after the last "<name>: " of the first line that begins with `name`.
Text HeaderLineValue(std::string_view block, std::string_view name) {
  for (const Text& line : SplitText(block, "\r\n")) {
    if (line.starts_with(name)) return TextAfterLast(line, Text(name) + ": ");
  }
  return Text();
}

// The body as text, re-decoded when its head declares a charset other than gbk or gb2312.
Text BodyText(const Bytes& body) {
  Text text = body.substr(0, body.find('\0'));
  RegexObject regex;
  if (!regex.Match(kMetaCharsetPattern, LeftBytes(text, kCharsetWindow))) return text;
  const Text charset = regex.GroupText(1, 1);
  if (charset.empty() || charset == "gbk" || charset == "gb2312") return text;
  const std::optional<std::u16string> decoded = DecodeCharset(body, charset);
  return decoded ? EncodeCodePage(*decoded, CodePage::kGbk) : text;
}

}  // namespace

Text SendNativeRequest(std::string_view url, RequestOptions& options) {
  Text scratchStatus;
  Text& statusText = FieldOr(options.statusText, scratchStatus);
  const std::optional<std::string> address = RequestAddress(url);
  if (!address) {
    statusText = FailureText(701);
    return Text();
  }

  HttpTransfer transfer;
  transfer.method = MethodName(options.method);
  transfer.url = *address;
  const long t = options.timeoutSeconds > 0 ? options.timeoutSeconds * 1000L : kDefaultPhaseMs;
  transfer.connectTimeoutMs = t;
  transfer.idleTimeoutSeconds = IdleSeconds(t);
  transfer.proxy = options.proxy;
  if (!options.user.empty() && !options.password.empty()) {
    transfer.user = options.user;
    transfer.password = options.password;
  }
  if (!options.proxyUser.empty() && !options.proxyPassword.empty()) {
    transfer.proxyUser = options.proxyUser;
    transfer.proxyPassword = options.proxyPassword;
  }
  transfer.followRedirects = !options.noRedirect;
  transfer.verifyTls = TlsVerification();

  // A working copy: the caller's block is only read.
  const Text callerHeaders = options.headers != nullptr ? *options.headers : Text();
  Text block = callerHeaders.empty() ? Text() : callerHeaders + "\r\n";
  if (options.addDefaultHeaders) {
    AppendIfMissing(block, "User-Agent: ",
                    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
                    "Trident/5.0)\r\n");
    AppendIfMissing(block, "Accept: ", "Accept: text/html, application/xhtml+xml, */*\r\n");
    AppendIfMissing(block, "Accept-Encoding: ", "Accept-Encoding: gbk, GB2312\r\n");
    AppendIfMissing(block, "Accept-Language: ", "Accept-Language: zh-cn\r\n");
    if (options.method == 1) {
      AppendIfMissing(block,
                      "Content-Type:", "Content-Type: application/x-www-form-urlencoded\r\n");
    }
    AppendIfMissing(block, "Cache-Control: ", "Cache-Control: no-cache\r\n");
  }
  if (options.normaliseHeaders) block = NormaliseHeaderBlock(block);
  if (FindText(block, "Connection") != kNotFound &&
      HeaderLineValue(block, "Connection") == "keep-alive") {
    block = ReplaceText(block, "Connection: keep-alive\r\n", "");
  }
  const Text cookies = options.cookies != nullptr ? *options.cookies : Text();
  if (!ContainsIgnoringCase(block, "Cookie:") && !cookies.empty()) {
    block += "\r\n";
    block += ContainsIgnoringCase(cookies, "Cookie:") ? cookies : "Cookie: " + cookies;
    block += "\r\n";
  }
  for (const Text& line : SplitText(block, "\r\n")) {
    if (line.empty()) continue;
    if (line.find(':') == Text::npos) {  // not a header line: the block is refused whole
      statusText = FailureText(710);
      return Text();
    }
    transfer.headerLines.push_back(line);
  }

  const bool hasBodyBytes = options.bodyBytes != nullptr && !options.bodyBytes->empty();
  const Bytes body = hasBodyBytes ? *options.bodyBytes : options.body;
  if (!body.empty() || (transfer.method != "GET" && transfer.method != "HEAD")) {
    transfer.body = body;
  }

  TransferResult result = PerformTransfer(transfer);
  const bool readFailed = result.code != CURLE_OK;
  if (readFailed && (!result.headComplete || FailureCode(result) != 713)) {
    statusText = FailureText(FailureCode(result));
    return Text();
  }

  // The head arrived; a read that failed after it still yields what was read.
  const Text& head = result.headerBlock;
  if (options.headersOut != nullptr) *options.headersOut = head;
  const size_t lineEnd = head.find("\r\n", 9);
  // A body cut short stays reported as such rather than as the status line's success.
  statusText = readFailed ? FailureText(713)
                          : head.substr(9, lineEnd == Text::npos ? Text::npos : lineEnd - 9);
  Text scratchCookies;
  Text& cookiesOut = FieldOr(options.cookiesOut, scratchCookies);
  for (const Text& line : SplitText(head, "\r\n")) {
    if (TextBefore(line, ": ") == "Set-Cookie") {
      cookiesOut += CollectResponseCookies(line) + "; ";
    } else if (line.size() >= 10 && ContainsIgnoringCase(line.substr(0, 10), "Location: ")) {
      if (options.locationOut != nullptr) *options.locationOut = line.substr(10);
    }
  }
  if (cookiesOut.ends_with("; ")) cookiesOut.resize(cookiesOut.size() - 2);
  if (options.mergeCookies && options.cookies != nullptr && !options.cookies->empty()) {
    Text merged = MergeCookies(*options.cookies, cookiesOut);
    cookiesOut = std::move(merged);
  }
  if (options.bodyBytesOut != nullptr) *options.bodyBytesOut = result.body;
  return BodyText(result.body);
}

}  // namespace qf
