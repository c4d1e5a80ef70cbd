#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

struct DefaultRoute {
  std::string interfaceName;
  std::uint32_t gateway = 0;  // host byte order
  std::uint32_t metric = 0;

  bool operator==(const DefaultRoute&) const = default;
};

// The default routes with a gateway in the kernel's IPv4 routing table as /proc/net/route shows
// it (a header line, then one tab-separated route a line with addresses in the kernel's hex), in
// the table's order. Malformed lines are skipped.
std::vector<DefaultRoute> ParseDefaultRoutes(std::string_view routeTable);

// The gateway of the interface's preferred default route (lowest metric, the earlier one on a
// tie); 0 when it has none.
std::uint32_t FirstGatewayOf(const std::vector<DefaultRoute>& routes, std::string_view name);

}  // namespace platform::posix
