// The whole quick installation as a user walks it, from the main menu to the completion page,
// against modemsim: every page's own logic runs (link checks, ISP database, PPP account or
// static addresses, radio, wireless settings), and the simulator must keep what was chosen and
// typed, field for field. One walk per protocol, radio on and off, in the plain, EU and kit
// editions.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>

#include "dialogs/frmconfirmpassword.h"
#include "dialogs/frmfactoryreset.h"
#include "walk.h"

namespace {

using namespace app;
using namespace test_support;

using Walk = std::tuple<Isp, bool, Edition>;

class WalkFromTheMainMenu : public QuickInstallWalk, public ::testing::WithParamInterface<Walk> {};

TEST_P(WalkFromTheMainMenu, TheModemKeepsWhatTheUserChoseAndTyped) {
  const auto& [isp, radioOn, edition] = GetParam();
  const bool eu = edition == Edition::kEu;
  Prepare(edition);
  WalkTo(isp, radioOn, edition);
  if (HasFatalFailure()) return;
  const std::string protocol = isp.protocol;
  const WirelessChoice choice = ChoiceFor(isp.security, edition);
  EXPECT_EQ(resolver->Hosts().empty(), protocol == "Bridge");

  const auto state = StopSim();
  const Fields pvc1 = WithPrefix(state, "saved.pvc1.");
  for (const auto& [field, value] : isp.savedPvc1)
    EXPECT_EQ(pvc1.count(field) ? pvc1.at(field) : "<missing>", value) << "pvc1." << field;
  const Fields wireless = WithPrefix(state, "saved.wireless.");
  if (radioOn) {
    // The EU page hides the country list: the modem's own country stays.
    const Fields expected = SavedWireless(choice, eu ? "DE" : "GB");
    for (const auto& [field, value] : expected)
      EXPECT_EQ(wireless.count(field) ? wireless.at(field) : "<missing>", value)
          << "wireless." << field;
    EXPECT_EQ(RegistryValue("Sectype"), RegistryTypeOf(choice.code));
    EXPECT_EQ(RegistryValue("SecKey"), choice.key);
  } else {
    EXPECT_EQ(wireless, kModemWirelessRecord);
    EXPECT_EQ(RegistryValue("Ssid"), "Attic");
  }
  EXPECT_EQ(state.at("counters.saveReboots"), "1");
}

std::string WalkName(const Walk& w) {
  const char* editions[] = {"Plain", "EU", "Kit"};
  return std::string(std::get<0>(w).protocol) + (std::get<1>(w) ? "_RadioOn_" : "_RadioOff_") +
         editions[static_cast<int>(std::get<2>(w))];
}

INSTANTIATE_TEST_SUITE_P(Every, WalkFromTheMainMenu,
                         ::testing::Combine(::testing::ValuesIn(kIsps), ::testing::Bool(),
                                            ::testing::Values(Edition::kPlain, Edition::kEu,
                                                              Edition::kKit)),
                         [](const auto& p) { return WalkName(p.param); });

}  // namespace

// A router whose password was changed: the forgotten-password link resets it through the
// engine, and the same run can then go on with the password the router still asks for.
class ChangedPasswordWalk : public QuickInstallWalk {
 protected:
  // From the main menu through the link checks until the hardware check has moved on.
  int WalkPastTheHardwareCheck() {
    HoverAndClick(main().controls().imgQuickInstallBT);
    Next();
    Next();
    // The computer check runs, rather than being taken as passed from an earlier visit.
    EXPECT_EQ(main().currentPage, PAGE_ETHERNET_LINK);
    if (!Reach(PAGE_ADSL_LINK)) return main().currentPage;
    Next();
    EXPECT_EQ(main().currentPage, PAGE_ADSL_LINK);
    Reach(PAGE_CHECK_HW_LINK);
    backend().RunUntil([&] { return main().currentPage != PAGE_CHECK_HW_LINK; }, 60 * 1000);
    return main().currentPage;
  }
};

TEST_F(ChangedPasswordWalk, AForgottenPasswordResetsTheRouterAndTheRightOneStillLeadsOn) {
  SetProfile("GE", 0);
  Start();
  StartSim({"--password", "secret"});
  auto& passwordDialog = *windows().passwordConfirm;
  bool forget = true;
  backend().SetModalHandler([&](ui::Form& form) {
    if (&form == &passwordDialog) {
      if (forget) {
        // The link opens a modal of its own: click it from the loop, as a user's click arrives.
        backend().Post([&] { passwordDialog.lblForgotPassword.Click(); });
        return;
      }
      passwordDialog.edtConfirmPassword.SetText("secret");
      passwordDialog.btnOk.Click();
    } else if (auto* reset = dynamic_cast<dialogs::TfrmResetDefault*>(&form)) {
      reset->btnOk.Click();
    } else {
      form.Close();
    }
  });
  EXPECT_EQ(WalkPastTheHardwareCheck(), PAGE_MAIN_MENU);
  forget = false;
  EXPECT_EQ(WalkPastTheHardwareCheck(), PAGE_ISP_SELECTION);

  const auto state = StopSim();
  EXPECT_EQ(state.at("counters.factoryResets"), "1");
  // The modem's own network is gone with the rest of what it had saved.
  EXPECT_NE(state.at("saved.wireless.wlSsid"), "Attic");
}
