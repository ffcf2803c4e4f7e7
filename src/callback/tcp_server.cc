#include "callback/tcp_server.h"

#include <array>
#include <vector>

#include "callback/request_assembler.h"

namespace qf {

class TcpServer::Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(TcpServer& server, asio::ip::tcp::socket socket, std::string name)
      : server_(server), socket_(std::move(socket)), name_(std::move(name)) {}

  const std::string& name() const { return name_; }

  // The socket is non-blocking for our own calls too: the request is usually there when the
  // connection is accepted and the answer usually fits the send buffer, and doing both at once
  // spares each a completion round through the reactor.
  void Start() {
    SetDeadline(kRequestTimeout);
    std::error_code error;
    socket_.non_blocking(true, error);
    if (error) return Close();
    const size_t n = socket_.read_some(asio::buffer(readBuffer_), error);
    if (error == asio::error::would_block) return Read();
    if (error) return Close();
    OnBytes(std::string_view(readBuffer_.data(), n));
    if (!closed_ && WantsMoreBytes()) Read();
  }

  // I/O thread, from the server's sweep.
  void CloseIfPastDeadline(std::chrono::steady_clock::time_point now) {
    if (now >= deadline_) Close();
  }

  // I/O thread.
  void Write(std::string bytes) {
    if (closed_ || writing_) return;
    writing_ = true;
    outgoing_ = std::move(bytes);
    std::error_code error;
    const size_t sent = socket_.write_some(asio::buffer(outgoing_), error);
    if (error && error != asio::error::would_block) return Close();
    if (sent == outgoing_.size()) return Finish();
    asio::async_write(socket_, asio::buffer(outgoing_) + sent,
                      [self = shared_from_this()](std::error_code error, size_t) {
                        if (error) return self->Close();
                        self->Finish();
                      });
  }

  // After the answer: the request was read whole, so when nothing more came the connection
  // closes at once. Otherwise half-close and keep draining, so that unread bytes from the client
  // never turn our close into a reset that could lose the answer.
  void Finish() {
    if (!assembler_.HadExtraBytes() && !MoreBytesWaiting()) return Close();
    std::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    SetDeadline(kLingerTimeout);
    draining_ = true;
    Read();
  }

  void Close() {
    if (closed_) return;
    closed_ = true;
    const std::shared_ptr<Connection> lastReference = std::move(awaitingAnswer_);
    if (assembler_.state() == RequestAssembler::State::kComplete) --server_.pendingAnswers_;
    std::error_code ignored;
    socket_.close(ignored);
    server_.Forget(name_, this);
  }

 private:
  void Read() {
    socket_.async_read_some(asio::buffer(readBuffer_),
                            [self = shared_from_this()](std::error_code error, size_t n) {
                              if (error) return self->Close();
                              self->OnBytes(std::string_view(self->readBuffer_.data(), n));
                              if (!self->closed_ && self->WantsMoreBytes()) self->Read();
                            });
  }

  // While the request is incomplete, and after the answer while draining. No read waits during
  // the answer: Finish looks once for more bytes, one system call where a waiting read and a
  // check of it take two.
  bool WantsMoreBytes() const {
    return draining_ || assembler_.state() == RequestAssembler::State::kIncomplete;
  }

  // One look without waiting for bytes sent after the request. Nothing yet, the end of the
  // stream and a reset all mean there is nothing to drain.
  bool MoreBytesWaiting() {
    std::error_code ignored;
    return socket_.read_some(asio::buffer(readBuffer_), ignored) > 0;
  }

  void OnBytes(std::string_view bytes) {
    if (assembler_.state() != RequestAssembler::State::kIncomplete) {
      assembler_.Feed(bytes);  // draining: only noted as extra
      return;
    }
    switch (assembler_.Feed(bytes)) {
      case RequestAssembler::State::kIncomplete:
        return;
      case RequestAssembler::State::kTooLarge:
        return Close();
      case RequestAssembler::State::kComplete:
        deadline_ = std::chrono::steady_clock::time_point::max();  // answers take what they take
        ++server_.pendingAnswers_;
        awaitingAnswer_ = shared_from_this();
        server_.onRequest_(name_, assembler_.Request());
        return;
    }
  }

  void SetDeadline(std::chrono::seconds timeout) {
    deadline_ = std::chrono::steady_clock::now() + timeout;
  }

