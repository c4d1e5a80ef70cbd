// What the platform layer reads from the system: the kernel's route table (the adapters'
// default gateways) and the address listing of the DHCP renewal. Any text gives well-formed
// results: interface names without blanks, each once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/posix/dhclient_setup.h"
#include "platform/posix/route_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace platform::posix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const auto routes = ParseDefaultRoutes(text);
  for (const DefaultRoute& route : routes) {
    if (route.interfaceName.empty() || route.gateway == 0) std::abort();
    if (route.interfaceName.find_first_of(" \t\n") != std::string::npos) std::abort();
    // The first route of an interface with the lowest metric is the one its gateway comes from.
    const std::uint32_t gateway = FirstGatewayOf(routes, route.interfaceName);
    bool found = false;
    for (const DefaultRoute& other : routes)
      found = found || (other.interfaceName == route.interfaceName && other.gateway == gateway &&
                        other.metric <= route.metric);
    if (!found) std::abort();
  }
  if (FirstGatewayOf(routes, "no such interface") != 0) std::abort();

  const auto names = InterfacesInAddressListing(text);
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i].empty() || names[i].find_first_of(" \t\n@") != std::string::npos) std::abort();
    for (size_t k = i + 1; k < names.size(); ++k)
      if (names[i] == names[k]) std::abort();
  }
  return 0;
}
