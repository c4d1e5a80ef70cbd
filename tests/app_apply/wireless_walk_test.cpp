// The wireless pages walked from the main menu against modemsim, on the paths off the straight
// walk: pages left by Back, a radio switched off after a failure, and modems whose security,
// key or country the lists cannot show. What the modem and the registry keep must be what the
// pages last showed and accepted, or the modem's own settings.
#include <gtest/gtest.h>

#include <string>

#include "platform/environment.h"
#include "walk.h"

namespace {

using namespace app;
using namespace test_support;

// Shared-key WEP: a security type the wizard's lists do not offer.
constexpr const char* kSharedWepModem =
    "saved.wireless.wlChannel=11\n"
    "saved.wireless.wlSsid=Attic\n"
    "saved.wireless.wlKeyBit=1\n"
    "saved.wireless.wlKey=0123456789\n"
    "saved.wireless.wlWpaPsk=\n"
    "saved.wireless.wlWep=enabled\n"
    "saved.wireless.wlWpa=\n"
    "saved.wireless.wlAuthMode=shared\n"
    "saved.wireless.wlCountryCode=DE\n"
    "saved.wireless.wlKeyNumber=1\n";

// Dynamic IP: no account page on the way.
const Isp& kNoAccountIsp = kIsps[2];

class WirelessWalk : public QuickInstallWalk {
 protected:
  Fields ModemWireless() { return WithPrefix(StopSim(), "saved.wireless."); }
  // The modem's saved record as the configuration writes it.
  static Fields RecordOf(const std::string& config) {
    Fields f;
    for (std::size_t at = 0, end = 0; at < config.size(); at = end + 1) {
      end = config.find('\n', at);
      const std::string line = config.substr(at, end - at);
      const std::string prefix = "saved.wireless.";
      const auto eq = line.find('=');
      f[line.substr(prefix.size(), eq - prefix.size())] = line.substr(eq + 1);
    }
    return f;
  }
  // Starts the edition and clicks Next on the radio page, the radio on.
  void PastTheRadioPage(Edition edition) {
    Prepare(edition);
    WalkToRadioPage(kNoAccountIsp);
    ASSERT_FALSE(HasFatalFailure());
    Next();
  }
  // Radio on, through the reminder without visiting the settings page (EU).
  void WalkPastTheEuReminder() {
    PastTheRadioPage(Edition::kEu);
    ASSERT_EQ(main().currentPage, PAGE_WIRELESS_REMIND_SSID);
    Next();
    ASSERT_TRUE(ReachCompletion(Edition::kEu)) << LastMessage();
  }
};

// EU: the settings page is one Back from the reminder; what was typed there and left by Back
// was never checked, and the reminder shows the modem's own network.
TEST_F(WirelessWalk, AnEuSettingsPageLeftByBackIsNotSent) {
  ASSERT_NO_FATAL_FAILURE(PastTheRadioPage(Edition::kEu));
  auto& c = main().controls();
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_REMIND_SSID);
  Back();
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  Type(c.edtSSID, "");
  Pick(c.cbxEncryptType, "WPA-PSK");
  Type(c.edtWPAKey, "abc");
  Back();
  ASSERT_EQ(main().currentPage, PAGE_WRADIO_SETTING);
  Next();
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_REMIND_SSID);
  EXPECT_EQ(c.lblSSID.caption(), "Attic");
  EXPECT_EQ(c.lblWlKey.caption(), "modem-passphrase");
  Next();
  ASSERT_TRUE(ReachCompletion(Edition::kEu)) << LastMessage();
  EXPECT_EQ(ModemWireless(), kModemWirelessRecord);
}

// A security type the lists do not know is no open network: the EU walk past the hidden page
// keeps it, and the settings page elsewhere waits for the user's choice.
TEST_F(WirelessWalk, AnUnknownSecurityTypeIsNeverOpenedBehindTheUsersBack) {
  modemConfig = kSharedWepModem;
  WalkPastTheEuReminder();
  EXPECT_FALSE(main().controls().imgWirelessRemindSsidWarnMsg.visible());
  const Fields wireless = ModemWireless();
  EXPECT_EQ(wireless.at("wlAuthMode"), "shared");
  EXPECT_EQ(wireless.at("wlKey"), "0123456789");
}

// With the radio off such a modem has nothing to be sent: the apply goes on without the
// wireless step instead of waiting for the reply to a request never sent.
TEST_F(WirelessWalk, RadioOffWithAnUnknownSecurityTypeFinishesAndKeepsIt) {
  modemConfig = kSharedWepModem;
  Prepare(Edition::kPlain);
  WalkToRadioPage(kNoAccountIsp);
  ASSERT_FALSE(HasFatalFailure());
  Pick(main().controls().cbxWRadio, "Disabled");
  Next();
  ASSERT_TRUE(ReachCompletion(Edition::kPlain)) << LastMessage();
  EXPECT_TRUE(popMessages.empty()) << LastMessage();
  const auto state = StopSim();
  EXPECT_EQ(state.at("counters.wirelessSets"), "0");
  EXPECT_EQ(WithPrefix(state, "saved.wireless."), RecordOf(kSharedWepModem));
}

