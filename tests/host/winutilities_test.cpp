// DHCP renewal through an injected configuration service, and the version table. No test here
// touches the machine's own adapters or leases.
#include "host/winutilities.h"

#include <gtest/gtest.h>

#include "host_fakes.h"

namespace {

using host_testing::RecordingDhcp;
using Calls = std::vector<std::string>;

TEST(RenewAllDhcpLeases, EachAdapterIsSwitchedReleasedAndRenewedInTurn) {
  RecordingDhcp dhcp;
  dhcp.adapters = {{"eth0", 2, false}, {"wlan0", 3, true}, {"eth1", 5, false}};
  platform::ScopedDhcp use(dhcp);
  EXPECT_EQ(host::RenewAllDhcpLeases(), 0);
  EXPECT_EQ(dhcp.calls,
            (Calls{"open", "list", "enable eth0", "release eth0", "renew eth0", "release wlan0",
                   "renew wlan0", "enable eth1", "release eth1", "renew eth1", "close"}));
}

TEST(RenewAllDhcpLeases, FailingStepsAreIgnored) {
  RecordingDhcp dhcp;
  dhcp.adapters = {{"eth0", 2, false}, {"eth1", 3, false}};
  dhcp.actionsFail = true;
  platform::ScopedDhcp use(dhcp);
  EXPECT_EQ(host::RenewAllDhcpLeases(), 0);
  EXPECT_EQ(dhcp.calls, (Calls{"open", "list", "enable eth0", "release eth0", "renew eth0",
                               "enable eth1", "release eth1", "renew eth1", "close"}));
}

TEST(RenewAllDhcpLeases, NoAdaptersMeansNoCalls) {
  RecordingDhcp dhcp;
  platform::ScopedDhcp use(dhcp);
  EXPECT_EQ(host::RenewAllDhcpLeases(), 0);
  EXPECT_EQ(dhcp.calls, (Calls{"open", "list", "close"}));
}

TEST(RenewAllDhcpLeases, ARefusedSessionGivesOneAndTouchesNoAdapter) {
  RecordingDhcp dhcp;
  dhcp.adapters = {{"eth0", 2, false}};
  dhcp.refuse = true;
  platform::ScopedDhcp use(dhcp);
  EXPECT_EQ(host::RenewAllDhcpLeases(), 1);
  EXPECT_EQ(dhcp.calls, (Calls{"open"}));
}

TEST(PlatformVersionCode, TheVersionTable) {
  struct Case {
    int major, minor;
    int code;
  };
  const Case cases[] = {
      {5, 0, 1}, {5, 1, 2},  {5, 2, 3},  {4, 0, 4}, {4, 90, 5}, {4, 10, 6}, {6, 0, 7},  {6, 1, 0},
      {6, 2, 0}, {10, 0, 0}, {3, 51, 0}, {4, 1, 0}, {5, 3, 0},  {0, 0, 0},  {-5, 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(host::VersionCodeFor(c.major, c.minor), c.code) << c.major << "." << c.minor;
  EXPECT_EQ(host::PlatformVersionCode(), 0) << "this system is not Windows";
}

}  // namespace
