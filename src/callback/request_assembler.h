// Collects the bytes of one HTTP request as they arrive, so that a request split across several
// reads is handled once, whole: the head up to its blank line, then as many body bytes as its
// Content-Length gives (none without one). No sockets here; the connection feeds it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qf {

class RequestAssembler {
 public:
  static constexpr size_t kMaxHeadBytes = 64 * 1024;
  static constexpr size_t kMaxBodyBytes = 1024 * 1024;

  enum class State {
    kIncomplete,  // more bytes needed
    kComplete,    // Request() holds the whole request
    kTooLarge,    // the head or the declared body is over its limit: close at once
  };

  // Adds bytes; bytes after a complete request are ignored, and counted as extra.
  State Feed(std::string_view bytes);
  State state() const { return state_; }

  // The whole request once complete: head, blank line and body, exactly as received.
  const std::string& Request() const { return buffer_; }
  // Whether bytes beyond the request arrived: the client may still be sending.
  bool HadExtraBytes() const { return hadExtraBytes_; }

 private:
  State Advance();

  std::string buffer_;
  size_t headEnd_ = 0;       // bytes up to and including the blank line, once seen
  size_t bytesScanned_ = 0;  // how far the search for the blank line has looked
  size_t bodyLength_ = 0;
  bool hadExtraBytes_ = false;
  State state_ = State::kIncomplete;
};

// The Content-Length of a request head (case-insensitive name); 0 without one, -1 when it is not
// a plain decimal number.
long long ContentLengthOf(std::string_view head);

}  // namespace qf
