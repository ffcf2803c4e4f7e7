#include "net/base64.h"

#include <openssl/evp.h>

namespace qf {

Text Base64Encode(std::string_view data) {
  if (data.empty()) return Text();
  Text out(4 * ((data.size() + 2) / 3) + 1, '\0');  // EVP_EncodeBlock adds a terminating zero
  const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                      reinterpret_cast<const unsigned char*>(data.data()),
                                      static_cast<int>(data.size()));
  out.resize(static_cast<size_t>(written));
  return out;
}

}  // namespace qf
