#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/posix/system_bus.h"

namespace platform::posix {

class LinkReconfiguration;

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

  // Asks for the adapter's fresh configuration; nullptr when the daemon refuses.
  std::unique_ptr<LinkReconfiguration> StartReconfigure(const std::string& link);

  // Configures the adapter afresh and waits until it is configured with a usable IPv4 address
  // or timeoutMs has passed.
  bool Reconfigure(const std::string& link, int timeoutMs);

 private:
  explicit NetworkdClient(SystemBus& bus) : bus_(bus) {}
  SystemBus& bus_;
};

// One fresh configuration that the wizard asked of the daemon.
class LinkReconfiguration {
 public:
  LinkReconfiguration(const LinkReconfiguration&) = delete;
  LinkReconfiguration& operator=(const LinkReconfiguration&) = delete;

  // Whether the link is configured with a usable IPv4 address by this configuration before
  // timeoutMs has passed.
  bool Wait(int timeoutMs);

 private:
  friend class NetworkdClient;
  LinkReconfiguration(SystemBus& bus, std::string link) : bus_(bus), link_(std::move(link)) {}
  SystemBus& bus_;
  std::string link_;
};

}  // namespace platform::posix
