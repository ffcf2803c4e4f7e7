#include "callback/access_verification.h"

#include <openssl/evp.h>

#include "text/code_page.h"
#include "text/lower_hex.h"
#include "text/text_slicing.h"

namespace qf {

Text Sha1Hex(std::string_view text) {
  const Text utf8 = ToUtf8(text);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(utf8.data(), utf8.size(), digest, &length, EVP_sha1(), nullptr) != 1) {
    return Text();
  }
  return LowerHex(digest, length);
}

void SortTextsAscending(std::vector<Text>& texts) {
  std::vector<Text> sorted;
  sorted.reserve(texts.size());
  for (Text& x : texts) {
    if (sorted.empty() || !(x < sorted.back())) {
      sorted.push_back(std::move(x));
      continue;
    }
    if (!(sorted.front() < x)) {
      sorted.insert(sorted.begin(), std::move(x));
      continue;
    }
    // Binary search over 1-based positions, as the insertion has always worked.
    size_t lo = 1;
    size_t hi = sorted.size();
    size_t mid = (hi + 1) / 2;
    while (hi - lo >= 2) {
      if (x == sorted[mid - 1]) break;
      if (x < sorted[mid - 1]) {
        hi = mid;
      } else {
        lo = mid;
      }
      mid = (hi + lo) / 2;
    }
    const size_t at = sorted[mid - 1] < x ? mid : mid - 1;
    sorted.insert(sorted.begin() + static_cast<std::ptrdiff_t>(at), std::move(x));
  }
  texts = std::move(sorted);
}

Text VerifyAccess(std::string_view requestText, std::string_view token) {
  const Text signature = TextBetween(requestText, "signature=", "&echostr");
  const Text timestamp = TextBetween(requestText, "timestamp=", "&nonce");
  const Text nonce = TextBetween(requestText, "nonce=", " HTTP");
  std::vector<Text> parts = {nonce, timestamp, Text(token)};
  SortTextsAscending(parts);
  if (Sha1Hex(parts[0] + parts[1] + parts[2]) != signature) return Text();
  return TextBetween(requestText, "&echostr=", "&timestamp");
}

}  // namespace qf
