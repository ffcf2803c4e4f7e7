// The plain URL reader.
#include "net/curl_transfer.h"
#include "net/requesters.h"
#include "net/tls_policy.h"

namespace qf {

Bytes ReadUrl(std::string_view url) {
  HttpTransfer transfer;
  transfer.url = url;
  transfer.http10 = true;
  transfer.headerLines = {"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
                          "Accept: */*"};
  transfer.verifyTls = TlsVerification();
  TransferResult result = PerformTransfer(transfer);
  return result.code == CURLE_OK ? std::move(result.body) : Bytes();
}

}  // namespace qf
