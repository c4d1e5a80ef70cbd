#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/service_override.h"

namespace platform {

// Addresses and masks are in host byte order.
struct AdapterAddress {
  std::uint32_t address = 0;
  std::uint32_t mask = 0;

  bool operator==(const AdapterAddress&) const = default;
};

// What carries an adapter's link. The modem hangs on a cable; a laptop's radio may reach it (or
// another network); a link the PC makes for itself (a tunnel, a bridge of containers or virtual
// machines, a bond or bridge member) never leads to it.
enum class AdapterMedium { kWired, kWireless, kVirtual };

struct NetworkAdapter {
  std::string name;
  std::uint32_t index = 0;
  std::array<std::uint8_t, 6> mac{};
  std::vector<AdapterAddress> addresses;  // IPv4 only, in the order the system lists them
  std::uint32_t gateway = 0;              // the first default gateway; 0 when there is none
  AdapterMedium medium = AdapterMedium::kWired;
  bool connected = true;  // a cable in (or the radio associated): a link that can carry datagrams

  // 0 (that is "0.0.0.0") for an adapter without an address, as the adapter list reports it.
  std::uint32_t FirstAddress() const { return addresses.empty() ? 0 : addresses.front().address; }
};

// The PC's network adapters in the system's order, loopback left out; empty when the system
// cannot be asked.
class NetworkAdapterService {
 public:
  virtual ~NetworkAdapterService() = default;
  virtual std::vector<NetworkAdapter> List() = 0;
};

// The system's adapter list; defined once per OS.
NetworkAdapterService& SystemNetworkAdapters();

inline NetworkAdapterService& CurrentNetworkAdapters() {
  return CurrentService<NetworkAdapterService>(SystemNetworkAdapters());
}

using ScopedNetworkAdapters = ScopedServiceReplacement<NetworkAdapterService>;

inline std::vector<NetworkAdapter> ListNetworkAdapters() {
  return CurrentNetworkAdapters().List();
}

}  // namespace platform
