#include "host/bkitlib.h"

#include <gtest/gtest.h>

#include "host_fakes.h"

namespace {

using host_testing::RecordingRegistry;
using platform::RegistryRoot;

// The order of the writes and where they stop, seen through a recording registry.
TEST(BkitlibOrder, WritesStopAtTheFirstValueThatFails) {
  struct Case {
    const char* refused;
    host::WlProfile profile;
    int result;
    std::vector<std::string> written;
  };
  const Case cases[] = {
      {"", {"net", 6, 2, "key"}, 0, {"Ssid", "Channel", "Sectype", "SecKey"}},
      {"Ssid", {"net", 6, 2, "key"}, 101, {"Ssid"}},
      {"Channel", {"net", 6, 2, "key"}, 101, {"Ssid", "Channel"}},
      {"Sectype", {"net", 6, 2, "key"}, 101, {"Ssid", "Channel", "Sectype"}},
      {"SecKey", {"net", 6, 2, "key"}, 101, {"Ssid", "Channel", "Sectype", "SecKey"}},
      // A security type without a name fails at its own value; nothing made up is recorded.
      {"", {"net", 6, 3, "key"}, 101, {"Ssid", "Channel"}},
      {"", {"net", 6, -1, "key"}, 101, {"Ssid", "Channel"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.refused) + " type " + std::to_string(c.profile.securityType));
    RecordingRegistry registry;
    registry.refusedValue = c.refused;
    platform::ScopedRegistry use(registry);
    EXPECT_EQ(host::saveWirelessProfile(c.profile), c.result);
    std::vector<std::string> written;
    for (const auto& write : registry.writes) {
      written.push_back(write.name);
      EXPECT_EQ(write.root, RegistryRoot::kCurrentUser);
      EXPECT_EQ(write.key, "Software\\Norvane\\Quillon");
    }
    EXPECT_EQ(written, c.written);
  }
}

TEST(BkitlibOrder, TheAdapterQueriesGoToTheMachineUninstallKey) {
  RecordingRegistry registry;
  platform::ScopedRegistry use(registry);
  EXPECT_FALSE(host::isAdapterSoftwareInstalled());
  registry.values[{RegistryRoot::kCurrentUser, host::kAdapterUninstallKey}]["InstallLocation"] =
      "C:\\wrong root";
  EXPECT_FALSE(host::isAdapterSoftwareInstalled());
  EXPECT_EQ(host::adapterInstallLocation(), "");
  registry.values[{RegistryRoot::kLocalMachine,
                   "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                   "{5B0D7E21-3C94-4F6A-9A1E-7D22C4E8B913}"}]["InstallLocation"] = "C:\\KXU";
  EXPECT_TRUE(host::isAdapterSoftwareInstalled());
  EXPECT_EQ(host::adapterInstallLocation(), "C:\\KXU");
}

TEST(SecurityTypeNames, CoverTheThreeTypesOnly) {
  EXPECT_STREQ(host::SecurityTypeName(0), "Disable");
  EXPECT_STREQ(host::SecurityTypeName(1), "64bit");
  EXPECT_STREQ(host::SecurityTypeName(2), "WPA-PSK");
  EXPECT_EQ(host::SecurityTypeName(3), nullptr);
  EXPECT_EQ(host::SecurityTypeName(-1), nullptr);
}

}  // namespace
