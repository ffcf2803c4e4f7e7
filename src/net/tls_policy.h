// Whether HTTPS certificates are verified against the system's trust store (the default). The
// operator may switch it off for services whose certificates cannot be verified.
#pragma once

namespace qf {

void SetTlsVerification(bool verify);
bool TlsVerification();

}  // namespace qf
