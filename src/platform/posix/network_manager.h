#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/posix/system_bus.h"

namespace platform::posix {

// The desktop's network manager, driven over its D-Bus interface as its own command-line tool
// does. Where it manages an adapter, a client of ours beside it would fight over the lease; and
// only it keeps the lease renewed after the wizard ends.
class NetworkManagerClient {
 public:
  // nullptr when the network manager does not run (it is never started for us). The bus
  // outlives the client.
  static std::unique_ptr<NetworkManagerClient> Connect(SystemBus& bus);

  // The manager's object for the adapter, when it manages the adapter.
  std::optional<std::string> ManagedDevice(const std::string& interfaceName);

  // Whether the adapter's connection takes its IPv4 address by DHCP; true when no connection
  // is active, as activating one leases an address by default.
  bool UsesAutomaticAddressing(const std::string& device);

  // Sets the adapter's connection to take its IPv4 address by DHCP, kept on disk as the user's
  // own change would be; its other settings stay as they are.
  bool SwitchToAutomatic(const std::string& device);

  // Activates the adapter's connection again, which gives up the lease and asks for a new one,
  // and waits until it holds a new DHCP lease or timeoutMs has passed.
  bool Reactivate(const std::string& device, int timeoutMs);

 private:
  explicit NetworkManagerClient(SystemBus& bus) : bus_(bus) {}
  // The saved connection behind the adapter's active connection; "/" when none is active.
  std::string SettingsOf(const std::string& device);
  std::optional<std::string> Ipv4Method(const std::string& settings);
  bool HoldsLease(const std::string& active);
  // Starts activating the device's connection; the active connection's object.
  std::optional<std::string> Activate(const std::string& device);

  SystemBus& bus_;
};

}  // namespace platform::posix
