#include "platform/name_lookup.h"
#include "platform/socket_api.h"

namespace platform {

LookupResult LookupIpv4(const std::string& host) {
  const addrinfo hints = sockets::Ipv4Question();
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (rc != 0) {
    const bool unknown = rc == EAI_NONAME || rc == EAI_NODATA || rc == EAI_ADDRFAMILY;
    return {unknown ? LookupStatus::kNotFound : LookupStatus::kFailed, 0};
  }
  const LookupResult result = sockets::FirstIpv4(found);
  ::freeaddrinfo(found);
  return result;
}

}  // namespace platform
