#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class LookupStatus { kOk, kNotFound, kFailed };

struct LookupResult {
  LookupStatus status = LookupStatus::kFailed;
  std::uint32_t address = 0;  // host byte order; valid with kOk
};

// Resolves a host name to its first IPv4 address through the system's resolver. Blocks for as
// long as the resolver takes (with a dead DNS server, many seconds): callers that must not wait
// that long run it on a helper thread with a deadline of their own.
LookupResult LookupIpv4(const std::string& host);

}  // namespace platform