// A failed attempt sent the typed network; switching the radio off then sends the modem's own.
TEST_F(WirelessWalk, RadioOffAfterAFailedAttemptSendsTheModemsOwnSettings) {
  ASSERT_NO_FATAL_FAILURE(PastTheRadioPage(Edition::kPlain));
  auto& c = main().controls();
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  Type(c.edtSSID, "NewNet");
  Pick(c.cbxEncryptType, "WPA PSK");
  Type(c.edtWPAKey, "new passphrase");
  resolver->succeed = false;
  Next();
  ASSERT_TRUE(Reach(PAGE_WIRELESS_SETTING)) << LastMessage();
  EXPECT_EQ(LastMessage(), Message(7));
  resolver->succeed = true;
  Back();
  ASSERT_EQ(main().currentPage, PAGE_WRADIO_SETTING);
  Pick(c.cbxWRadio, "Disabled");
  Next();
  ASSERT_TRUE(ReachCompletion(Edition::kPlain)) << LastMessage();
  EXPECT_EQ(ModemWireless(), kModemWirelessRecord);
  EXPECT_EQ(RegistryValue("Ssid"), "Attic");
}

// The registry record holds the security the modem was left with, and the page shows it.
TEST_F(WirelessWalk, AKeptSecurityIsRecordedAndShown) {
  std::string ini = cd_.Read("Language/English/dslutility.ini");
  ini.replace(ini.find("WPAKeySupport=3"), 15, "WPAKeySupport=1");
  cd_.Write("Language/English/dslutility.ini", ini);
  ASSERT_NO_FATAL_FAILURE(PastTheRadioPage(Edition::kPlain));
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  EXPECT_EQ(main().controls().cbxEncryptType.text(), "WPA2 PSK");
  Next();
  ASSERT_TRUE(ReachCompletion(Edition::kPlain)) << LastMessage();
  EXPECT_EQ(ModemWireless(), kModemWirelessRecord);
  EXPECT_EQ(RegistryValue("Sectype"), "WPA-PSK");
  EXPECT_EQ(RegistryValue("SecKey"), "modem-passphrase");
}

// EU: the modem's WEP128 key is shown as the one WEP item and passes Next unchanged.
TEST_F(WirelessWalk, AnEuKeptWep128KeyPassesAndIsRecorded) {
  modemConfig =
      "saved.wireless.wlChannel=11\n"
      "saved.wireless.wlSsid=Attic\n"
      "saved.wireless.wlKeyBit=0\n"
      "saved.wireless.wlKey=0123456789abcdef0123456789\n"
      "saved.wireless.wlWep=enabled\n"
      "saved.wireless.wlAuthMode=open\n"
      "saved.wireless.wlCountryCode=DE\n"
      "saved.wireless.wlKeyNumber=1\n";
  ASSERT_NO_FATAL_FAILURE(PastTheRadioPage(Edition::kEu));
  Back();
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  Next();
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_REMIND_SSID) << LastMessage();
  EXPECT_EQ(main().controls().lblWlKey.caption(), "0123456789abcdef0123456789");
  Next();
  ASSERT_TRUE(ReachCompletion(Edition::kEu)) << LastMessage();
  EXPECT_EQ(ModemWireless().at("wlKey"), "0123456789abcdef0123456789");
  EXPECT_EQ(RegistryValue("Sectype"), "64bit");
  EXPECT_EQ(RegistryValue("SecKey"), "0123456789abcdef0123456789");
}

// A country the table does not know keeps its channel as well as its code.
TEST_F(WirelessWalk, AnUnknownCountryKeepsTheModemsChannel) {
  modemConfig = std::string(kModemConfig) + "saved.wireless.wlCountryCode=XX\n" +
                "saved.wireless.wlChannel=13\n";
  ASSERT_NO_FATAL_FAILURE(PastTheRadioPage(Edition::kPlain));
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  EXPECT_EQ(main().controls().cbxChannel.text(), "13");
  Next();
  ASSERT_TRUE(ReachCompletion(Edition::kPlain)) << LastMessage();
  const Fields wireless = ModemWireless();
  EXPECT_EQ(wireless.at("wlCountryCode"), "XX");
  EXPECT_EQ(wireless.at("wlChannel"), "13");
}

// An open modem: the EU reminder warns instead of showing an empty key.
TEST_F(WirelessWalk, AnOpenModemGetsTheEuReminderWarning) {
  modemConfig = std::string(kModemConfig) + "saved.wireless.wlAuthMode=open\n";
  ASSERT_NO_FATAL_FAILURE(PastTheRadioPage(Edition::kEu));
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_REMIND_SSID);
  auto& c = main().controls();
  EXPECT_TRUE(c.imgWirelessRemindSsidWarnMsg.visible());
  EXPECT_FALSE(c.lblWlKey.visible());
}

// The profile cannot be written: the user is back on a working settings page, not on a bare
// "Applying" page without buttons.
TEST_F(WirelessWalk, AnUnwritableProfileLeadsBackToAWorkingPage) {
  ASSERT_NO_FATAL_FAILURE(PastTheRadioPage(Edition::kPlain));
  ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  cd_.Write("not-a-folder", "x");
  platform::SetEnvVar("XDG_CONFIG_HOME", (cd_.root() / "not-a-folder").string());
  registry.refuseAll = true;
  Next();
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_EQ(backend().messageBoxes()[0].text, "Error writing to profile");
  auto& c = main().controls();
  EXPECT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  EXPECT_TRUE(c.imgWirelessSettingBG.visible());
  EXPECT_TRUE(c.edtSSID.visible());
  EXPECT_FALSE(c.imgCheckSWLinkBG.visible());
  EXPECT_FALSE(c.pbrCheckSWLink.visible());
  Next();
  EXPECT_EQ(backend().messageBoxes().size(), 2u) << "Next does nothing on the page";
}

}  // namespace
