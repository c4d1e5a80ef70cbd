// The wizard's registry records kept in this system's file registry.
#include <gtest/gtest.h>

#include <fstream>

#include "host/bkitlib.h"
#include "temp_env.h"

namespace {

using host_testing::ScopedEnv;
using host_testing::TempFolder;
using platform::RegistryRoot;

// The wizard's records in the file registry of this system, in a private configuration folder.
class BkitlibTest : public ::testing::Test {
 protected:
  std::optional<std::string> Profile(const std::string& name) {
    return platform::SystemRegistry().ReadText(RegistryRoot::kCurrentUser, host::kProfileKey, name,
                                               1000);
  }
  void RecordInstallLocation(const std::string& location) {
    ASSERT_TRUE(host::writeRegistryText(RegistryRoot::kLocalMachine, host::kAdapterUninstallKey,
                                        "InstallLocation", location));
  }

  TempFolder temp_;
  ScopedEnv config_{"XDG_CONFIG_HOME", (temp_.path() / "config").string()};
  ScopedEnv machine_{"QUILLON_MACHINE_REGISTRY", (temp_.path() / "machine").string()};
};

TEST_F(BkitlibTest, ProfilesAreRecordedWithTheirSecurityNames) {
  struct Case {
    host::WlProfile profile;
    const char* channel;
    const char* sectype;
  };
  const Case cases[] = {
      {{"open-net", 11, 0, ""}, "11", "Disable"},
      {{"wep-net", 1, 1, "12345abcde"}, "1", "64bit"},
      {{"wpa-net", 13, 2, "passphrase 1"}, "13", "WPA-PSK"},
      {{"", -1, 0, ""}, "-1", "Disable"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.profile.ssid);
    ASSERT_EQ(host::saveWirelessProfile(c.profile), host::kProfileSaved);
    EXPECT_EQ(Profile("Ssid"), c.profile.ssid);
    EXPECT_EQ(Profile("Channel"), c.channel);
    EXPECT_EQ(Profile("Sectype"), c.sectype);
    EXPECT_EQ(Profile("SecKey"), c.profile.key);
  }
}

TEST_F(BkitlibTest, TheInstallLocationIsReadOnlyWhenItFitsTheBuffer) {
  EXPECT_FALSE(host::isAdapterSoftwareInstalled());
  EXPECT_EQ(host::adapterInstallLocation(), "");

  RecordInstallLocation(std::string(120, 'c'));
  EXPECT_TRUE(host::isAdapterSoftwareInstalled());
  EXPECT_EQ(host::adapterInstallLocation(), "");

  RecordInstallLocation(std::string(100, 'c'));
  EXPECT_EQ(host::adapterInstallLocation(), "");

  const std::string fits = "/opt/norvane/" + std::string(99 - 13, 'x');
  RecordInstallLocation(fits);
  EXPECT_EQ(host::adapterInstallLocation(), fits);
}

TEST_F(BkitlibTest, AnUninstallKeyWithoutTheValueMeansInstalledSomewhereUnknown) {
  ASSERT_TRUE(host::writeRegistryText(RegistryRoot::kLocalMachine, host::kAdapterUninstallKey,
                                      "DisplayName", "adapter"));
  EXPECT_TRUE(host::isAdapterSoftwareInstalled());
  EXPECT_EQ(host::adapterInstallLocation(), "");
}

TEST_F(BkitlibTest, AnUnwritableStoreFailsTheProfile) {
  std::ofstream(temp_.path() / "plainfile") << "in the way";
  ScopedEnv blocked("XDG_CONFIG_HOME", (temp_.path() / "plainfile").string());
  EXPECT_EQ(host::saveWirelessProfile({"net", 6, 2, "key"}), host::kProfileWriteFailed);
  EXPECT_FALSE(host::writeRegistryText(RegistryRoot::kCurrentUser, host::kProfileKey, "Ssid", "x"));
}

}  // namespace
