#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/link_state.h"
#include "app/pages.h"
#include "app/wizard_fixture.h"
#include "dialogs/frmconfirmpassword.h"
#include "dialogs/frmfactoryreset.h"

namespace {

using namespace app;

// The page machine with the pages' own routines replaced by switches the test sets, so that
// every row of the transition tables can be reached.
class PageMachineTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    ASSERT_EQ(StartUp(), -1);
    auto& r = main().routines;
    r = {};
    r.validateIspPage = [this] { return valid; };
    r.validateStaticIpPage = [this] { return valid; };
    r.validatePppPage = [this] { return valid; };
    r.validateWirelessPage = [this] { return valid; };
    r.writeWirelessProfile = [this] { return profileOk; };
    r.ethernetStillConnected = [this] { return cableStillIn; };
    r.adapterPresent = [this] { return adapterFound; };
    r.routerPassword = [this] { return routerPassword; };
    r.startEthernetCheck = [this] { calls += "eth;"; };
    r.startAdslCheck = [this] { calls += "adsl;"; };
    r.startHardwareCheck = [this] { calls += "hw;"; };
    r.collectSettings = [this] { calls += "collect;"; };
    r.startSoftwareCheck = [this] { calls += "sw;"; };
    r.startDriverInstallation = [this] { calls += "driver;"; };
    r.fillCountries = [this] { calls += "fill;"; };
    r.runDriverCopier = [this] { calls += "cpydrv;"; };
    processState() = ProcessState{};
    // A message dialog is acknowledged as a user would.
    backend().SetModalHandler([](ui::Form& form) { form.Close(); });
  }

  int Next(int from) {
    main().currentPage = from;
    main().goNext();
    return main().currentPage;
  }
  int Back(int from) {
    main().currentPage = from;
    main().goBack();
    return main().currentPage;
  }

 public:
  // The switches the table rows set.
  bool valid = true;
  bool profileOk = true;
  bool cableStillIn = false;
  bool adapterFound = true;
  std::string routerPassword = "tulip";
  std::string calls;
};

struct Row {
  const char* what;
  int from;
  std::function<void(TmainForm&, PageMachineTest&)> given;
  int to;
};

