// A raw TCP client for tests of the endpoint, and the messages WeChat posts to it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

#include "text/code_page.h"

namespace qf::testing {

using namespace std::chrono_literals;

// A client connection with a deadline on every wait.
class Client {
 public:
  explicit Client(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Client() { close(fd_); }
  bool connected() const { return connected_; }

  void Send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) return;
      bytes.remove_prefix(static_cast<size_t>(n));
    }
  }

  // Everything until the server closes, or "<timeout>" after `limit`.
  std::string ReadToClose(std::chrono::milliseconds limit = 5s) {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return "<timeout>";
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) return out;
      out.append(buffer, static_cast<size_t>(n));
    }
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

// A follower message as WeChat posts it; `content` in code page 936.
inline std::string Post(std::string_view type, std::string_view content,
                        std::string_view event = "") {
  std::string xml =
      "<xml><ToUserName><![CDATA[gh_1]]></ToUserName><FromUserName><![CDATA[oU1]]>"
      "</FromUserName><CreateTime>123</CreateTime><MsgType><![CDATA[" +
      std::string(type) + "]]></MsgType>";
  if (!content.empty()) xml += "<Content><![CDATA[" + ToUtf8(content) + "]]></Content>";
  if (!event.empty()) xml += "<Event><![CDATA[" + std::string(event) + "]]></Event>";
  xml += "</xml>";
  return "POST /wx HTTP/1.1\r\nHost: h\r\nContent-Length: " + std::to_string(xml.size()) +
         "\r\n\r\n" + xml;
}

// The part after the head, or "<no head>".
inline std::string BodyOf(const std::string& response) {
  const size_t blank = response.find("\r\n\r\n");
  return blank == std::string::npos ? "<no head>" : response.substr(blank + 4);
}

}  // namespace qf::testing
