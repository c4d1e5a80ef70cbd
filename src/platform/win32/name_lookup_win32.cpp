#include "platform/name_lookup.h"
#include "platform/socket_api.h"
#include "platform/win32/winsock.h"

namespace platform {

LookupResult LookupIpv4(const std::string& host) {
  if (!win32::EnsureWinsock()) return {LookupStatus::kFailed, 0};
  const addrinfo hints = sockets::Ipv4Question();
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (rc != 0) {
    // WSAHOST_NOT_FOUND and WSANO_DATA are the authoritative "no such name" answers; a server
    // that did not answer (WSATRY_AGAIN) or anything else is a failed lookup.
    const bool unknown = rc == EAI_NONAME || rc == WSANO_DATA;
    return {unknown ? LookupStatus::kNotFound : LookupStatus::kFailed, 0};
  }
  return sockets::FirstIpv4(found);
}

}  // namespace platform
