#include "net/tls_policy.h"

#include <atomic>

namespace qf {
namespace {

std::atomic<bool> verifyTls{true};

}  // namespace

void SetTlsVerification(bool verify) { verifyTls = verify; }
bool TlsVerification() { return verifyTls; }

}  // namespace qf
