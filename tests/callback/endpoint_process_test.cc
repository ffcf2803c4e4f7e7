// Black-box tests: the real program on a free loopback port, spoken to over raw TCP.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "callback/access_verification.h"
#include "support/gbk.h"
#include "support/quillfern_process.h"
#include "support/raw_client.h"
#include "text/code_page.h"

namespace qf {
namespace {

using namespace std::chrono_literals;
using testing::BodyOf;
using testing::Client;
using testing::Gbk;
using testing::Post;

using EndpointProcess = testing::QuillfernProcessTest;

std::string VerificationRequest(std::string_view token, bool upperCase = false) {
  std::string signature = Sha1Hex(
      "1234"
      "1700000000" +
      std::string(token));
  if (upperCase) {
    for (char& c : signature) c = static_cast<char>(toupper(c));
  }
  return "GET /wx?signature=" + signature +
         "&echostr=ECHO42&timestamp=1700000000&nonce=1234 HTTP/1.1\r\nHost: h\r\n\r\n";
}

TEST_F(EndpointProcess, VerificationEchoesOnlyForTheRightSignature) {
  const int port = Start();
  ASSERT_GT(port, 0);
  const std::string good = Ask(port, VerificationRequest("token"));
  EXPECT_EQ(good.substr(0, 15), "HTTP/1.1 200 OK");
  EXPECT_EQ(BodyOf(good), "ECHO42");
  EXPECT_EQ(BodyOf(Ask(port, VerificationRequest("token", true))), "");
  EXPECT_EQ(BodyOf(Ask(port, VerificationRequest("wrong"))), "");
}

TEST_F(EndpointProcess, SubscribeTestWordAndUnansweredKinds) {
  const int port = Start();
  ASSERT_GT(port, 0);
  EXPECT_NE(BodyOf(Ask(port, Post("event", "", "subscribe"))).find(ToUtf8(Gbk("欢迎关注"))),
            std::string::npos);
  EXPECT_NE(BodyOf(Ask(port, Post("text", Gbk("测试")))).find("<MsgType><![CDATA[news]]>"),
            std::string::npos);
  // An image, an empty text and a browser's GET get the head alone, and the connection closes.
  EXPECT_EQ(BodyOf(Ask(port, Post("image", ""))), "");
  EXPECT_EQ(BodyOf(Ask(port, Post("text", ""))), "");
  EXPECT_EQ(BodyOf(Ask(port, "GET / HTTP/1.1\r\nHost: h\r\n\r\n")), "");
}

TEST_F(EndpointProcess, RequestInPiecesIsAnsweredOnce) {
  const int port = Start();
  ASSERT_GT(port, 0);
  const std::string request = Post("event", "", "subscribe");
  Client client(port);
  client.Send(request.substr(0, 40));
  std::this_thread::sleep_for(300ms);
  client.Send(request.substr(40, 60));
  std::this_thread::sleep_for(300ms);
  client.Send(request.substr(100));
  const std::string response = client.ReadToClose();
  EXPECT_EQ(response.find("HTTP/1.1", 1), std::string::npos);  // one answer only
  EXPECT_NE(BodyOf(response).find(ToUtf8(Gbk("欢迎关注"))), std::string::npos);
}

// A client that sends more than its request (a stray line break after the body, then more while
// the answer is on its way) still gets the whole answer: the connection is drained, not reset.
TEST_F(EndpointProcess, BytesAfterTheRequestDoNotCostTheAnswer) {
  const int port = Start();
  ASSERT_GT(port, 0);
  Client client(port);
  client.Send(Post("event", "", "subscribe") + "\r\n");
  std::this_thread::sleep_for(50ms);
  client.Send(std::string(4096, 'x'));
  const std::string response = client.ReadToClose();
  EXPECT_TRUE(response.starts_with("HTTP/1.1 200 OK\r\n"));
  EXPECT_NE(BodyOf(response).find("</xml>"), std::string::npos);
}

TEST_F(EndpointProcess, RepliesGoToTheirOwnConnections) {
  const int port = Start();
  ASSERT_GT(port, 0);
  // Empty search word: every text is a search, answered even when nothing is found, with the
  // text itself in the reply, so each reply shows whose request it answers.
  const std::string first = Post("text", "first||||127.0.0.1:1");
  const std::string second = Post("text", "second");
  Client a(port), b(port);
  a.Send(first.substr(0, 50));
  b.Send(second.substr(0, 50));
  a.Send(first.substr(50));
  b.Send(second.substr(50));
  EXPECT_NE(a.ReadToClose().find(ToUtf8(Gbk("【first||||127.0.0.1:1】"))), std::string::npos);
  EXPECT_NE(b.ReadToClose().find(ToUtf8(Gbk("【second】"))), std::string::npos);
}

TEST_F(EndpointProcess, ZeroByteEndsTheRequestAndCdataStaysClosed) {
  const int port = Start();
  ASSERT_GT(port, 0);
  std::string withZero = Post("text", "ab");
  withZero.insert(withZero.find("ab"), 1, '\0');
  EXPECT_EQ(BodyOf(Ask(port, withZero)), "");  // the body is cut before it is a message
  const std::string reply = BodyOf(Ask(port, Post("text", "a]]><x>")));
  EXPECT_NE(reply.find("a]]]]><![CDATA[><x>"), std::string::npos);
}

TEST_F(EndpointProcess, IncompleteRequestIsClosedWithoutAnswer) {
  const int port = Start();
  ASSERT_GT(port, 0);
  Client client(port);
  client.Send("POST /wx HTTP/1.1\r\nContent-Length: 100\r\n\r\n<xml>");
  EXPECT_EQ(client.ReadToClose(15s), "");
}

// User and system CPU seconds the process has used so far.
double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string field;
  double ticks = 0;
  for (int i = 1; i <= 15 && stat >> field; ++i) {
    if (i == 14 || i == 15) ticks += std::stod(field);
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

TEST_F(EndpointProcess, OutOfDescriptorsItWaitsAndRecovers) {
  const int port = Start();
  ASSERT_GT(port, 0);
  // Room for a few connections beyond what the program holds open already.
  const auto open = std::distance(
      std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd"), {});
  const rlimit few{static_cast<rlim_t>(open + 4), static_cast<rlim_t>(open + 4)};
  ASSERT_EQ(prlimit(pid_, RLIMIT_NOFILE, &few, nullptr), 0);
  std::vector<std::unique_ptr<Client>> waiting;
  for (int i = 0; i < 16; ++i) waiting.push_back(std::make_unique<Client>(port));
  std::this_thread::sleep_for(200ms);
  const double before = CpuSeconds(pid_);
  std::this_thread::sleep_for(1s);
  // Not a speed figure: a server that retried each failed accept at once would burn the whole
  // second; a waiting one uses almost nothing.
  EXPECT_LT(CpuSeconds(pid_) - before, 0.5);
  waiting.clear();
  EXPECT_EQ(BodyOf(Ask(port, VerificationRequest("token"))), "ECHO42");
}

TEST_F(EndpointProcess, RaisesItsOpenFileLimitToTheHardLimit) {
  rlimit mine{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &mine), 0);
  if (mine.rlim_max <= 256) GTEST_SKIP() << "the hard limit leaves nothing to raise";
  rlimit low = mine;
  low.rlim_cur = 256;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  const int port = Start();  // inherits the low soft limit
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &mine), 0);
  ASSERT_GT(port, 0);
  rlimit program{};
  ASSERT_EQ(prlimit(pid_, RLIMIT_NOFILE, nullptr, &program), 0);
  EXPECT_EQ(program.rlim_cur, std::min(mine.rlim_max, rlim_t{1} << 20));
}

TEST_F(EndpointProcess, ABrokenLogPipeDoesNotEndIt) {
  const int port = Start();
  ASSERT_GT(port, 0);
  // What writing the log into a pipe nobody reads any more raises.
  ASSERT_EQ(kill(pid_, SIGPIPE), 0);
  EXPECT_EQ(BodyOf(Ask(port, VerificationRequest("token"))), "ECHO42");
}

TEST_F(EndpointProcess, HangupReloadsAndTermStops) {
  const int port = Start();
  ASSERT_GT(port, 0);
  WriteSettings("fresh", "", "");
  EXPECT_EQ(BodyOf(Ask(port, VerificationRequest("fresh"))), "");
  kill(pid_, SIGHUP);
  std::string body;
  for (int i = 0; i < 50 && body.empty(); ++i) {  // the reload is asynchronous
    std::this_thread::sleep_for(50ms);
    body = BodyOf(Ask(port, VerificationRequest("fresh")));
  }
  EXPECT_EQ(body, "ECHO42");
  kill(pid_, SIGTERM);
  EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(EndpointProcess, ExitStatusForBadArgumentsAndBusyPort) {
  ASSERT_EQ(Start({"--workers", "0"}), 0);
  EXPECT_EQ(WaitForExit(), 2);
  const int port = Start();
  ASSERT_GT(port, 0);
  const pid_t first = pid_;
  pid_ = -1;
  EXPECT_EQ(Start({"--port", std::to_string(port)}), 0);
  EXPECT_EQ(WaitForExit(), 3);
  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
}

}  // namespace
}  // namespace qf
