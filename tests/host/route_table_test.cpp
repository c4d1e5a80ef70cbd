// Default gateways of the adapter list, from the kernel's routing table text.
#include <gtest/gtest.h>

#include "platform/posix/route_table.h"

namespace {

using platform::posix::DefaultRoute;
using platform::posix::FirstGatewayOf;
using platform::posix::ParseDefaultRoutes;

// Gateways as the kernel prints them on this (little-endian) machine: 198.51.100.1 is 016433C6.
constexpr const char* kTable =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
    "eth0\t00000000\t016433C6\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
    "eth0\t006433C6\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n"
    "wlan0\t00000000\t0102A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
    "wlan0\t00000000\t0202A8C0\t0003\t0\t0\t50\t00000000\t0\t0\t0\n"
    "eth1\t00000000\t0101000A\t0002\t0\t0\t0\t00000000\t0\t0\t0\n"
    "eth2\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"
    "eth3\t0000000A\t0101000A\t0003\t0\t0\t0\t000000FF\t0\t0\t0\n"
    "eth4\t00000000\t0101000A\t0003\t0\t0\t0\t00000080\t0\t0\t0\n"
    "broken\t00000000\tZZZZ\t0003\t0\t0\t0\t00000000\n"
    "short\t00000000\t0101000A\t0003\n"
    "eth5  00000000  0301A8C0  0003  0  0  7  00000000  0  0  0";

TEST(RouteTable, KeepsOnlyDefaultRoutesThatAreUpAndHaveAGateway) {
  const std::vector<DefaultRoute> expected = {
      {"eth0", 0xC6336401, 100},   // 198.51.100.1
      {"wlan0", 0xC0A80201, 600},  // 192.168.2.1
      {"wlan0", 0xC0A80202, 50},   // 192.168.2.2
      {"eth5", 0xC0A80103, 7},     // blanks instead of tabs, no line end
  };
  EXPECT_EQ(ParseDefaultRoutes(kTable), expected);
}

TEST(RouteTable, TheLowestMetricWinsAndTheEarlierRouteOnATie) {
  auto routes = ParseDefaultRoutes(kTable);
  EXPECT_EQ(FirstGatewayOf(routes, "eth0"), 0xC6336401u);
  EXPECT_EQ(FirstGatewayOf(routes, "wlan0"), 0xC0A80202u);
  EXPECT_EQ(FirstGatewayOf(routes, "eth1"), 0u);
  EXPECT_EQ(FirstGatewayOf(routes, "eth"), 0u);
  routes.push_back({"eth0", 0x0A000001, 100});
  EXPECT_EQ(FirstGatewayOf(routes, "eth0"), 0xC6336401u);
}

TEST(RouteTable, EmptyOrHeaderOnlyTablesHaveNoRoutes) {
  EXPECT_TRUE(ParseDefaultRoutes("").empty());
  EXPECT_TRUE(
      ParseDefaultRoutes("eth0\t00000000\t016433C6\t0003\t0\t0\t0\t00000000\t0\t0\t0\n").empty());
}

}  // namespace
