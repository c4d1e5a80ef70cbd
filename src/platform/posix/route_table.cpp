#include "platform/posix/route_table.h"

#include <bit>
#include <charconv>

namespace platform::posix {
namespace {

constexpr unsigned kRouteUp = 0x0001;
constexpr unsigned kRouteGateway = 0x0002;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool ParseNumber(std::string_view text, int base, std::uint32_t* value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value, base);
  return error == std::errc() && end == text.data() + text.size();
}

// The kernel prints the address as the 32-bit word it keeps in network byte order, read in the
// machine's own order.
std::uint32_t HostOrder(std::uint32_t printed) {
  if constexpr (std::endian::native == std::endian::big) return printed;
  return (printed >> 24) | ((printed >> 8) & 0xFF00u) | ((printed << 8) & 0xFF0000u) |
         (printed << 24);
}

}  // namespace

std::vector<DefaultRoute> ParseDefaultRoutes(std::string_view routeTable) {
  std::vector<DefaultRoute> routes;
  bool header = true;
  std::size_t start = 0;
  while (start < routeTable.size()) {
    std::size_t end = routeTable.find('\n', start);
    if (end == std::string_view::npos) end = routeTable.size();
    std::string_view line = routeTable.substr(start, end - start);
    start = end + 1;
    if (header) {
      header = false;
      continue;
    }
    // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
    auto fields = Fields(line);
    if (fields.size() < 8) continue;
    std::uint32_t destination = 0, gateway = 0, flags = 0, metric = 0, mask = 0;
    if (!ParseNumber(fields[1], 16, &destination) || !ParseNumber(fields[2], 16, &gateway) ||
        !ParseNumber(fields[3], 16, &flags) || !ParseNumber(fields[6], 10, &metric) ||
        !ParseNumber(fields[7], 16, &mask))
      continue;
    if (destination != 0 || mask != 0 || gateway == 0) continue;
    if ((flags & (kRouteUp | kRouteGateway)) != (kRouteUp | kRouteGateway)) continue;
    routes.push_back({std::string(fields[0]), HostOrder(gateway), metric});
  }
  return routes;
}

std::uint32_t FirstGatewayOf(const std::vector<DefaultRoute>& routes, std::string_view name) {
  const DefaultRoute* best = nullptr;
  for (const auto& route : routes)
    if (route.interfaceName == name && (!best || route.metric < best->metric)) best = &route;
  return best ? best->gateway : 0;
}

}  // namespace platform::posix
