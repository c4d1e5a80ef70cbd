#include "platform/win32/name_lookup_win32.h"

#include <cstring>

#include "platform/socket_api.h"
#include "platform/win32/system_function.h"
#include "platform/win32/winsock.h"

namespace platform {
namespace {

// getaddrinfo came with Windows XP: looked up by name, so that the program still starts on
// Windows 2000, where the lookup falls back to gethostbyname.
struct AddrInfoRoutines {
  using GetFn = int(WSAAPI*)(const char*, const char*, const addrinfo*, addrinfo**);
  using FreeFn = void(WSAAPI*)(addrinfo*);
  GetFn get = nullptr;
  FreeFn free = nullptr;

  AddrInfoRoutines() {
    get = win32::SystemFunction<GetFn>("ws2_32.dll", "getaddrinfo");
    free = win32::SystemFunction<FreeFn>("ws2_32.dll", "freeaddrinfo");
    if (get == nullptr || free == nullptr) get = nullptr;
  }
};

// WSAHOST_NOT_FOUND and WSANO_DATA are the authoritative "no such name" answers; a server that
// did not answer (WSATRY_AGAIN) or anything else is a failed lookup.
LookupStatus FailureOf(int error) {
  const bool unknown = error == WSAHOST_NOT_FOUND || error == WSANO_DATA;
  return unknown ? LookupStatus::kNotFound : LookupStatus::kFailed;
}

}  // namespace

namespace win32 {

// Winsock keeps the answer in a buffer of the calling thread, so concurrent lookups on other
// threads do not disturb it.
LookupResult LookupIpv4ByHostName(const std::string& host) {
  if (!EnsureWinsock()) return {LookupStatus::kFailed, 0};
  const hostent* found = ::gethostbyname(host.c_str());
  if (found == nullptr) return {FailureOf(::WSAGetLastError()), 0};
  if (found->h_addrtype != AF_INET || found->h_length != 4 || found->h_addr_list[0] == nullptr)
    return {LookupStatus::kNotFound, 0};
  in_addr address;
  std::memcpy(&address, found->h_addr_list[0], sizeof address);
  return {LookupStatus::kOk, ntohl(address.s_addr)};
}

}  // namespace win32

LookupResult LookupIpv4(const std::string& host) {
  if (!win32::EnsureWinsock()) return {LookupStatus::kFailed, 0};
  // Made after Winsock started, so that its library is loaded.
  static const AddrInfoRoutines addrInfo;
  if (addrInfo.get == nullptr) return win32::LookupIpv4ByHostName(host);
  const addrinfo hints = sockets::Ipv4Question();
  addrinfo* found = nullptr;
  const int rc = addrInfo.get(host.c_str(), nullptr, &hints, &found);
  if (rc != 0) return {FailureOf(rc), 0};
  const LookupResult result = sockets::FirstIpv4(found);
  addrInfo.free(found);
  return result;
}

}  // namespace platform
