// The movie search and the coupon lookup as the dispatch calls them, with the services and
// credentials of the settings file as they are at the time of each call.
#pragma once

#include <functional>

#include "app/service_settings.h"
#include "callback/message_actions.h"
#include "coupon/coupon_services.h"
#include "search/movie_services.h"

namespace qf {

MovieServices MovieServicesOf(const ServiceSettings& settings);
CouponServices CouponServicesOf(const ServiceSettings& settings);

class ProgramActions : public MessageActions {
 public:
  explicit ProgramActions(std::function<ServiceSettings()> services)
      : services_(std::move(services)) {}
  Text SearchSite(const Text& title) override;
  Text SearchCatalogue(const Text& title) override;
  Text LookUpCoupon(const Text& messageText) override;

 private:
  const std::function<ServiceSettings()> services_;
};

}  // namespace qf
