#include "callback/tcp_server.h"

#include <array>
#include <vector>

#include "callback/request_assembler.h"

namespace qf {

class TcpServer::Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(TcpServer& server, asio::ip::tcp::socket socket, std::string name)
      : server_(server),
        socket_(std::move(socket)),
        timer_(socket_.get_executor()),
        name_(std::move(name)) {}

  const std::string& name() const { return name_; }

  void Start() {
    ArmTimer(kRequestTimeout);
    Read();
  }

  // I/O thread.
  void Write(std::string bytes) {
    if (closed_ || writing_) return;
    writing_ = true;
    outgoing_ = std::move(bytes);
    asio::async_write(socket_, asio::buffer(outgoing_),
                      [self = shared_from_this()](std::error_code error, size_t) {
                        if (error) return self->Close();
                        // Half-close and keep draining, so unread bytes from the client never
                        // turn our close into a reset that could lose the answer.
                        std::error_code ignored;
                        self->socket_.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
                        self->ArmTimer(kLingerTimeout);
                      });
  }

  void Close() {
    if (closed_) return;
    closed_ = true;
    if (assembler_.state() == RequestAssembler::State::kComplete) --server_.pendingAnswers_;
    std::error_code ignored;
    timer_.cancel();
    socket_.close(ignored);
    server_.Forget(name_, this);
  }

 private:
  void Read() {
    socket_.async_read_some(asio::buffer(readBuffer_),
                            [self = shared_from_this()](std::error_code error, size_t n) {
                              if (error) return self->Close();
                              self->OnBytes(std::string_view(self->readBuffer_.data(), n));
                              if (!self->closed_) self->Read();
                            });
  }

  void OnBytes(std::string_view bytes) {
    if (assembler_.state() != RequestAssembler::State::kIncomplete) return;  // draining
    switch (assembler_.Feed(bytes)) {
      case RequestAssembler::State::kIncomplete:
        return;
      case RequestAssembler::State::kTooLarge:
        return Close();
      case RequestAssembler::State::kComplete:
        timer_.cancel();  // the answer may take as long as it takes
        ++server_.pendingAnswers_;
        server_.onRequest_(name_, assembler_.Request());
        return;
    }
  }

  void ArmTimer(std::chrono::seconds timeout) {
    timer_.expires_after(timeout);
    timer_.async_wait([self = shared_from_this()](std::error_code error) {
      if (!error) self->Close();
    });
  }

  TcpServer& server_;
  asio::ip::tcp::socket socket_;
  asio::steady_timer timer_;
  const std::string name_;
  RequestAssembler assembler_;
  std::array<char, 16 * 1024> readBuffer_;
  std::string outgoing_;
  bool writing_ = false;
  bool closed_ = false;
};

TcpServer::TcpServer(asio::io_context& io, RequestHandler onRequest)
    : io_(io), acceptor_(io), onRequest_(std::move(onRequest)) {}

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
  return {};
}

unsigned short TcpServer::Port() const {
  std::error_code error;
  return acceptor_.local_endpoint(error).port();
}

void TcpServer::Accept() {
  acceptor_.async_accept([this](std::error_code error, asio::ip::tcp::socket socket) {
    if (error) {
      if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
      return Accept();  // a failed accept (out of descriptors, say) must not stop the server
    }
    std::error_code peerError;
    const auto peer = socket.remote_endpoint(peerError);
    if (!peerError) {
      std::string name = peer.address().to_string() + ":" + std::to_string(peer.port());
      auto connection = std::make_shared<Connection>(*this, std::move(socket), name);
      {
        std::lock_guard lock(mutex_);
        connections_[name] = connection;
      }
      connection->Start();
    }
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
  });
}

void TcpServer::CloseAll() {
  asio::post(io_, [this] {
    std::vector<std::shared_ptr<Connection>> open;
    {
      std::lock_guard lock(mutex_);
      for (auto& [name, weak] : connections_) {
        if (auto connection = weak.lock()) open.push_back(connection);
      }
    }
    for (auto& connection : open) connection->Close();
  });
}

}  // namespace qf
