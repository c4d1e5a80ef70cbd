#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/posix/system_bus.h"

namespace platform::posix {

// systemd-networkd, driven over its D-Bus interface. It configures each adapter from the
// administrator's files, so the way an adapter takes its address stays theirs; what the wizard
// asks of it is a fresh configuration, which gives up the lease and asks for a new one.
class NetworkdClient {
 public:
  // nullptr when systemd-networkd does not run (it is never started for us). The bus outlives
  // the client.
  static std::unique_ptr<NetworkdClient> Connect(SystemBus& bus);

  // Its object for the adapter, when it configures the adapter.
  std::optional<std::string> ManagedLink(std::uint32_t interfaceIndex);

  // Configures the adapter afresh and waits until it is configured with a usable IPv4 address
  // or timeoutMs has passed.
  bool Reconfigure(const std::string& link, int timeoutMs);

 private:
  explicit NetworkdClient(SystemBus& bus) : bus_(bus) {}
  SystemBus& bus_;
};

}  // namespace platform::posix
