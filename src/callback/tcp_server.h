// The endpoint's TCP side over Asio: accepts connections, names each by its ClientAddress
// ("ip:port"), reassembles each request (callback/request_assembler.h) and hands it over whole.
// The answer comes back through SendAndClose from any thread.
//
// One I/O thread runs the io_context given to the constructor. Every connection has a deadline: a
// request still incomplete after kRequestTimeout is closed without an answer, and a client that
// does not close within kLingerTimeout of its answer is closed.
#pragma once

#include <asio.hpp>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace qf {

class TcpServer {
 public:
  static constexpr std::chrono::seconds kRequestTimeout{10};
  // After the answer, how long the client may take to close its side before we close ours.
  static constexpr std::chrono::seconds kLingerTimeout{2};
  // How often deadlines are checked: a deadline may be overrun by up to this much.
  static constexpr std::chrono::milliseconds kSweepInterval{250};
  // How long accepting pauses after a failed accept (out of descriptors, say).
  static constexpr std::chrono::milliseconds kAcceptRetryDelay{100};

  // Called on the I/O thread with each complete request; must not block.
  using RequestHandler = std::function<void(const std::string& clientAddress, std::string request)>;

  TcpServer(asio::io_context& io, RequestHandler onRequest);
  ~TcpServer();
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  // Binds and listens; the error says why when the port cannot be opened. Call before the I/O
  // thread runs.
  std::error_code Listen(const std::string& address, unsigned short port);
  unsigned short Port() const;

  // Any thread. Writes `bytes` to the connection named `clientAddress`, then closes it. False when
  // no open connection has that name.
  bool SendAndClose(const std::string& clientAddress, std::string bytes);

  // Any thread. Stops accepting; open connections carry on.
  void StopAccepting();
  // Any thread. Closes every connection at once.
  void CloseAll();

  // Connections whose request was handed over and that are not closed yet.
  size_t PendingAnswers() const { return pendingAnswers_.load(); }

 private:
  class Connection;
  friend class Connection;

  void Accept();
  void Sweep();
  std::vector<std::shared_ptr<Connection>> OpenConnections();
  void Forget(const std::string& clientAddress, const Connection* connection);

  asio::io_context& io_;
  asio::ip::tcp::acceptor acceptor_;
  asio::ip::tcp::endpoint peer_;  // filled by each accept
  asio::steady_timer sweepTimer_;
  asio::steady_timer acceptRetryTimer_;
  RequestHandler onRequest_;
  std::atomic<size_t> pendingAnswers_{0};
  std::mutex mutex_;
  // Guarded by mutex_: the open connections by name.
  std::unordered_map<std::string, std::weak_ptr<Connection>> connections_;
};

}  // namespace qf