TEST_F(PageMachineTest, NextFollowsEveryRowOfItsTable) {
  auto none = [](TmainForm&, PageMachineTest&) {};
  auto radioPageOff = [](TmainForm& w, PageMachineTest&) {
    w.systemConfig.uiStates.wRadioSettingDlgEnabled = "True";
  };
  const Row rows[] = {
      {"menu", PAGE_MAIN_MENU, none, PAGE_POWER_LINK},
      {"power", PAGE_POWER_LINK, none, PAGE_ETHERNET_LINK},
      {"ethernet up", PAGE_ETHERNET_LINK,
       [](TmainForm&, PageMachineTest&) { processState().ethernetLinkState = kLinkUp; },
       PAGE_ADSL_LINK},
      {"ethernet untested starts the check", PAGE_ETHERNET_LINK, none, PAGE_ETHERNET_LINK},
      {"adsl up", PAGE_ADSL_LINK,
       [](TmainForm&, PageMachineTest&) { processState().adslLinkState = kLinkUp; },
       PAGE_CHECK_HW_LINK},
      {"adsl failed starts the check", PAGE_ADSL_LINK,
       [](TmainForm&, PageMachineTest&) { processState().adslLinkState = kLinkFailed; },
       PAGE_ADSL_LINK},
      {"hw link, password check off", PAGE_CHECK_HW_LINK,
       [](TmainForm& w, PageMachineTest& t) {
         w.customerProfile.checkModemPwd = 0;
         t.routerPassword = "changed";
       },
       PAGE_ISP_SELECTION},
      {"hw link, factory password", PAGE_CHECK_HW_LINK,
       [](TmainForm& w, PageMachineTest&) { w.customerProfile.checkModemPwd = 1; },
       PAGE_ISP_SELECTION},
      {"isp invalid", PAGE_ISP_SELECTION, [](TmainForm&, PageMachineTest& t) { t.valid = false; },
       PAGE_ISP_SELECTION},
      {"isp static", PAGE_ISP_SELECTION,
       [](TmainForm& w, PageMachineTest&) { w.staticIpSelected = true; }, PAGE_STATIC_IP},
      {"isp ppp", PAGE_ISP_SELECTION, none, PAGE_PPP_SETTING},
      {"isp dhcp, radio page on", PAGE_ISP_SELECTION,
       [](TmainForm& w, PageMachineTest&) { w.pppSelected = false; }, PAGE_WRADIO_SETTING},
      {"isp dhcp, radio page off in the skin", PAGE_ISP_SELECTION,
       [&](TmainForm& w, PageMachineTest& t) {
         w.pppSelected = false;
         radioPageOff(w, t);
       },
       PAGE_WIRELESS_SETTING},
      {"isp dhcp, no radio", PAGE_ISP_SELECTION,
       [](TmainForm& w, PageMachineTest&) {
         w.pppSelected = false;
         w.wirelessModule = false;
       },
       PAGE_CHECK_SW_LINK},
      {"static invalid", PAGE_STATIC_IP, [](TmainForm&, PageMachineTest& t) { t.valid = false; },
       PAGE_STATIC_IP},
      {"static, no radio", PAGE_STATIC_IP,
       [](TmainForm& w, PageMachineTest&) { w.wirelessModule = false; }, PAGE_CHECK_SW_LINK},
      {"ppp invalid", PAGE_PPP_SETTING, [](TmainForm&, PageMachineTest& t) { t.valid = false; },
       PAGE_PPP_SETTING},
      {"ppp, radio page", PAGE_PPP_SETTING, none, PAGE_WRADIO_SETTING},
      {"radio on", PAGE_WRADIO_SETTING, none, PAGE_WIRELESS_SETTING},
      {"radio on, EU", PAGE_WRADIO_SETTING,
       [](TmainForm& w, PageMachineTest&) { w.customerProfile.profileName = "EU"; },
       PAGE_WIRELESS_REMIND_SSID},
      {"radio off", PAGE_WRADIO_SETTING,
       [](TmainForm& w, PageMachineTest&) { w.radioEnabled = false; }, PAGE_CHECK_SW_LINK},
      {"wireless invalid", PAGE_WIRELESS_SETTING,
       [](TmainForm&, PageMachineTest& t) { t.valid = false; }, PAGE_WIRELESS_SETTING},
      {"wireless", PAGE_WIRELESS_SETTING, none, PAGE_CHECK_SW_LINK},
      {"wireless, EU", PAGE_WIRELESS_SETTING,
       [](TmainForm& w, PageMachineTest&) { w.customerProfile.profileName = "EU"; },
       PAGE_WIRELESS_REMIND_SSID},
      {"software link, alone", PAGE_CHECK_SW_LINK, none, PAGE_INSTALL_COMPLETE_ALONE},
      {"software link, kit", PAGE_CHECK_SW_LINK,
       [](TmainForm& w, PageMachineTest&) { w.customerProfile.isBundle = 1; },
       PAGE_INSTALL_COMPLETE},
      {"complete", PAGE_INSTALL_COMPLETE, none, PAGE_ETHERNET_REMOVE},
      {"cable still in", PAGE_ETHERNET_REMOVE,
       [](TmainForm&, PageMachineTest& t) { t.cableStillIn = true; }, PAGE_ETHERNET_REMOVE},
      {"cable out", PAGE_ETHERNET_REMOVE, none, PAGE_WLAN_USB_CHECK},
      {"no adapter", PAGE_WLAN_USB_CHECK,
       [](TmainForm&, PageMachineTest& t) { t.adapterFound = false; }, PAGE_WLAN_USB_CHECK},
      {"adapter", PAGE_WLAN_USB_CHECK, none, PAGE_INS_WLAN_DRIVER},
      {"driver", PAGE_INS_WLAN_DRIVER, none, PAGE_WLAN_INTERNET_STAT},
      {"internet", PAGE_WLAN_INTERNET_STAT, none, PAGE_WLAN_INS_COMPLETE},
      {"reminder", PAGE_WIRELESS_REMIND_SSID, none, PAGE_CHECK_SW_LINK},
      {"adapter done has no next", PAGE_WLAN_INS_COMPLETE, none, PAGE_WLAN_INS_COMPLETE},
      {"no page", 0, none, 0},
      {"beyond the pages", 20, none, 20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    // Each row starts from the start-up state.
    auto& w = main();
    w.staticIpSelected = false;
    w.pppSelected = true;
    w.wirelessModule = true;
    w.radioEnabled = true;
    w.customerProfile.profileName = "GE";
    w.customerProfile.isBundle = 0;
    w.customerProfile.checkModemPwd = 1;
    w.systemConfig.uiStates.wRadioSettingDlgEnabled = "true";
    processState() = ProcessState{};
    valid = true;
    cableStillIn = false;
    adapterFound = true;
    routerPassword = "tulip";
    row.given(w, *this);
    EXPECT_EQ(Next(row.from), row.to);
  }
}

TEST_F(PageMachineTest, NextRunsTheChecksAndActionsOfItsRows) {
  Next(PAGE_ETHERNET_LINK);
  Next(PAGE_ADSL_LINK);
  Next(PAGE_WIRELESS_SETTING);
  EXPECT_EQ(calls, "eth;adsl;collect;");
  calls.clear();
  cableStillIn = true;
  Next(PAGE_ETHERNET_REMOVE);
  ASSERT_EQ(backend().messageBoxes().size(), 0u);  // the skinned dialog, not a plain box
  cableStillIn = false;
  const auto before = app_->clock().NowMs();
  Next(PAGE_ETHERNET_REMOVE);
  EXPECT_EQ(calls, "cpydrv;");
  EXPECT_GE(app_->clock().NowMs() - before, 10000);
}

TEST_F(PageMachineTest, BackFollowsEveryRowOfItsTableAndResetsTheLinkStates) {
  struct BackRow {
    const char* what;
    int from;
    bool ppp, staticIp, wireless, radioOn, radioPage, eu;
    int to;
  };
  const BackRow rows[] = {
      {"power", PAGE_POWER_LINK, true, false, true, true, true, false, PAGE_MAIN_MENU},
      {"ethernet", PAGE_ETHERNET_LINK, true, false, true, true, true, false, PAGE_POWER_LINK},
      {"adsl", PAGE_ADSL_LINK, true, false, true, true, true, false, PAGE_ETHERNET_LINK},
      {"hw", PAGE_CHECK_HW_LINK, true, false, true, true, true, false, PAGE_ADSL_LINK},
      {"isp", PAGE_ISP_SELECTION, true, false, true, true, true, false, PAGE_CHECK_HW_LINK},
      {"static", PAGE_STATIC_IP, false, true, true, true, true, false, PAGE_ISP_SELECTION},
      {"ppp", PAGE_PPP_SETTING, true, false, true, true, true, false, PAGE_ISP_SELECTION},
      {"radio after ppp", PAGE_WRADIO_SETTING, true, false, true, true, true, false,
       PAGE_PPP_SETTING},
      {"radio after static", PAGE_WRADIO_SETTING, false, true, true, true, true, false,
       PAGE_STATIC_IP},
      {"radio after dhcp", PAGE_WRADIO_SETTING, false, false, true, true, true, false,
       PAGE_ISP_SELECTION},
      {"wireless, radio page", PAGE_WIRELESS_SETTING, true, false, true, true, true, false,
       PAGE_WRADIO_SETTING},
      {"wireless, no radio page", PAGE_WIRELESS_SETTING, false, true, true, true, false, false,
       PAGE_STATIC_IP},
      {"sw, radio off", PAGE_CHECK_SW_LINK, true, false, true, false, true, false,
       PAGE_WRADIO_SETTING},
      {"sw, EU", PAGE_CHECK_SW_LINK, true, false, true, true, true, true,
       PAGE_WIRELESS_REMIND_SSID},
      {"sw", PAGE_CHECK_SW_LINK, true, false, true, true, true, false, PAGE_WIRELESS_SETTING},
      {"sw, no radio, static", PAGE_CHECK_SW_LINK, false, true, false, true, true, false,
       PAGE_STATIC_IP},
      {"sw, no radio, dhcp", PAGE_CHECK_SW_LINK, false, false, false, true, true, false,
       PAGE_ISP_SELECTION},
      {"remove", PAGE_ETHERNET_REMOVE, true, false, true, true, true, false, PAGE_INSTALL_COMPLETE},
      {"usb", PAGE_WLAN_USB_CHECK, true, false, true, true, true, false, PAGE_ETHERNET_REMOVE},
      {"driver", PAGE_INS_WLAN_DRIVER, true, false, true, true, true, false, PAGE_WLAN_USB_CHECK},
      {"reminder", PAGE_WIRELESS_REMIND_SSID, true, false, true, true, true, true,
       PAGE_WIRELESS_SETTING},
      {"menu has no back", PAGE_MAIN_MENU, true, false, true, true, true, false, PAGE_MAIN_MENU},
      {"complete has no back", PAGE_INSTALL_COMPLETE, true, false, true, true, true, false,
       PAGE_INSTALL_COMPLETE},
      {"internet test has no back", PAGE_WLAN_INTERNET_STAT, true, false, true, true, true, false,
       PAGE_WLAN_INTERNET_STAT},
  };
  for (const BackRow& row : rows) {
    SCOPED_TRACE(row.what);
    auto& w = main();
    w.pppSelected = row.ppp;
    w.staticIpSelected = row.staticIp;
    w.wirelessModule = row.wireless;
    w.radioEnabled = row.radioOn;
    w.systemConfig.uiStates.wRadioSettingDlgEnabled = row.radioPage ? "true" : "false";
    w.customerProfile.profileName = row.eu ? "EU" : "GE";
    processState().adslLinkState = kLinkUp;
    processState().ethernetLinkState = kLinkFailed;
    w.highlightVisible = true;
    EXPECT_EQ(Back(row.from), row.to);
    EXPECT_EQ(processState().adslLinkState, kLinkNotTested);
    EXPECT_EQ(processState().ethernetLinkState, kLinkNotTested);
    EXPECT_FALSE(w.highlightVisible);
    EXPECT_FALSE(w.controls().hPanel.visible());
  }
}

TEST_F(PageMachineTest, TheRouterPasswordDialogReopensUntilTheRightPasswordOrCancel) {
  main().customerProfile.checkModemPwd = 1;
  routerPassword = "s3cret";
  std::vector<std::string> typed = {"wrong", "also wrong", "s3cret"};
  int shown = 0;
  backend().SetModalHandler([&](ui::Form& form) {
    auto* dialog = dynamic_cast<dialogs::TfrmPasswordConfirm*>(&form);
    ASSERT_NE(dialog, nullptr);
    dialog->edtConfirmPassword.SetText(typed[shown++]);
    dialog->btnOk.Click();
  });
  EXPECT_EQ(Next(PAGE_CHECK_HW_LINK), PAGE_ISP_SELECTION);
  EXPECT_EQ(shown, 3);

  backend().SetModalHandler([&](ui::Form& form) { form.Close(); });
  EXPECT_EQ(Next(PAGE_CHECK_HW_LINK), PAGE_ADSL_LINK);
}

TEST_F(PageMachineTest, AForgottenPasswordResetsTheRouterOnceAndReturnsToTheMenu) {
  main().customerProfile.checkModemPwd = 1;
  routerPassword = "s3cret";
  auto& passwordDialog = *windows().passwordConfirm;
  int resets = 0;
  passwordDialog.sendFactoryReset = [&] { ++resets; };
  bool cancelFirst = true;
  backend().SetModalHandler([&](ui::Form& form) {
    if (&form == &passwordDialog) {
      // The link opens a modal of its own: click it from the loop, as a user's click arrives.
      backend().Post([&] { passwordDialog.lblForgotPassword.Click(); });
      return;
    }
    auto& reset = dynamic_cast<dialogs::TfrmResetDefault&>(form);
    if (cancelFirst) {
      // Cancelling the reset leaves the password dialog open and its flag unchanged.
      cancelFirst = false;
      reset.btnCancel.Click();
      EXPECT_FALSE(passwordDialog.forgottenPassword);
      EXPECT_TRUE(passwordDialog.visible());
      // The user tries the link a second time.
      backend().Post([&] { passwordDialog.lblForgotPassword.Click(); });
      return;
    }
    reset.btnOk.Click();
  });
  EXPECT_EQ(Next(PAGE_CHECK_HW_LINK), PAGE_MAIN_MENU);
  EXPECT_EQ(resets, 1);
  // Acted on: the flag must not send a later visit back to the menu.
  EXPECT_FALSE(passwordDialog.forgottenPassword);
}

TEST_F(PageMachineTest, NavigationPicturesAppearOnlyUnderTheMouseEdgesIncluded) {
  main().Show();
  main().currentPage = PAGE_POWER_LINK;
  main().showPage();
  auto& c = main().controls();
  ASSERT_TRUE(c.imgPowerLinkBG.visible());
  ASSERT_GT(c.imgBackBT.width(), 0);
  EXPECT_FALSE(c.imgBackBT.visible());
  EXPECT_FALSE(c.imgNextBT.visible());

  const int right = c.imgBackBT.left() + c.imgBackBT.width();
  const int bottom = c.imgBackBT.top() + c.imgBackBT.height();
  c.imgPowerLinkBG.MouseMove(right, bottom);
  EXPECT_TRUE(c.imgBackBT.visible());
  EXPECT_EQ(app_->cursor(), ui::Cursor::HandPoint);
  c.imgPowerLinkBG.MouseMove(c.imgBackBT.left(), c.imgBackBT.top());
  EXPECT_TRUE(c.imgBackBT.visible());
  c.imgPowerLinkBG.MouseMove(right + 1, bottom);
  EXPECT_FALSE(c.imgBackBT.visible());
  EXPECT_EQ(app_->cursor(), ui::Cursor::Arrow);

  // A click reaches the Next picture only once the hover revealed it.
  c.imgNextBT.Click();
  EXPECT_EQ(main().currentPage, PAGE_POWER_LINK);
  c.imgPowerLinkBG.MouseMove(c.imgNextBT.left() + 1, c.imgNextBT.top() + 1);
  c.imgNextBT.Click();
  EXPECT_EQ(main().currentPage, PAGE_ETHERNET_LINK);
  EXPECT_TRUE(c.imgEthernetLinkBG.visible());
  EXPECT_FALSE(c.imgPowerLinkBG.visible());

  // While the link check runs the page only shows the hour-glass.
  processState().ethernetLinkState = kLinkChecking;
  c.imgEthernetLinkBG.MouseMove(c.imgNextBT.left() + 1, c.imgNextBT.top() + 1);
  EXPECT_FALSE(c.imgNextBT.visible());
  EXPECT_EQ(app_->cursor(), ui::Cursor::HourGlass);
}

TEST_F(PageMachineTest, TheRedFrameSurroundsTheMarkedControlByTwoPixels) {
  main().currentPage = PAGE_ISP_SELECTION;
  main().showPage();
  auto& c = main().controls();
  c.edtVPI.SetBounds(341, 335, 60, 21);
  main().focusControl = &c.edtVPI;
  main().highlightVisible = true;
  main().highlightControl(&c.edtVPI);
  EXPECT_TRUE(c.hPanel.visible());
  EXPECT_EQ(c.hPanel.color(), ui::kRed);
  EXPECT_EQ(c.hPanel.left(), 339);
  EXPECT_EQ(c.hPanel.top(), 333);
  EXPECT_EQ(c.hPanel.width(), 64);
  EXPECT_EQ(c.hPanel.height(), 25);
  const auto& z = main().zOrder();
  const auto at = [&](const ui::Control* control) {
    return std::find(z.begin(), z.end(), control);
  };
  EXPECT_GT(at(&c.edtVPI), at(&c.hPanel)) << "the control must be drawn over its frame";
  EXPECT_GT(at(&c.hPanel), at(&c.imgISPSelectionBG)) << "the frame must be drawn over the page";

  // Showing the same page again keeps the frame; Back takes it away.
  main().showPage();
  EXPECT_TRUE(c.hPanel.visible());
  main().goBack();
  EXPECT_FALSE(c.hPanel.visible());
}

TEST_F(PageMachineTest, ShowingAPageAgainOnlyRedrawsExceptWhereItsWorkRestarts) {
  main().currentPage = PAGE_CHECK_HW_LINK;
  main().showPage();
  main().showPage();
  EXPECT_EQ(calls, "hw;");
  EXPECT_EQ(main().controls().pbrCheckHWLink.max(), 200);
  calls.clear();
  main().currentPage = PAGE_INS_WLAN_DRIVER;
  main().showPage();
  main().showPage();
  EXPECT_EQ(calls, "driver;driver;");
}

TEST_F(PageMachineTest, TheSoftwareLinkPageStepsBackWhenTheProfileCannotBeRecorded) {
  main().currentPage = PAGE_CHECK_SW_LINK;
  profileOk = false;
  main().showPage();
  EXPECT_EQ(main().currentPage, PAGE_WIRELESS_SETTING);
  EXPECT_TRUE(main().controls().imgWirelessSettingBG.visible());
  EXPECT_EQ(calls, "collect;");

  calls.clear();
  profileOk = true;
  main().currentPage = PAGE_CHECK_SW_LINK;
  main().showPage();
  EXPECT_EQ(calls, "collect;sw;");
  EXPECT_EQ(main().controls().pbrCheckSWLink.max(), 900);
  EXPECT_EQ(main().controls().lblPercent.caption(), "0%");
}

TEST_F(PageMachineTest, TheIspPageIsFilledOnlyOnItsFirstShowingAfterTheHardwareCheck) {
  main().currentPage = PAGE_CHECK_HW_LINK;
  main().showPage();
  main().currentPage = PAGE_ISP_SELECTION;
  main().showPage();
  main().currentPage = PAGE_PPP_SETTING;
  main().showPage();
  main().currentPage = PAGE_ISP_SELECTION;
  main().showPage();
  EXPECT_EQ(calls, "hw;fill;");
}

}  // namespace
