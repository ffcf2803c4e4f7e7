#include "net/curl_transfer.h"

#include <memory>
#include <mutex>

namespace qf {
namespace {

void InitialiseOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListCleanup {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct Receiver {
  Bytes currentHead;
  TransferResult* result;
};

size_t OnHeaderLine(char* data, size_t size, size_t count, void* context) {
  auto* receiver = static_cast<Receiver*>(context);
  const std::string_view line(data, size * count);
  // With redirects followed every response's head passes here; a status line starts a new one.
  if (line.starts_with("HTTP/")) {
    receiver->currentHead.clear();
    receiver->result->headComplete = false;
    receiver->result->body.clear();
  }
  receiver->currentHead.append(line);
  if (line == "\r\n" || line == "\n") {
    receiver->result->headerBlock = receiver->currentHead;
    receiver->result->headComplete = true;
  }
  return line.size();
}

size_t OnBody(char* data, size_t size, size_t count, void* context) {
  auto* result = static_cast<TransferResult*>(context);
  const size_t n = size * count;
  if (result->body.size() + n > kMaxResponseBody) return 0;  // ends the exchange
  result->body.append(data, n);
  return n;
}

// libcurl takes "Name:" as "remove this line" and drops a line whose value is blank: an empty
// value is written "Name;" to be sent as "Name:".
std::string AsCurlLine(const std::string& line) {
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return line;
  if (line.find_first_not_of(" \t", colon + 1) != std::string::npos) return line;
  return line.substr(0, colon) + ";";
}

bool NamesHeader(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    if (line.size() > name.size() && line[name.size()] == ':' &&
        curl_strnequal(line.c_str(), std::string(name).c_str(), name.size())) {
      return true;
    }
  }
  return false;
}

}  // namespace

TransferResult PerformTransfer(const HttpTransfer& transfer) {
  InitialiseOnce();
  TransferResult result;
  std::unique_ptr<CURL, EasyCleanup> handle(curl_easy_init());
  if (!handle) {
    result.code = CURLE_FAILED_INIT;
    return result;
  }
  CURL* curl = handle.get();
  curl_easy_setopt(curl, CURLOPT_URL, transfer.url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION,
                   transfer.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);

  if (transfer.method == "GET" && !transfer.body) {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  } else if (transfer.method == "HEAD") {
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  } else if (transfer.method != "POST") {
    // Kept across redirects by libcurl; POST alone turns into GET on a 301, 302 or 303.
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, transfer.method.c_str());
  }
  static const Bytes kNoBody;
  const Bytes* body = transfer.body ? &*transfer.body : nullptr;
  if (!body && transfer.method == "POST") body = &kNoBody;  // a POST always says its length
  if (body && transfer.method != "HEAD") {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->data());
  }

  // Only CURLOPT_HTTPHEADER keeps the caller's order; libcurl's own lines are switched off.
  curl_slist* raw = nullptr;
  for (const std::string& line : transfer.headerLines) {
    // A line ends at its first CR or LF, so that text taken from a response or a follower's
    // message cannot add lines of its own.
    raw = curl_slist_append(raw, AsCurlLine(line.substr(0, line.find_first_of("\r\n"))).c_str());
  }
  if (!NamesHeader(transfer.headerLines, "Accept")) raw = curl_slist_append(raw, "Accept:");
  if (!NamesHeader(transfer.headerLines, "Expect")) raw = curl_slist_append(raw, "Expect:");
  if (body && !NamesHeader(transfer.headerLines, "Content-Type")) {
    raw = curl_slist_append(raw, "Content-Type:");
  }
  std::unique_ptr<curl_slist, ListCleanup> lines(raw);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, lines.get());

  std::unique_ptr<curl_slist, ListCleanup> proxyLines;
  if (!transfer.proxy.empty()) {
    curl_easy_setopt(curl, CURLOPT_PROXY, transfer.proxy.c_str());
    // A tunnel's own "200 Connection established" head is not the response.
    curl_easy_setopt(curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    proxyLines.reset(curl_slist_append(nullptr, "Proxy-Connection:"));  // libcurl's own again
    curl_easy_setopt(curl, CURLOPT_PROXYHEADER, proxyLines.get());
    if (!transfer.proxyUser.empty()) {
      curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, transfer.proxyUser.c_str());
      curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, transfer.proxyPassword.c_str());
      curl_easy_setopt(curl, CURLOPT_PROXYAUTH, CURLAUTH_BASIC);
    }
  }
  if (!transfer.user.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, transfer.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, transfer.password.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
  }

  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, transfer.connectTimeoutMs);
  if (transfer.idleTimeoutSeconds > 0) {
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, transfer.idleTimeoutSeconds);
  }
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, transfer.followRedirects ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, transfer.verifyTls ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, transfer.verifyTls ? 2L : 0L);

  Receiver receiver{Bytes(), &result};
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeaderLine);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &receiver);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result);

  result.code = curl_easy_perform(curl);
  long requestSize = 0;
  curl_easy_getinfo(curl, CURLINFO_REQUEST_SIZE, &requestSize);
  result.requestSent = requestSize > 0;
  if (result.headComplete) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  return result;
}

}  // namespace qf
