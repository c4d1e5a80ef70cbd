#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace net {

struct ResolveResult {
  int error = 0;              // kNetOk, kNetHostNotFound, kNetLookupFailed or kNetTimedOut
  std::uint32_t address = 0;  // host byte order; valid when error is kNetOk
};

// Turns a host name into an IPv4 address. Resolve blocks and may be called from any thread;
// implementations must return within a bounded time. Tests substitute their own resolver so that
// nothing of theirs ever reaches the host's DNS.
class NameResolver {
 public:
  virtual ~NameResolver() = default;
  virtual ResolveResult Resolve(const std::string& host) = 0;
};

// The system's resolver as it is: unbounded when the DNS server is dead.
class SystemNameResolver : public NameResolver {
 public:
  ResolveResult Resolve(const std::string& host) override;
};

// Gives an inner resolver a deadline: past it, Resolve reports kNetTimedOut and the inner call,
// which cannot be cancelled, finishes on its own thread and is forgotten.
class DeadlineResolver : public NameResolver {
 public:
  DeadlineResolver(std::shared_ptr<NameResolver> inner, std::chrono::milliseconds deadline);
  ResolveResult Resolve(const std::string& host) override;

 private:
  std::shared_ptr<NameResolver> inner_;
  std::chrono::milliseconds deadline_;
};

// A system lookup may take this long before it counts as failed.
inline constexpr std::chrono::milliseconds kDefaultLookupDeadline{3000};

// The system resolver behind kDefaultLookupDeadline.
std::shared_ptr<NameResolver> DefaultNameResolver();

}  // namespace net
