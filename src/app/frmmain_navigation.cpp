#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "app/program_windows.h"
#include "config/system_config.h"
#include "dialogs/frmconfirmpassword.h"
#include "ui/application.h"

namespace app {
namespace {

bool Run(const std::function<bool()>& routine) {
  return routine && routine();
}
void Run(const std::function<void()>& routine) {
  if (routine) routine();
}

}  // namespace

void TmainForm::imgNextBTClick() {
  app().SetCursor(ui::Cursor::HourGlass);
  goNext();
  showPage();
  app().SetCursor(ui::Cursor::Arrow);
}

void TmainForm::imgBackBTClick() {
  app().SetCursor(ui::Cursor::HourGlass);
  goBack();
  showPage();
  app().SetCursor(ui::Cursor::Arrow);
}

// After the connection pages: the wireless pages for a modem with a radio, the radio page only
// when the skin switches it on.
void TmainForm::wirelessRule() {
  if (!wirelessModule)
    currentPage = PAGE_CHECK_SW_LINK;
  else
    currentPage = quillon::config::radioPageEnabled(systemConfig) ? PAGE_WRADIO_SETTING
                                                                  : PAGE_WIRELESS_SETTING;
}

// A router whose password is no longer the factory one lets the user on only with the right
// password; the dialog may instead reset the router, which sends the user back to the start.
void TmainForm::routerPasswordRule() {
  if (customerProfile.checkModemPwd != 1) {
    currentPage = PAGE_ISP_SELECTION;
    return;
  }
  const std::string modemPassword = routines.routerPassword ? routines.routerPassword() : "";
  if (modemPassword == systemConfig.defaultPassword) {
    currentPage = PAGE_ISP_SELECTION;
    return;
  }
  auto& dialog = *windows().passwordConfirm;
  for (;;) {
    if (dialog.ShowModal() != ui::kMrOk) {
      currentPage = PAGE_ADSL_LINK;
      return;
    }
    if (dialog.forgottenPassword) {
      // The dialog never clears its flag: left set, every later visit in this run would take
      // even the right password for a reset and lead back to the menu again.
      dialog.forgottenPassword = false;
      // The factory reset restarts the router: the next installation checks the computer's
      // link and the DSL line again before it asks the router.
      processState().ethernetLinkState = kLinkNotTested;
      processState().adslLinkState = kLinkNotTested;
      currentPage = PAGE_MAIN_MENU;
      return;
    }
    if (dialog.edtConfirmPassword.text() == modemPassword) {
      currentPage = PAGE_ISP_SELECTION;
      return;
    }
  }
}

void TmainForm::goNext() {
  const bool eu = customerProfile.profileName == "EU";
  switch (currentPage) {
    case PAGE_MAIN_MENU:
      currentPage = PAGE_POWER_LINK;
      break;
    case PAGE_POWER_LINK:
      currentPage = PAGE_ETHERNET_LINK;
      break;
    case PAGE_ETHERNET_LINK:
      if (processState().ethernetLinkState == kLinkUp)
        currentPage = PAGE_ADSL_LINK;
      else
        Run(routines.startEthernetCheck);
      break;
    case PAGE_ADSL_LINK:
      if (processState().adslLinkState == kLinkUp)
        currentPage = PAGE_CHECK_HW_LINK;
      else
        Run(routines.startAdslCheck);
      break;
    case PAGE_CHECK_HW_LINK:
      routerPasswordRule();
      break;
    case PAGE_ISP_SELECTION:
      if (!Run(routines.validateIspPage))
        highlightControl(focusControl);
      else if (staticIpSelected)
        currentPage = PAGE_STATIC_IP;
      else if (pppSelected)
        currentPage = PAGE_PPP_SETTING;
      else
        wirelessRule();
      break;
    case PAGE_STATIC_IP:
      if (Run(routines.validateStaticIpPage)) wirelessRule();
      break;
    case PAGE_PPP_SETTING:
      if (Run(routines.validatePppPage)) wirelessRule();
      break;
    case PAGE_WRADIO_SETTING:
      if (radioEnabled)
        currentPage = eu ? PAGE_WIRELESS_REMIND_SSID : PAGE_WIRELESS_SETTING;
      else
        currentPage = PAGE_CHECK_SW_LINK;
      break;
    case PAGE_WIRELESS_SETTING:
      if (!Run(routines.validateWirelessPage)) break;
      currentPage = eu ? PAGE_WIRELESS_REMIND_SSID : PAGE_CHECK_SW_LINK;
      Run(routines.collectSettings);
      break;
    case PAGE_CHECK_SW_LINK:
      currentPage = quillon::config::isKitEdition(customerProfile) ? PAGE_INSTALL_COMPLETE
                                                                   : PAGE_INSTALL_COMPLETE_ALONE;
      break;
    case PAGE_INSTALL_COMPLETE:
      currentPage = PAGE_ETHERNET_REMOVE;
      break;
    case PAGE_ETHERNET_REMOVE:
      if (Run(routines.ethernetStillConnected)) {
        showPopMessage(applicationMessage(0));
      } else {
        Run(routines.runDriverCopier);
        app().Wait(10000);
        currentPage = PAGE_WLAN_USB_CHECK;
      }
      break;
    case PAGE_WLAN_USB_CHECK:
      if (Run(routines.adapterPresent)) currentPage = PAGE_INS_WLAN_DRIVER;
      break;
    case PAGE_INS_WLAN_DRIVER:
      currentPage = PAGE_WLAN_INTERNET_STAT;
      break;
    case PAGE_WLAN_INTERNET_STAT:
      currentPage = PAGE_WLAN_INS_COMPLETE;
      break;
    case PAGE_WIRELESS_REMIND_SSID:
      currentPage = PAGE_CHECK_SW_LINK;
      break;
    default:
      break;
  }
}

void TmainForm::goBack() {
  processState().adslLinkState = kLinkNotTested;
  processState().ethernetLinkState = kLinkNotTested;
  highlightVisible = false;
  c_.hPanel.Hide();

  // Back from the wireless pages returns to the connection page the protocol chose.
  auto toConnectionPage = [this] {
    currentPage =
        pppSelected ? PAGE_PPP_SETTING : (staticIpSelected ? PAGE_STATIC_IP : PAGE_ISP_SELECTION);
  };
  switch (currentPage) {
    case PAGE_POWER_LINK:
      currentPage = PAGE_MAIN_MENU;
      break;
    case PAGE_ETHERNET_LINK:
      currentPage = PAGE_POWER_LINK;
      break;
    case PAGE_ADSL_LINK:
      currentPage = PAGE_ETHERNET_LINK;
      break;
    case PAGE_CHECK_HW_LINK:
      currentPage = PAGE_ADSL_LINK;
      break;
    case PAGE_ISP_SELECTION:
      currentPage = PAGE_CHECK_HW_LINK;
      break;
    case PAGE_STATIC_IP:
    case PAGE_PPP_SETTING:
      currentPage = PAGE_ISP_SELECTION;
      break;
    case PAGE_WRADIO_SETTING:
      toConnectionPage();
      break;
    case PAGE_WIRELESS_SETTING:
      if (quillon::config::radioPageEnabled(systemConfig))
        currentPage = PAGE_WRADIO_SETTING;
      else
        toConnectionPage();
      break;
    case PAGE_CHECK_SW_LINK:
      if (!wirelessModule)
        toConnectionPage();
      else if (!radioEnabled)
        currentPage = PAGE_WRADIO_SETTING;
      else
        currentPage =
            customerProfile.profileName == "EU" ? PAGE_WIRELESS_REMIND_SSID : PAGE_WIRELESS_SETTING;
      break;
    case PAGE_ETHERNET_REMOVE:
      currentPage = PAGE_INSTALL_COMPLETE;
      break;
    case PAGE_WLAN_USB_CHECK:
      currentPage = PAGE_ETHERNET_REMOVE;
      break;
    case PAGE_INS_WLAN_DRIVER:
      currentPage = PAGE_WLAN_USB_CHECK;
      break;
    case PAGE_WIRELESS_REMIND_SSID:
      currentPage = PAGE_WIRELESS_SETTING;
      break;
    default:
      break;
  }
}

void TmainForm::highlightControl(ui::Control* control) {
  if (control) {
    c_.hPanel.SetColor(ui::kRed);
    c_.hPanel.Show();
    c_.hPanel.SetBounds(control->left() - 2, control->top() - 2, control->width() + 4,
                        control->height() + 4);
    // Over the page picture, which every layout brings forward, and under the control.
    c_.hPanel.BringToFront();
    control->BringToFront();
  }
  if (!highlightVisible) c_.hPanel.Hide();
}

void TmainForm::navigationHover(int x, int y) {
  if (!ButtonsOffered()) {
    app().SetCursor(ui::Cursor::HourGlass);
    return;
  }
  SetHoverCursor(app(), ShowHoverPicture({&c_.imgBackBT, &c_.imgExitBT, &c_.imgNextBT}, x, y));
}

}  // namespace app
