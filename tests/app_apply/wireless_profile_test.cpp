// The registry record of the wireless settings, in a private XDG_CONFIG_HOME, and what the
// software link page does when it cannot be written.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "apply_fixture.h"
#include "host/bkitlib.h"
#include "platform/environment.h"
#include "platform/registry.h"

namespace {

using namespace app;

class WirelessProfileTest : public ApplyWizardTest {
 protected:
  void SetUp() override {
    ApplyWizardTest::SetUp();
    Start();
    // The connection pages' collection is not what these tests look at.
    main().routines.collectSettings = nullptr;
  }
  std::string Stored(const char* value) {
    return platform::CurrentRegistry()
        .ReadText(platform::RegistryRoot::kCurrentUser, host::kProfileKey, value, 4096)
        .value_or("<missing>");
  }
  bool Write(const std::string& security, const std::string& key) {
    auto& v = main().values;
    v.wirelessSsid = "Garden Net";
    v.wirelessChannel = "11";
    v.wirelessSecurity = security;
    v.wirelessKey = key;
    return main().routines.writeWirelessProfile();
  }
};

struct SecurityCase {
  const char* security;
  const char* storedType;
  const char* storedKey;
};
void PrintTo(const SecurityCase& c, std::ostream* os) {
  *os << c.security;
}

class SecurityTexts : public WirelessProfileTest,
                      public ::testing::WithParamInterface<SecurityCase> {};

TEST_P(SecurityTexts, AreRecordedByTheirType) {
  ASSERT_TRUE(Write(GetParam().security, "k3y-text"));
  EXPECT_EQ(Stored("Ssid"), "Garden Net");
  EXPECT_EQ(Stored("Channel"), "11");
  EXPECT_EQ(Stored("Sectype"), GetParam().storedType);
  EXPECT_EQ(Stored("SecKey"), GetParam().storedKey);
  EXPECT_TRUE(backend().messageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Each, SecurityTexts,
                         ::testing::Values(SecurityCase{"None", "Disable", ""},
                                           SecurityCase{"WEP Key(64 bits)", "64bit", "k3y-text"},
                                           SecurityCase{"WEP 64bit", "64bit", "k3y-text"},
                                           SecurityCase{"WEP Key(128 bits)", "64bit", "k3y-text"},
                                           SecurityCase{"WPA PSK", "WPA-PSK", "k3y-text"},
                                           SecurityCase{"WPA-PSK", "WPA-PSK", "k3y-text"},
                                           SecurityCase{"WPA2 PSK", "WPA-PSK", "k3y-text"},
                                           // Codes kept from the modem are what it is left
                                           // with; other texts keep the start values.
                                           SecurityCase{"PSK", "WPA-PSK", "k3y-text"},
                                           SecurityCase{"NONE", "Disable", ""},
                                           SecurityCase{"none", "Disable", ""}));

TEST_F(WirelessProfileTest, ATypeTheWizardCannotNameKeepsThePreviousTypeAndKey) {
  ASSERT_TRUE(Write("WPA2 PSK", "first passphrase"));
  // Shared-key WEP, say: the modem's code is none the wizard knows.
  ASSERT_TRUE(Write("", ""));
  EXPECT_EQ(Stored("Sectype"), "WPA-PSK");
  EXPECT_EQ(Stored("SecKey"), "first passphrase");
  EXPECT_EQ(main().values.wlProfile.securityType, 2);
  EXPECT_EQ(Stored("Ssid"), "Garden Net");
}

TEST_F(WirelessProfileTest, AChannelTextIsReadLikeAtol) {
  main().values.wirelessChannel = " 6abc";
  auto& v = main().values;
  v.wirelessSecurity = "None";
  ASSERT_TRUE(main().routines.writeWirelessProfile());
  EXPECT_EQ(Stored("Channel"), "6");
  v.wirelessChannel = "auto";
  ASSERT_TRUE(main().routines.writeWirelessProfile());
  EXPECT_EQ(Stored("Channel"), "0");
}

class UnwritableRegistry : public WirelessProfileTest {
 protected:
  void SetUp() override {
    WirelessProfileTest::SetUp();
    // A file where the configuration folder would be: no key can be created under it.
    const auto blocker = cd_.root() / "not-a-folder";
    cd_.Write("not-a-folder", "x");
    platform::SetEnvVar("XDG_CONFIG_HOME", blocker.string());
    registry.refuseAll = true;
  }
};

TEST_F(UnwritableRegistry, TheSystemBoxIsShownAndFalseReturnedWhateverTheAnswer) {
  for (int answer : {3, 4, 5}) {  // Abort, Retry, Ignore
    SCOPED_TRACE(answer);
    backend().ClearMessageBoxes();
    backend().SetMessageBoxHandler(
        [answer](const std::string&, const std::string&) { return answer; });
    EXPECT_FALSE(Write("WPA PSK", "passphrase"));
    ASSERT_EQ(backend().messageBoxes().size(), 1u);
    EXPECT_EQ(backend().messageBoxes()[0].text, "Error writing to profile");
    EXPECT_EQ(backend().messageBoxes()[0].caption, "test");
  }
}

TEST_F(UnwritableRegistry, TheSoftwareLinkPageStepsBackBeforeSendingAnything) {
  main().wirelessModule = true;
  main().radioEnabled = true;
  main().values.wirelessSecurity = "None";
  ShowPage(PAGE_CHECK_SW_LINK);
  backend().ProcessPending();
  EXPECT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  EXPECT_TRUE(main().controls().imgWirelessSettingBG.visible());
  EXPECT_FALSE(main().profileWritten);
  EXPECT_FALSE(main().controls().tmrCheckSWLinkThread.enabled());
  EXPECT_FALSE(main().controls().tmrCheckSWLinkTimer.enabled());
  EXPECT_TRUE(peer->requests().empty());
}

TEST_F(UnwritableRegistry, AModemWithoutRadioNeedsNoRecordAndStartsAtOnce) {
  main().wirelessModule = false;
  ShowPage(PAGE_CHECK_SW_LINK);
  backend().ProcessPending();
  EXPECT_TRUE(backend().messageBoxes().empty());
  EXPECT_TRUE(main().profileWritten);
  EXPECT_EQ(main().currentPage, PAGE_CHECK_SW_LINK);
  EXPECT_TRUE(main().controls().tmrCheckSWLinkThread.enabled());
  ASSERT_EQ(peer->requests().size(), 1u);
  EXPECT_EQ(test_support::CodeOf(peer->requests()[0]), 1);  // discovery
}

}  // namespace