  TcpServer& server_;
  asio::ip::tcp::socket socket_;
  std::chrono::steady_clock::time_point deadline_;  // I/O thread only
  const std::string name_;
  RequestAssembler assembler_;
  std::array<char, 16 * 1024> readBuffer_;
  std::string outgoing_;
  bool writing_ = false;
  bool draining_ = false;  // answered; reading on only to let the client finish sending
  // No read waits while a worker answers, so the connection keeps itself until it is closed.
  std::shared_ptr<Connection> awaitingAnswer_;
  bool closed_ = false;
};

TcpServer::TcpServer(asio::io_context& io, RequestHandler onRequest)
    : io_(io),
      acceptor_(io),
      sweepTimer_(io),
      acceptRetryTimer_(io),
      onRequest_(std::move(onRequest)) {}

TcpServer::~TcpServer() = default;

std::error_code TcpServer::Listen(const std::string& address, unsigned short port) {
  std::error_code error;
  const asio::ip::address ip = asio::ip::make_address_v4(address, error);
  if (error) return error;
  const asio::ip::tcp::endpoint endpoint(ip, port);
  acceptor_.open(endpoint.protocol(), error);
  if (error) return error;
  acceptor_.set_option(asio::socket_base::reuse_address(true), error);
  acceptor_.bind(endpoint, error);
  if (error) return error;
  acceptor_.listen(asio::socket_base::max_listen_connections, error);
  if (error) return error;
  Accept();
  Sweep();
  return {};
}

void TcpServer::Sweep() {
  // One timer for all connections: arming a timer per connection costs system calls on every
  // request, and deadlines of seconds need no finer resolution than this.
  sweepTimer_.expires_after(kSweepInterval);
  sweepTimer_.async_wait([this](std::error_code error) {
    if (error) return;
    std::vector<std::shared_ptr<Connection>> open = OpenConnections();
    const auto now = std::chrono::steady_clock::now();
    for (auto& connection : open) connection->CloseIfPastDeadline(now);
    Sweep();
  });
}

std::vector<std::shared_ptr<TcpServer::Connection>> TcpServer::OpenConnections() {
  std::vector<std::shared_ptr<Connection>> open;
  std::lock_guard lock(mutex_);
  open.reserve(connections_.size());
  for (auto& [name, weak] : connections_) {
    if (auto connection = weak.lock()) open.push_back(std::move(connection));
  }
  return open;
}

unsigned short TcpServer::Port() const {
  std::error_code error;
  return acceptor_.local_endpoint(error).port();
}

void TcpServer::Accept() {
  // accept() gives the peer's address, which saves asking for it afterwards.
  acceptor_.async_accept(peer_, [this](std::error_code error, asio::ip::tcp::socket socket) {
    if (error) {
      if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
      // A failed accept (out of descriptors, say) must not stop the server, and retrying at once
      // would spin: the waiting connection stays waiting until a descriptor is free.
      acceptRetryTimer_.expires_after(kAcceptRetryDelay);
      acceptRetryTimer_.async_wait([this](std::error_code waitError) {
        if (!waitError) Accept();
      });
      return;
    }
    std::string name = peer_.address().to_string() + ":" + std::to_string(peer_.port());
    auto connection = std::make_shared<Connection>(*this, std::move(socket), name);
    {
      std::lock_guard lock(mutex_);
      connections_[name] = connection;
    }
    connection->Start();
    Accept();
  });
}

bool TcpServer::SendAndClose(const std::string& clientAddress, std::string bytes) {
  std::shared_ptr<Connection> connection;
  {
    std::lock_guard lock(mutex_);
    const auto it = connections_.find(clientAddress);
    if (it != connections_.end()) connection = it->second.lock();
  }
  if (!connection) return false;
  if (io_.get_executor().running_in_this_thread()) {
    connection->Write(std::move(bytes));  // answered on the I/O thread itself
    return true;
  }
  asio::post(io_, [connection, bytes = std::move(bytes)]() mutable {
    connection->Write(std::move(bytes));
  });
  return true;
}

void TcpServer::Forget(const std::string& clientAddress, const Connection* connection) {
  std::lock_guard lock(mutex_);
  const auto it = connections_.find(clientAddress);
  // The name may already belong to a newer connection from the same address and port.
  if (it != connections_.end()) {
    const auto current = it->second.lock();
    if (!current || current.get() == connection) connections_.erase(it);
  }
}

void TcpServer::StopAccepting() {
  asio::post(io_, [this] {
    std::error_code ignored;
    acceptor_.close(ignored);
    acceptRetryTimer_.cancel();
  });
}

void TcpServer::CloseAll() {
  asio::post(io_, [this] {
    sweepTimer_.cancel();
    acceptRetryTimer_.cancel();
    for (auto& connection : OpenConnections()) connection->Close();
  });
}

}  // namespace qf
