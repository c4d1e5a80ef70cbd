#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/service_override.h"

namespace platform {

struct DhcpAdapter {
  std::string name;
  std::uint32_t index = 0;
  bool dhcpEnabled = false;  // false: the adapter has a static address

  bool operator==(const DhcpAdapter&) const = default;
};

// One use of the system's network configuration services. Every action is synchronous; its
// result only says whether the system accepted it.
class DhcpSession {
 public:
  virtual ~DhcpSession() = default;
  // The IP-enabled adapters in the system's order; empty when the system cannot list them.
  virtual std::vector<DhcpAdapter> Adapters() = 0;
  virtual bool EnableDhcp(const DhcpAdapter& adapter) = 0;
  virtual bool ReleaseLease(const DhcpAdapter& adapter) = 0;
  virtual bool RenewLease(const DhcpAdapter& adapter) = 0;
  // Which of the system's services does the work, for the log.
  virtual std::string Method() const { return "the system's configuration service"; }
};

class DhcpService {
 public:
  virtual ~DhcpService() = default;
  // nullptr when the configuration services refuse this process altogether.
  virtual std::unique_ptr<DhcpSession> OpenSession() = 0;
};

// The system's DHCP configuration; defined once per OS.
DhcpService& SystemDhcp();

inline DhcpService& CurrentDhcp() {
  return CurrentService<DhcpService>(SystemDhcp());
}

using ScopedDhcp = ScopedServiceReplacement<DhcpService>;

}  // namespace platform
