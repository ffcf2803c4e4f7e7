// The decision logic of the endpoint: which answer a request gets.
#pragma once

#include <ctime>
#include <string_view>

#include "callback/message_actions.h"
#include "text/text.h"

namespace qf {

// The settings one request is answered with, copied once at its start.
struct EndpointSettings {
  Text token;
  Text welcomeText;
  Text searchWord;  // as stored: numeric references (or raw text typed into the file by hand)
  Text newsPictureUrl;
};

struct HandledRequest {
  Text response;          // the bytes to send before closing the connection; never empty
  std::string_view kind;  // for the access log: what the request was
  std::string_view sent;  // for the access log: what it got
};

// Answers one whole request. Every request gets a response and then the connection is closed:
// a request that earns no reply gets the response head with an empty body, WeChat's "no reply",
// so that WeChat neither waits nor retries.
HandledRequest HandleRequest(std::string_view requestText, std::string_view clientAddress,
                             const EndpointSettings& settings, MessageActions& actions,
                             EndpointEvents* events, std::time_t now);

}  // namespace qf
