// The movie search as the dispatch calls it. The coupon lookup is not part of it and finds
// nothing here.
#pragma once

#include <functional>

#include "callback/message_actions.h"
#include "search/movie_services.h"

namespace qf {

class MovieSearchActions : public MessageActions {
 public:
  // `services` is asked at every search, so that a reload of the settings takes effect.
  explicit MovieSearchActions(std::function<MovieServices()> services)
      : services_(std::move(services)) {}
  Text SearchSite(const Text& title) override;
  Text SearchCatalogue(const Text& title) override;
  Text LookUpCoupon(const Text&) override { return Text(); }

 private:
  const std::function<MovieServices()> services_;
};

}  // namespace qf
