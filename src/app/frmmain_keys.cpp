#include <initializer_list>

#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/pages.h"

namespace app {

// While a link check runs its page offers nothing to click, to the mouse or to the keyboard.
bool TmainForm::ButtonsOffered() const {
  const auto& state = processState();
  return !((currentPage == PAGE_ETHERNET_LINK && state.ethernetLinkState == kLinkChecking) ||
           (currentPage == PAGE_ADSL_LINK && state.adslLinkState == kLinkChecking));
}

// The picture buttons show only under the mouse, so the keyboard cannot find them by what is
// visible: each page names its own. A button without a picture in this skin is no stop.
void TmainForm::offerKeyButtons() {
  auto& c = c_;
  const std::initializer_list<ui::Image*> navigation = {&c.imgBackBT, &c.imgExitBT, &c.imgNextBT};
  const std::initializer_list<ui::Image*> menu = {
      &c.imgViewManualBT,   &c.imgViewQIGBT, &c.imgAcrobatBT,    &c.imgTechnicalSupportBT,
      &c.imgQuickInstallBT, &c.imgCloseBT,   &c.imgViewKXManual, &c.imgInstallKX};
  const std::initializer_list<ui::Image*> complete = {&c.imgInsCompleteBT, &c.imgInsWLANUSB,
                                                      &c.imgInsBrowse};
  const std::initializer_list<ui::Image*> completeAlone = {&c.imgInsCompleteAloneBT,
                                                           &c.imgInsCompleteAloneBrowseBT};
  const std::initializer_list<ui::Image*> wlanComplete = {&c.imgWlanInsCompleteBT};
  for (const auto& group : {navigation, menu, complete, completeAlone, wlanComplete})
    for (ui::Image* button : group) button->SetTabStop(false);
  // After the last field the keyboard meets what a user means to do next: Next, then Back, and
  // Exit, which ends the wizard at once, last. Exit's hover picture wears Next's colour, so its
  // focus shows as a frame around the Exit the page draws.
  c.imgBackBT.SetTabRank(1);
  c.imgExitBT.SetTabRank(2);
  c.imgExitBT.SetFocusFramed(true);
  std::initializer_list<ui::Image*> offered = {};
  // Return presses the page's way on: Next, or Finish on the completion pages.
  defaultButton = &c.imgNextBT;
  switch (currentPage) {
    case PAGE_MAIN_MENU:
      offered = menu;
      break;
    case PAGE_POWER_LINK:
    case PAGE_ETHERNET_LINK:
    case PAGE_ADSL_LINK:
    case PAGE_ISP_SELECTION:
    case PAGE_STATIC_IP:
    case PAGE_PPP_SETTING:
    case PAGE_WRADIO_SETTING:
    case PAGE_WIRELESS_SETTING:
    case PAGE_ETHERNET_REMOVE:
    case PAGE_WLAN_USB_CHECK:
    case PAGE_WIRELESS_REMIND_SSID:
      offered = navigation;
      break;
    case PAGE_INSTALL_COMPLETE:
      offered = complete;
      defaultButton = &c.imgInsCompleteBT;
      break;
    case PAGE_INSTALL_COMPLETE_ALONE:
      offered = completeAlone;
      defaultButton = &c.imgInsCompleteAloneBT;
      break;
    case PAGE_WLAN_INS_COMPLETE:
      offered = wlanComplete;
      defaultButton = &c.imgWlanInsCompleteBT;
      break;
    default:
      break;
  }
  // A new page starts the keyboard afresh: the first Tab reaches its first field.
  SetKeyFocus(nullptr);
  const bool kit = quillon::config::isKitEdition(customerProfile);
  for (ui::Image* button : offered) {
    if ((button == &c.imgViewKXManual || button == &c.imgInstallKX) && !kit) continue;
    if (button->hasPicture()) button->SetTabStop(true);
  }
}

}  // namespace app
