#pragma once

// The quick installation as a user walks it from the main menu, for the tests and the benchmark.
#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>

#include "apply_e2e.h"
#include "expected_settings.h"

namespace test_support {

// An ISP of the sample database for each protocol, with what the user types for it.
struct Isp {
  const char* protocol;
  const char* country;
  const char* name;
  Fields savedPvc1;
  const char* security;
};
inline void PrintTo(const Isp& isp, std::ostream* os) {
  *os << isp.protocol;
}

inline const Isp kIsps[] = {
    {"PPPoE",
     "Germany",
     "Rheinwelle DSL",
     {{"protocol", "0"},
      {"vpi", "1"},
      {"vci", "32"},
      {"encap", "0"},
      {"pppUsername", "walker@rheinwelle.example"},
      {"pppPassword", "long walk"}},
     kSecurityPsk},
    {"PPPoA",
     "United Kingdom",
     "Thamesline Broadband",
     {{"protocol", "1"},
      {"vpi", "0"},
      {"vci", "38"},
      {"encap", "0"},
      {"pppUsername", "walker@rheinwelle.example"},
      {"pppPassword", "long walk"}},
     kSecurityWep64},
    {"DynamicIP",
     "Netherlands",
     "Grachtweb",
     {{"protocol", "2"},
      {"vpi", "0"},
      {"vci", "35"},
      {"dhcpc", "1"},
      {"autoGW", "1"},
      {"autoDNS", "1"},
      {"pppUsername", ""}},
     kSecurityNone},
    {"StaticIP",
     "United Kingdom",
     "Harbourside Business (fixed IP)",
     {{"protocol", "2"},
      {"vpi", "0"},
      {"vci", "38"},
      {"dhcpc", "0"},
      {"autoGW", "0"},
      {"autoDNS", "0"},
      {"ip", "203.0.113.25"},
      {"mask", "255.255.255.0"},
      {"gw", "203.0.113.1"},
      {"dns", "198.51.100.53"}},
     kSecurityWep128},
    {"Bridge",
     "Denmark",
     "Fyn Fiberlink",
     {{"protocol", "3"}, {"vpi", "0"}, {"vci", "35"}},
     kSecurityPsk2},
};

// Walks the wizard with a modemsim behind it; the fixture's Start and StartSim come first.
class QuickInstallWalk : public ApplyE2ETest {
 protected:
  bool Reach(int page, std::int64_t virtualMs = 10 * 60 * 1000) {
    return backend().RunUntil([&] { return main().currentPage == page; }, virtualMs);
  }
  void Next() { HoverAndClick(main().controls().imgNextBT); }
  void Back() { HoverAndClick(main().controls().imgBackBT); }
  static void Pick(ui::ComboBox& list, const std::string& text) {
    const auto& items = list.items();
    const auto at = std::find(items.begin(), items.end(), text);
    ASSERT_NE(at, items.end()) << list.name() << " offers no " << text;
    list.UserSelect(static_cast<int>(at - items.begin()));
  }
  static void Type(ui::Edit& edit, const std::string& text) {
    edit.SetText("");
    edit.UserType(text);
  }
  std::string LastMessage() const { return popMessages.empty() ? "none" : popMessages.back(); }

  void FillWirelessPage(const WirelessChoice& choice, bool eu) {
    auto& c = main().controls();
    Type(c.edtSSID, "Garden Net");
    if (!eu) Pick(c.cbxWLCountry, "UNITED KINGDOM");
    Pick(c.cbxChannel, "6");
    Pick(c.cbxEncryptType, choice.text);
    if (choice.code != kSecurityNone) Type(c.edtWPAKey, choice.key);
  }

  // Starts the wizard of the edition and the simulator, the wizard on its main menu.
  void Prepare(Edition edition) {
    SetProfile(edition == Edition::kEu ? "EU" : "GE", edition == Edition::kKit ? 1 : 0);
    Start();
    StartSim();
  }

  // Clicks and types from the main menu to the radio page.
  void WalkToRadioPage(const Isp& isp) {
    using namespace app;
    auto& c = main().controls();
    const std::string protocol = isp.protocol;

    HoverAndClick(c.imgQuickInstallBT);
    ASSERT_EQ(main().currentPage, PAGE_POWER_LINK);
    Next();
    ASSERT_EQ(main().currentPage, PAGE_ETHERNET_LINK);
    Next();
    ASSERT_TRUE(Reach(PAGE_ADSL_LINK)) << "Ethernet check; message: " << LastMessage();
    Next();
    ASSERT_TRUE(Reach(PAGE_CHECK_HW_LINK)) << "DSL check; message: " << LastMessage();
    ASSERT_TRUE(Reach(PAGE_ISP_SELECTION)) << "hardware check; message: " << LastMessage();

    Pick(c.cbxDSLCountry, isp.country);
    Pick(c.cbxDSLISP, isp.name);
    Next();
    if (protocol == "PPPoE" || protocol == "PPPoA") {
      ASSERT_EQ(main().currentPage, PAGE_PPP_SETTING) << LastMessage();
      Type(c.edtUsername, "walker@rheinwelle.example");
      Type(c.edtPassword, "long walk");
      Type(c.edtConfirmPass, "long walk");
      Next();
    } else if (protocol == "StaticIP") {
      ASSERT_EQ(main().currentPage, PAGE_STATIC_IP) << LastMessage();
      Type(c.medWANIP, "203.0.113.25");
      Type(c.medSubnet, "255.255.255.0");
      Type(c.medGateway, "203.0.113.1");
      Type(c.medDNSIP, "198.51.100.53");
      Next();
    }
    ASSERT_EQ(main().currentPage, PAGE_WRADIO_SETTING) << LastMessage();
  }

  bool ReachCompletion(Edition edition) {
    const int last =
        edition == Edition::kKit ? app::PAGE_INSTALL_COMPLETE : app::PAGE_INSTALL_COMPLETE_ALONE;
    return Reach(last, 2 * 3600 * 1000);
  }

  // Clicks and types from the main menu to the completion page of the edition.
  void WalkTo(const Isp& isp, bool radioOn, Edition edition) {
    using namespace app;
    const bool eu = edition == Edition::kEu;
    auto& c = main().controls();
    WalkToRadioPage(isp);
    if (HasFatalFailure()) return;
    Pick(c.cbxWRadio, radioOn ? "Enabled" : "Disabled");
    const WirelessChoice choice = ChoiceFor(isp.security, edition);
    Next();
    if (radioOn && eu) {
      // The EU profile shows the reminder first; the settings page is one step back from it.
      ASSERT_EQ(main().currentPage, PAGE_WIRELESS_REMIND_SSID);
      Back();
      ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
      FillWirelessPage(choice, eu);
      Next();
      ASSERT_EQ(main().currentPage, PAGE_WIRELESS_REMIND_SSID) << LastMessage();
      EXPECT_EQ(c.lblSSID.caption(), "Garden Net");
      Next();
    } else if (radioOn) {
      ASSERT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
      FillWirelessPage(choice, eu);
      Next();
    }
    ASSERT_TRUE(ReachCompletion(edition)) << "software link check; message: " << LastMessage();
  }
};

}  // namespace test_support
