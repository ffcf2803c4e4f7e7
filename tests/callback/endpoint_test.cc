// The endpoint in this process, with stand-in searches that the test holds back: answers that
// need no service are given at once, those that do are given by a worker, and both together
// respect the bound on requests handled at once.
#include "callback/endpoint.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <stdexcept>
#include <vector>

#include "support/gbk.h"
#include "support/raw_client.h"
#include "text/code_page.h"

namespace qf {
namespace {

using namespace std::chrono_literals;
using testing::BodyOf;
using testing::Client;
using testing::Gbk;
using testing::Post;

// Finds one line for every title, once the test lets it.
class HeldSearches : public MessageActions {
 public:
  Text SearchSite(const Text& title) override {
    ++started_;
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return open_; });
    return "link for " + title;
  }
  Text SearchCatalogue(const Text&) override { return Text(); }
  Text LookUpCoupon(const Text&) override { return Text(); }

  void Release() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    released_.notify_all();
  }
  bool WaitForStarted(int n) {
    for (int i = 0; i < 500 && started_ < n; ++i) std::this_thread::sleep_for(2ms);
    return started_ == n;
  }

 private:
  std::atomic<int> started_{0};
  std::mutex mutex_;
  std::condition_variable released_;
  bool open_ = false;
};

// A service whose client fails in a way nobody planned for.
class BrokenSearches : public MessageActions {
 public:
  Text SearchSite(const Text&) override { throw std::runtime_error("broken"); }
  Text SearchCatalogue(const Text&) override { return Text(); }
  Text LookUpCoupon(const Text&) override { throw std::bad_alloc(); }
};

class RecordedEvents : public EndpointEvents {
 public:
  void OnRawRequest(std::string_view) override { ++requests; }
  void OnMessage(const Text& content) override {
    std::lock_guard lock(mutex);
    messages.push_back(content);
  }
  std::atomic<int> requests{0};
  std::mutex mutex;
  std::vector<Text> messages;
};

class EndpointTest : public ::testing::Test {
 protected:
  void Start(size_t workers, MessageActions* actions = nullptr) {
    EndpointHooks hooks;
    hooks.settingsForRequest = [] {
      return EndpointSettings{"token", Gbk("欢迎"), Gbk("搜"), "http://pic.example/p.jpg"};
    };
    hooks.actions = actions != nullptr ? actions : &searches_;
    hooks.events = &events_;
    endpoint_ = std::make_unique<Endpoint>(EndpointOptions{"127.0.0.1", 0, workers}, hooks);
    ASSERT_FALSE(endpoint_->Start());
  }
  void TearDown() override {
    searches_.Release();
    if (endpoint_) endpoint_->Stop(2s);
  }

  HeldSearches searches_;
  RecordedEvents events_;
  std::unique_ptr<Endpoint> endpoint_;
};

TEST_F(EndpointTest, SearchesAreAnsweredByWorkersAndReportedOnce) {
  Start(4);
  Client search(endpoint_->Port());
  search.Send(Post("text", Gbk("搜星际穿越")));
  ASSERT_TRUE(searches_.WaitForStarted(1));
  // While the search waits on its service, a subscribe is answered at once.
  Client subscribe(endpoint_->Port());
  subscribe.Send(Post("event", "", "subscribe"));
  EXPECT_NE(BodyOf(subscribe.ReadToClose(2s)).find(ToUtf8(Gbk("欢迎"))), std::string::npos);

  searches_.Release();
  EXPECT_NE(BodyOf(search.ReadToClose()).find(ToUtf8("link for " + Gbk("星际穿越"))),
            std::string::npos);
  EXPECT_EQ(events_.requests, 2);
  std::lock_guard lock(events_.mutex);
  EXPECT_EQ(events_.messages, (std::vector<Text>{Gbk("搜星际穿越"), "subscribe"}));
}

TEST_F(EndpointTest, AnswersWithoutServicesWaitTheirTurnWhenWorkersAreBusy) {
  Start(1);
  Client search(endpoint_->Port());
  search.Send(Post("text", Gbk("搜星际穿越")));
  ASSERT_TRUE(searches_.WaitForStarted(1));
  Client subscribe(endpoint_->Port());
  subscribe.Send(Post("event", "", "subscribe"));
  // The only worker is busy: the subscribe waits for it rather than jumping ahead.
  EXPECT_EQ(subscribe.ReadToClose(300ms), "<timeout>");
  searches_.Release();
  EXPECT_NE(BodyOf(search.ReadToClose()).find(ToUtf8("link for")), std::string::npos);
  EXPECT_NE(BodyOf(subscribe.ReadToClose()).find(ToUtf8(Gbk("欢迎"))), std::string::npos);
}

TEST_F(EndpointTest, AFailingAnswerGetsNoReplyAndTheEndpointGoesOn) {
  BrokenSearches broken;
  Start(1, &broken);
  for (const char* content : {"搜星际穿越", "复制￥AbCdEfGhIjK￥打开"}) {
    Client client(endpoint_->Port());
    client.Send(Post("text", Gbk(content)));
    EXPECT_EQ(BodyOf(client.ReadToClose(2s)), "") << content;
  }
  // The one worker slot is free again.
  Client subscribe(endpoint_->Port());
  subscribe.Send(Post("event", "", "subscribe"));
  EXPECT_NE(BodyOf(subscribe.ReadToClose(2s)).find(ToUtf8(Gbk("欢迎"))), std::string::npos);
}

}  // namespace
}  // namespace qf
