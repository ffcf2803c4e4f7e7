#include "fakes/fake_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <sys/time.h>

#include <cstdlib>
#include <functional>

namespace qf::testing {
namespace {

constexpr int kReadLimitMs = 5000;
constexpr int kHangLimitMs = 60000;

using Receive = std::function<int(char*, int)>;
using Send = std::function<int(const char*, int)>;

// Reads one request: the head, then as many body bytes as Content-Length says. Each read gives up
// after the socket's receive time-out.
std::string ReadRequest(const Receive& receive) {
  std::string request;
  char buffer[4096];
  size_t needed = std::string::npos;
  while (request.size() < needed) {
    const int n = receive(buffer, sizeof buffer);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
    const size_t blank = request.find("\r\n\r\n");
    if (blank != std::string::npos && needed == std::string::npos) {
      size_t length = 0;
      const std::string head = request.substr(0, blank);
      for (const char* name : {"\r\nContent-Length:", "\r\ncontent-length:"}) {
        const size_t at = head.find(name);
        if (at != std::string::npos) length = std::strtoul(head.c_str() + at + 17, nullptr, 10);
      }
      needed = blank + 4 + length;
    }
  }
  return request;
}

void SendAll(const Send& send, std::string_view bytes) {
  while (!bytes.empty()) {
    const int n = send(bytes.data(), static_cast<int>(bytes.size()));
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace

// A server context with a self-signed certificate made on the spot.
struct FakeHttpServer::Tls {
  Tls() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* certificate = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), 0);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 3600);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    X509_sign(certificate, key, EVP_sha256());
    context = SSL_CTX_new(TLS_server_method());
    if (key == nullptr || context == nullptr ||
        SSL_CTX_use_certificate(context, certificate) != 1 ||
        SSL_CTX_use_PrivateKey(context, key) != 1) {
      std::abort();
    }
    X509_free(certificate);
    EVP_PKEY_free(key);
  }
  ~Tls() { SSL_CTX_free(context); }
  SSL_CTX* context = nullptr;
};

CannedResponse HttpResponse(std::string_view statusLine, const std::vector<std::string>& lines,
                            std::string_view body, bool withLength) {
  std::string bytes(statusLine);
  bytes += "\r\n";
  for (const std::string& line : lines) bytes += line + "\r\n";
  if (withLength) bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  bytes += "\r\n";
  bytes += body;
  return CannedResponse{bytes};
}

FakeHttpServer::FakeHttpServer(Security security) {
  if (security == Security::kSelfSignedTls) tls_ = std::make_unique<Tls>();
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
      pipe(stopPipe_) != 0) {
    std::abort();  // a test cannot run without its stand-in
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

FakeHttpServer::~FakeHttpServer() {
  stopping_ = true;
  (void)!write(stopPipe_[1], "x", 1);
  thread_.join();
  close(listener_);
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

std::string FakeHttpServer::Url(std::string_view target) const {
  return (tls_ ? "https" : "http") + std::string("://127.0.0.1:") + std::to_string(port_) +
         std::string(target);
}

void FakeHttpServer::On(std::string target, CannedResponse response) {
  std::lock_guard lock(mutex_);
  responses_[std::move(target)] = std::move(response);
}

void FakeHttpServer::OnOther(std::function<CannedResponse(const std::string& request)> answer) {
  std::lock_guard lock(mutex_);
  other_ = std::move(answer);
}

std::vector<std::string> FakeHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> FakeHttpServer::LastHeadLines() const {
  std::vector<std::string> lines;
  const std::vector<std::string> all = Requests();
  if (all.empty()) return lines;
  const std::string head = all.back().substr(0, all.back().find("\r\n\r\n"));
  size_t from = head.find("\r\n");
  while (from != std::string::npos) {
    const size_t next = head.find("\r\n", from + 2);
    lines.push_back(head.substr(from + 2, next == std::string::npos ? next : next - from - 2));
    from = next;
  }
  return lines;
}

void FakeHttpServer::Serve() {
  while (!stopping_) {
    pollfd waits[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (poll(waits, 2, -1) <= 0 || (waits[1].revents & POLLIN)) continue;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    Answer(client);
    close(client);
  }
}

void FakeHttpServer::Answer(int client) {
  const timeval readLimit{kReadLimitMs / 1000, 0};
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &readLimit, sizeof readLimit);
  std::unique_ptr<SSL, decltype(&SSL_free)> ssl(nullptr, SSL_free);
  Receive receive = [client](char* data, int size) {
    return static_cast<int>(recv(client, data, static_cast<size_t>(size), 0));
  };
  Send send = [client](const char* data, int size) {
    return static_cast<int>(::send(client, data, static_cast<size_t>(size), MSG_NOSIGNAL));
  };
  if (tls_) {
    ssl.reset(SSL_new(tls_->context));
    SSL_set_fd(ssl.get(), client);
    if (SSL_accept(ssl.get()) != 1) return;  // the client refused the certificate
    receive = [s = ssl.get()](char* data, int size) { return SSL_read(s, data, size); };
    send = [s = ssl.get()](const char* data, int size) { return SSL_write(s, data, size); };
  }
  const std::string request = ReadRequest(receive);
  const size_t targetAt = request.find(' ') + 1;
  const std::string target = request.substr(targetAt, request.find(' ', targetAt) - targetAt);
  CannedResponse response = HttpResponse("HTTP/1.1 404 Not Found", {}, "");
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    if (const auto it = responses_.find(target); it != responses_.end()) {
      response = it->second;
    } else if (other_) {
      response = other_(request);
    }
  }
  // Waits end early when the test stops the server or the client goes away.
  const auto waitFor = [&](int ms) {
    pollfd waits[2] = {{client, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    poll(waits, 2, ms);
  };
  if (response.delay.count() > 0) waitFor(static_cast<int>(response.delay.count()));
  SendAll(send, response.bytes);
  switch (response.ending) {
    case CannedResponse::Ending::kClose:
      if (ssl) SSL_shutdown(ssl.get());
      shutdown(client, SHUT_WR);
      break;
    case CannedResponse::Ending::kHang:
      waitFor(kHangLimitMs);
      break;
    case CannedResponse::Ending::kReset: {
      const linger abort{1, 0};
      setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      break;
    }
  }
}

}  // namespace qf::testing
