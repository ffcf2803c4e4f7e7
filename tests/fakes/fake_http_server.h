// A loopback HTTP server for tests of outgoing requests: records the exact bytes of every request
// and plays the canned response set for its target. One connection at a time, closed after each
// answer; every wait is bounded.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qf::testing {

struct CannedResponse {
  enum class Ending {
    kClose,  // send the bytes, then close
    kHang,   // send the bytes, then neither send nor close until the client gives up
    kReset,  // send the bytes, then reset the connection
  };
  std::string bytes;
  Ending ending = Ending::kClose;
  std::chrono::milliseconds delay{0};  // before anything is sent
};

// A complete response: the status line, the lines given, Content-Length (unless
// `withLength` is false: the body then ends at the close) and the body.
CannedResponse HttpResponse(std::string_view statusLine, const std::vector<std::string>& lines,
                            std::string_view body, bool withLength = true);

class FakeHttpServer {
 public:
  enum class Security { kPlain, kSelfSignedTls };
  // With kSelfSignedTls every connection speaks TLS with a fresh certificate for 127.0.0.1 that
  // no trust store knows.
  explicit FakeHttpServer(Security security = Security::kPlain);
  ~FakeHttpServer();
  FakeHttpServer(const FakeHttpServer&) = delete;
  FakeHttpServer& operator=(const FakeHttpServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" (https for TLS) followed by `target`.
  std::string Url(std::string_view target) const;
  // The Host line a client sends to this server.
  std::string HostLine() const { return "Host: 127.0.0.1:" + std::to_string(port_); }

  // The answer for requests whose target (as on the request line) is `target`.
  void On(std::string target, CannedResponse response);
  // The answer for every other target, given the whole request (head and body); without one they
  // get a 404.
  void OnOther(std::function<CannedResponse(const std::string& request)> answer);

  // Every request received so far, head and body, in order.
  std::vector<std::string> Requests() const;
  // The last request's head lines after the request line, without the final blank line.
  std::vector<std::string> LastHeadLines() const;

 private:
  struct Tls;

  void Serve();
  void Answer(int client);

  int listener_ = -1;
  int port_ = 0;
  int stopPipe_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, CannedResponse> responses_;
  std::function<CannedResponse(const std::string&)> other_;
  std::vector<std::string> requests_;
  std::unique_ptr<Tls> tls_;
  std::thread thread_;
};

}  // namespace qf::testing
