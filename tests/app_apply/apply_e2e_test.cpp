// The quick installation from the hardware check onward: page values and the engine's settings
// are given as the hardware check and the connection pages leave them, then the software link
// page applies them to modemsim. Afterwards the simulator's saved configuration must be what the
// user entered, field for field, and every failure must end with its message and a step back.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <tuple>

#include "apply_e2e.h"
#include "expected_settings.h"
#include "modem/engine/engine_states.h"
#include "modem/protocol/control_header.h"
#include "platform/registry.h"

namespace {

using namespace app;
using namespace quillon::modem;
using namespace test_support;

struct Protocol {
  const char* name;
  ModemSettings wan;
  Fields savedPvc1;      // the record fields the user's entries decide
  const char* security;  // the wireless security chosen with it
};
void PrintTo(const Protocol& p, std::ostream* os) {
  *os << p.name;
}

ModemSettings Wan(int32_t type, int32_t vpi, int32_t vci, int32_t encap) {
  ModemSettings s;
  s.connectionType = type;
  s.vpi = vpi;
  s.vci = vci;
  s.encapsulation = encap;
  return s;
}

Protocol PppoE() {
  Protocol p{"PPPoE", Wan(kConnectionPppoe, 1, 32, 1), {}, kSecurityPsk};
  p.wan.pppUserName = "alice@isp.example";
  p.wan.pppPassword = "s3cret pass";
  p.savedPvc1 = {{"protocol", "0"},
                 {"vpi", "1"},
                 {"vci", "32"},
                 {"encap", "1"},
                 {"dhcpc", "0"},
                 {"pppUsername", "alice@isp.example"},
                 {"pppPassword", "s3cret pass"}};
  return p;
}
Protocol PppoA() {
  Protocol p{"PPPoA", Wan(kConnectionPppoa, 0, 38, 1), {}, kSecurityWep64};
  p.wan.pppUserName = "bob";
  p.wan.pppPassword = "pw-2";
  p.savedPvc1 = {{"protocol", "1"}, {"vpi", "0"},           {"vci", "38"},
                 {"encap", "1"},    {"pppUsername", "bob"}, {"pppPassword", "pw-2"}};
  return p;
}
Protocol DynamicIp() {
  Protocol p{"DynamicIP", Wan(kConnectionDynamicIp, 0, 35, 0), {}, kSecurityNone};
  p.savedPvc1 = {{"protocol", "2"}, {"vpi", "0"},    {"vci", "35"},    {"encap", "0"},
                 {"dhcpc", "1"},    {"autoGW", "1"}, {"autoDNS", "1"}, {"pppUsername", ""}};
  return p;
}
Protocol StaticIp() {
  Protocol p{"StaticIP", Wan(kConnectionStaticIp, 8, 36, 0), {}, kSecurityWep128};
  p.wan.ipAddress = "203.0.113.25";
  p.wan.subnetMask = "255.255.255.0";
  p.wan.gateway = "203.0.113.1";
  p.wan.dnsServer = "198.51.100.53";
  p.savedPvc1 = {{"protocol", "2"},      {"vpi", "8"},
                 {"vci", "36"},          {"dhcpc", "0"},
                 {"autoGW", "0"},        {"autoDNS", "0"},
                 {"ip", "203.0.113.25"}, {"mask", "255.255.255.0"},
                 {"gw", "203.0.113.1"},  {"dns", "198.51.100.53"}};
  return p;
}
Protocol Bridge() {
  Protocol p{"Bridge", Wan(kConnectionBridge, 0, 100, 1), {}, kSecurityPsk2};
  p.savedPvc1 = {{"protocol", "3"}, {"vpi", "0"}, {"vci", "100"}, {"encap", "1"}};
  return p;
}

ModemSettings ModemWireless(ModemSettings s) {
  s.wlSsid = "Attic";
  s.wlChannel = 11;
  s.wlSecurity = kSecurityPsk2;
  s.wlKey = "modem-passphrase";
  s.wlCountryCode = "DE";
  s.wlKeyNumber = 1;
  return s;
}
using Case = std::tuple<Protocol, Radio, Edition>;

class QuickInstallation : public ApplyE2ETest, public ::testing::WithParamInterface<Case> {
 protected:
  // The state the hardware check and the connection pages leave behind.
  void GivenTheUsersEntries(const Protocol& protocol, Radio radio, Edition edition,
                            const WirelessChoice& choice) {
    auto& f = main();
    auto& engine = Engine();
    f.wirelessModule = radio != Radio::kNone;
    f.radioEnabled = radio != Radio::kOff;
    const int32_t type = protocol.wan.connectionType;
    f.pppSelected = type == kConnectionPppoe || type == kConnectionPppoa;
    f.staticIpSelected = type == kConnectionStaticIp;
    engine.queryLineRateAfterDiscovery = true;
    engine.testDnsAfterWanUp = type != kConnectionBridge;
    engine.modemSettings = ModemWireless(protocol.wan);
    auto& v = f.values;
    v.wirelessSsid = "Attic";
    v.wirelessChannel = "11";
    v.wirelessSecurity = kSecurityPsk2;  // the modem's code
    v.wirelessKey = "modem-passphrase";
    if (radio == Radio::kOn) {
      engine.modemSettings.wlSsid = "Garden Net";
      engine.modemSettings.wlChannel = 6;
      engine.modemSettings.wlCountryCode = "GB";
      engine.modemSettings.wlSecurity = choice.code;
      engine.modemSettings.wlKey = choice.key;
      engine.modemSettings.wlKeyNumber = 1;
      v.wirelessSsid = "Garden Net";
      v.wirelessChannel = "6";
      v.wirelessSecurity = choice.text;
      v.wirelessKey = choice.key;
    }
    (void)edition;
  }
};

TEST_P(QuickInstallation, TheModemKeepsWhatTheUserEntered) {
  const auto& [protocol, radio, edition] = GetParam();
  SetProfile(edition == Edition::kEu ? "EU" : "GE", edition == Edition::kKit ? 1 : 0);
  Start();
  StartSim();
  const WirelessChoice choice = ChoiceFor(protocol.security, edition);
  GivenTheUsersEntries(protocol, radio, edition, choice);

  ASSERT_TRUE(RunSoftwareLinkPage());
  EXPECT_TRUE(popMessages.empty()) << popMessages.front();
  EXPECT_EQ(main().currentPage,
            edition == Edition::kKit ? PAGE_INSTALL_COMPLETE : PAGE_INSTALL_COMPLETE_ALONE);
  auto& c = main().controls();
  EXPECT_EQ(c.lblPercent.caption(), "100%");
  EXPECT_EQ(c.pbrCheckSWLink.position(), 900);
  EXPECT_FALSE(c.tmrCheckSWLinkThread.enabled());
  EXPECT_FALSE(c.tmrCheckSWLinkTimer.enabled());
  EXPECT_EQ(resolver->Hosts().empty(), protocol.wan.connectionType == kConnectionBridge);

  const auto state = StopSim();
  const Fields pvc1 = test_support::WithPrefix(state, "saved.pvc1.");
  for (const auto& [field, value] : protocol.savedPvc1)
    EXPECT_EQ(pvc1.count(field) ? pvc1.at(field) : "<missing>", value) << "pvc1." << field;
  const Fields wireless = test_support::WithPrefix(state, "saved.wireless.");
  if (radio == Radio::kOn) {
    Fields expected = SavedWireless(choice);
    for (const auto& [field, value] : expected)
      EXPECT_EQ(wireless.count(field) ? wireless.at(field) : "<missing>", value)
          << "wireless." << field;
  } else {
    // Radio off sends the modem's own settings back; a modem without radio is not asked.
    EXPECT_EQ(wireless, kModemWirelessRecord);
  }
  EXPECT_EQ(state.at("counters.pvc1Sets"), "1");
  EXPECT_EQ(state.at("counters.wirelessSets"), radio == Radio::kNone ? "0" : "1");
  EXPECT_EQ(state.at("counters.saveReboots"), "1");

  if (radio == Radio::kNone) {
    EXPECT_EQ(RegistryValue("Ssid"), "<missing>");
  } else if (radio == Radio::kOn) {
    EXPECT_EQ(RegistryValue("Ssid"), "Garden Net");
    EXPECT_EQ(RegistryValue("Channel"), "6");
    EXPECT_EQ(RegistryValue("Sectype"), RegistryTypeOf(choice.code));
    EXPECT_EQ(RegistryValue("SecKey"), choice.key);
  } else {
    // The record holds what the modem was left with: its own network.
    EXPECT_EQ(RegistryValue("Ssid"), "Attic");
    EXPECT_EQ(RegistryValue("Sectype"), "WPA-PSK");
    EXPECT_EQ(RegistryValue("SecKey"), "modem-passphrase");
  }
}

std::string CaseName(const Case& c) {
  const char* radios[] = {"RadioOn", "RadioOff", "NoRadio"};
  const char* editions[] = {"Plain", "EU", "Kit"};
  return std::string(std::get<0>(c).name) + "_" + radios[static_cast<int>(std::get<1>(c))] + "_" +
         editions[static_cast<int>(std::get<2>(c))];
}

// The walk from the main menu covers every edition with every protocol; here the editions only
// decide the page after the check.
INSTANTIATE_TEST_SUITE_P(
    Every, QuickInstallation,
    ::testing::Combine(::testing::Values(PppoE(), PppoA(), DynamicIp(), StaticIp(), Bridge()),
                       ::testing::Values(Radio::kOn, Radio::kOff, Radio::kNone),
                       ::testing::Values(Edition::kPlain)),
    [](const auto& p) { return CaseName(p.param); });
INSTANTIATE_TEST_SUITE_P(Editions, QuickInstallation,
                         ::testing::Combine(::testing::Values(PppoE()),
                                            ::testing::Values(Radio::kOn, Radio::kNone),
                                            ::testing::Values(Edition::kEu, Edition::kKit)),
                         [](const auto& p) { return CaseName(p.param); });

}  // namespace
