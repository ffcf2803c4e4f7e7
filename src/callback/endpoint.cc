#include "callback/endpoint.h"

#include <ctime>
#include <exception>
#include <vector>

#include "callback/message_envelope.h"

namespace qf {
namespace {

// Thrown when an answer attempted on the I/O thread turns out to need an outside service.
struct NeedsWorker {};

class RefusingActions : public MessageActions {
 public:
  Text SearchSite(const Text&) override { throw NeedsWorker(); }
  Text SearchCatalogue(const Text&) override { throw NeedsWorker(); }
  Text LookUpCoupon(const Text&) override { throw NeedsWorker(); }
};

// Keeps the message view's events of an attempt until the attempt is known to stand.
class HeldEvents : public EndpointEvents {
 public:
  void OnRawRequest(std::string_view) override {}
  void OnMessage(const Text& content) override { messages_.push_back(content); }
  void ForwardTo(EndpointEvents* target) const {
    if (target == nullptr) return;
    for (const Text& content : messages_) target->OnMessage(content);
  }

 private:
  std::vector<Text> messages_;
};

}  // namespace

Endpoint::Endpoint(EndpointOptions options, EndpointHooks hooks)
    : options_(std::move(options)),
      hooks_(std::move(hooks)),
      work_(asio::make_work_guard(io_)),
      server_(io_, [this](const std::string& client,
                          std::string request) { OnRequest(client, std::move(request)); }),
      pool_(std::make_unique<WorkerPool>(options_.workers)) {}

Endpoint::~Endpoint() { Stop(std::chrono::milliseconds(0)); }

std::error_code Endpoint::Start() {
  if (std::error_code error = server_.Listen(options_.listenAddress, options_.port)) return error;
  ioThread_ = std::thread([this] { io_.run(); });
  return {};
}

void Endpoint::OnRequest(const std::string& clientAddress, std::string request) {
  // The request text ends at its first zero byte, whatever follows.
  request.resize(std::min(request.size(), request.find('\0')));
  if (hooks_.events != nullptr) hooks_.events->OnRawRequest(request);
  // Most answers (verification, subscribe, the test word) need no outside service: when a worker
  // slot is free and nobody is waiting, answer here instead of waking a worker and being woken
  // back. Anything that needs a service goes to the workers as usual.
  bool answered = false;
  pool_->RunHereIfFree([&] { answered = Answer(clientAddress, request, false); });
  if (answered) return;
  pool_->Submit([this, clientAddress, request = std::move(request)] {
    Answer(clientAddress, request, true);
  });
}

bool Endpoint::Answer(const std::string& clientAddress, const std::string& request,
                      bool mayCallServices) {
  const auto started = std::chrono::steady_clock::now();
  HandledRequest handled;
  try {
    const EndpointSettings settings = hooks_.settingsForRequest();
    if (mayCallServices) {
      handled = HandleRequest(request, clientAddress, settings, *hooks_.actions, hooks_.events,
                              std::time(nullptr));
    } else {
      RefusingActions refusing;
      HeldEvents held;
      handled =
          HandleRequest(request, clientAddress, settings, refusing, &held, std::time(nullptr));
      held.ForwardTo(hooks_.events);
    }
  } catch (const NeedsWorker&) {
    return false;
  } catch (const std::exception&) {
    // One request that fails unexpectedly must not take the endpoint down with it, nor leave
    // WeChat waiting: it gets "no reply" like any request without an answer.
    handled = {BuildEmptyResponse(std::time(nullptr)), "request", "failed, no reply"};
  }
  const size_t replyBytes = handled.response.size();
  server_.SendAndClose(clientAddress, std::move(handled.response));
  if (hooks_.onHandled) {
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    hooks_.onHandled({clientAddress, handled.kind, handled.sent, replyBytes, took.count()});
  }
  return true;
}

bool Endpoint::Stop(std::chrono::milliseconds grace) {
  if (stopped_) return true;
  stopped_ = true;
  server_.StopAccepting();
  const bool finished = pool_->Shutdown(grace);
  if (ioThread_.joinable()) {
    // Let the last answers leave, and their clients close, before every connection is closed.
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (server_.PendingAnswers() > 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    server_.CloseAll();
    work_.reset();
    asio::post(io_, [this] { io_.stop(); });
    ioThread_.join();
  }
  if (!finished) (void)pool_.release();  // its detached workers still refer to it
  return finished;
}

}  // namespace qf
