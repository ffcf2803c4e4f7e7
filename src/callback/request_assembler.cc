#include "callback/request_assembler.h"

#include <algorithm>
#include <cctype>

namespace qf {
namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";

bool StartsWithNoCase(std::string_view line, std::string_view prefix) {
  if (line.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), line.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

long long ContentLengthOf(std::string_view head) {
  size_t lineStart = head.find("\r\n");
  while (lineStart != std::string_view::npos) {
    lineStart += 2;
    const size_t lineEnd = head.find("\r\n", lineStart);
    std::string_view line = head.substr(lineStart, lineEnd - lineStart);
    if (StartsWithNoCase(line, "content-length:")) {
      line.remove_prefix(15);
      while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
      while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
      if (line.empty() || line.size() > 12) return -1;
      long long value = 0;
      for (const char c : line) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
      }
      return value;
    }
    lineStart = lineEnd;
  }
  return 0;
}

RequestAssembler::State RequestAssembler::Feed(std::string_view bytes) {
  if (state_ != State::kIncomplete) {
    hadExtraBytes_ |= !bytes.empty();
    return state_;
  }
  buffer_.append(bytes);
  return state_ = Advance();
}

RequestAssembler::State RequestAssembler::Advance() {
  if (headEnd_ == 0) {
    // Look again only where the blank line could newly have been completed.
    const size_t from = bytesScanned_ >= 3 ? bytesScanned_ - 3 : 0;
    const size_t blank = buffer_.find(kBlankLine, from);
    if (blank == std::string::npos) {
      bytesScanned_ = buffer_.size();
      return buffer_.size() > kMaxHeadBytes ? State::kTooLarge : State::kIncomplete;
    }
    headEnd_ = blank + kBlankLine.size();
    if (headEnd_ > kMaxHeadBytes) return State::kTooLarge;
    const long long length = ContentLengthOf(std::string_view(buffer_).substr(0, blank));
    if (length < 0 || static_cast<unsigned long long>(length) > kMaxBodyBytes) {
      return State::kTooLarge;
    }
    bodyLength_ = static_cast<size_t>(length);
  }
  if (buffer_.size() < headEnd_ + bodyLength_) return State::kIncomplete;
  hadExtraBytes_ = buffer_.size() > headEnd_ + bodyLength_;
  buffer_.resize(headEnd_ + bodyLength_);  // anything after the request is not ours
  return State::kComplete;
}

}  // namespace qf
