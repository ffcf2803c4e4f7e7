// The running endpoint: the TCP server, the bounded workers and the dispatch put together.
#pragma once

#include <asio.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "callback/message_actions.h"
#include "callback/message_dispatch.h"
#include "callback/tcp_server.h"
#include "callback/worker_pool.h"

namespace qf {

struct EndpointOptions {
  std::string listenAddress = "0.0.0.0";
  unsigned short port = 80;
  size_t workers = 256;
};

// One line of the access log: never the follower's text.
struct AccessRecord {
  std::string clientAddress;
  std::string_view kind;
  std::string_view sent;
  size_t replyBytes = 0;
  double milliseconds = 0;
};

struct EndpointHooks {
  // Called at the start of each request, on the I/O thread or a worker: reloads what must be
  // fresh and returns the settings to answer with. Must be quick.
  std::function<EndpointSettings()> settingsForRequest;
  MessageActions* actions = nullptr;                   // required
  EndpointEvents* events = nullptr;                    // optional: the console's views
  std::function<void(const AccessRecord&)> onHandled;  // optional: the access log
};

class Endpoint {
 public:
  Endpoint(EndpointOptions options, EndpointHooks hooks);
  ~Endpoint();  // stops as Stop does, with no grace
  Endpoint(const Endpoint&) = delete;
  Endpoint& operator=(const Endpoint&) = delete;

  // Opens the port and starts the I/O thread; the error says why the port cannot be opened.
  std::error_code Start();
  unsigned short Port() const { return server_.Port(); }

  // Stops accepting, gives requests in progress up to `grace` to be answered, then closes every
  // connection. False when some request was still being worked on.
  bool Stop(std::chrono::milliseconds grace);

 private:
  void OnRequest(const std::string& clientAddress, std::string request);
  // Answers one request. Without `mayCallServices`, gives up (false, nothing sent) as soon as the
  // answer needs a search or a coupon lookup.
  bool Answer(const std::string& clientAddress, const std::string& request, bool mayCallServices);

  const EndpointOptions options_;
  const EndpointHooks hooks_;
  asio::io_context io_;
  asio::executor_work_guard<asio::io_context::executor_type> work_;
  TcpServer server_;
  std::unique_ptr<WorkerPool> pool_;
  std::thread ioThread_;
  bool stopped_ = false;
};

}  // namespace qf
