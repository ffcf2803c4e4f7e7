// What the dispatch asks of the movie search and the coupon lookup, and what it tells the front
// end. The program wires real implementations in; tests use stand-ins.
#pragma once

#include <string_view>

#include "text/text.h"

namespace qf {

// Each call gets and gives code page 936 text and reports failure as "". Called from worker
// threads, several at once.
class MessageActions {
 public:
  virtual ~MessageActions() = default;
  virtual Text SearchSite(const Text& title) = 0;
  virtual Text SearchCatalogue(const Text& title) = 0;
  virtual Text LookUpCoupon(const Text& messageText) = 0;
};

// The two views of the console: called from the I/O thread and from workers, so an
// implementation must hand the work to its own thread.
class EndpointEvents {
 public:
  virtual ~EndpointEvents() = default;
  virtual void OnRawRequest(std::string_view requestBytes) = 0;
  virtual void OnMessage(const Text& content) = 0;
};

}  // namespace qf
