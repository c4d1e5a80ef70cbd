#include <exception>
#include <vector>

#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "config/system_config.h"
#include "ui/application.h"
#include "ui/exception.h"

namespace app {
namespace {

// A control a page shows, and the skin key that places it (none: it keeps its place).
struct Shown {
  ui::Control* control;
  const char* placeKey;
  bool withWidth = false;
};

// How showPage lays out a page: its background, the stem of its navigation picture keys
// (stem + "BackBT", "NextBT", "ExitBT"; none for pages without them) and its controls.
struct PageLayout {
  ui::Image* background = nullptr;
  const char* navigationStem = nullptr;
  std::vector<Shown> controls;
};

PageLayout LayoutOf(int page, MainFormControls& c, bool multiLang, bool eu) {
  switch (page) {
    case PAGE_MAIN_MENU: {
      PageLayout layout{&c.imgMainMenu, nullptr, {}};
      if (multiLang) layout.controls.push_back({&c.cbxLanguages, "CB_Languages", true});
      return layout;
    }
    case PAGE_POWER_LINK:
      return {&c.imgPowerLinkBG, "IMG_PowerLinkHelpDlg", {}};
    case PAGE_ETHERNET_LINK:
      return {&c.imgEthernetLinkBG, "IMG_EthernetLinkHelpDlg", {}};
    case PAGE_ADSL_LINK:
      return {&c.imgADSLLinkBG, "IMG_ADSLLinkHelpDlg", {}};
    case PAGE_CHECK_HW_LINK:
      return {&c.imgCheckHWLinkBG, nullptr, {{&c.pbrCheckHWLink, "PB_CheckHWLinkStatus", true}}};
    case PAGE_ISP_SELECTION:
      return {&c.imgISPSelectionBG,
              "IMG_ISPSelectionDlg",
              {{&c.imgDSLCountry, "IMG_DSLCountry"},
               {&c.imgDSLISP, "IMG_DSLISP"},
               {&c.cbxDSLCountry, "CB_CountrySelector"},
               {&c.cbxDSLISP, "CB_ISPSelector"},
               {&c.imgDSLProtocol, "IMG_DSLProtocol"},
               {&c.imgDSLEncaps, "IMG_DSLEncapulation"},
               {&c.imgDSLVPI, "IMG_DSLVPI"},
               {&c.imgDSLVCI, "IMG_DSLVCI"},
               {&c.imgDSLNotice, "IMG_DSLNotice"},
               {&c.cbxDSLProtocol, "CB_DSLProtocol"},
               {&c.cbxDSLEncaps, "CB_DSLEncapulation"},
               {&c.edtVPI, "ED_DSLVPI"},
               {&c.edtVCI, "ED_DSLVCI"}}};
    case PAGE_STATIC_IP:
      return {&c.imgStaticIPBG,
              "IMG_StaticIPSettingDlg",
              {{&c.medWANIP, "PL_WANIPAddressEdit"},
               {&c.medSubnet, "PL_SubnetNetmaskEdit"},
               {&c.medGateway, "PL_GatewayAddressEdit"},
               {&c.medDNSIP, "PL_DNSIPAddressEdit"}}};
    case PAGE_PPP_SETTING:
      return {&c.imgPPPSettingBG,
              "IMG_PPPSettingDlg",
              {{&c.edtUsername, "ED_PPPUsername"},
               {&c.edtPassword, "ED_PPPPassword"},
               {&c.edtConfirmPass, "ED_PPPConfirmPassword"}}};
    case PAGE_WRADIO_SETTING:
      return {&c.imgWRadioSettingBG, "IMG_WRadioSettingDlg", {{&c.cbxWRadio, "CB_WRadio"}}};
    case PAGE_WIRELESS_SETTING: {
      PageLayout layout{
          &c.imgWirelessSettingBG, "IMG_WirelessSettingDlg", {{&c.edtSSID, "ED_SSID"}}};
      if (!eu) layout.controls.push_back({&c.cbxWLCountry, "CB_WLCountry"});
      layout.controls.push_back({&c.cbxChannel, "CB_Channel"});
      layout.controls.push_back({&c.cbxEncryptType, "CB_EncryptionType"});
      return layout;
    }
    case PAGE_CHECK_SW_LINK:
      return {&c.imgCheckSWLinkBG, nullptr, {}};
    case PAGE_INSTALL_COMPLETE:
      return {&c.imgInstallCompleteBG, nullptr, {}};
    case PAGE_ETHERNET_REMOVE:
      return {&c.imgEthernetRemoveBG, "IMG_EthernetRemoveDlg", {}};
    case PAGE_WLAN_USB_CHECK:
      return {&c.imgWlanUsbCheckBG, "IMG_WlanUsbCheckDlg", {}};
    case PAGE_INS_WLAN_DRIVER:
      return {&c.imgInsWlanDriverBG,
              nullptr,
              {{&c.pbrInstallWlanDriver, "PB_InstallWlanDriverStatus", true}}};
    case PAGE_WLAN_INTERNET_STAT:
      return {&c.imgWlanInternetStatBG,
              nullptr,
              {{&c.pbrWlanInternetStat, "PB_WlanInternetStatus", true}}};
    case PAGE_WLAN_INS_COMPLETE:
      return {&c.imgWlanInsCompleteBG, nullptr, {}};
    case PAGE_WIRELESS_REMIND_SSID:
      return {&c.imgWirelessRemindSsidDlgBG, "IMG_WirelessRemindSsid", {{&c.lblSSID, nullptr}}};
    case PAGE_INSTALL_COMPLETE_ALONE:
      return {&c.imgInstallCompleteAloneBG, nullptr, {}};
    default:
      return {};
  }
}

void Prepare(ui::ProgressBar& bar, int max) {
  bar.SetRange(0, max);
  bar.SetStep(10);
  bar.SetPosition(0);
}

}  // namespace

void TmainForm::showPage() {
  auto& state = processState();
  // Showing the current page again only redraws the red frame, except on the two pages whose
  // work restarts every time they are shown: that is how their retry works.
  if (currentPage == state.lastShownPage && currentPage != PAGE_INS_WLAN_DRIVER &&
      currentPage != PAGE_WLAN_INTERNET_STAT) {
    if (highlightVisible) highlightControl(focusControl);
    return;
  }
  // A picture the language folder lacks stops only the page that shows it, not every page.
  std::map<const ui::Control*, std::string> failures;
  applySkin(&failures);
  const std::exception_ptr damage = LayOutPageOrStay(failures);
  offerKeyButtons();
  // Noted before the software link page runs: when it steps back at once, the page it steps
  // back to must be laid out, not taken for the one already on screen.
  state.lastShownPage = currentPage;
  if (currentPage == PAGE_CHECK_SW_LINK) ShowSoftwareLinkPage();
  highlightControl(focusControl);
  ReportPictureFailuresOnce(failures);
  // Reported only now, with the page and its keyboard stops in place behind the message.
  if (damage) app().Guard([&damage] { std::rethrow_exception(damage); });
}

// A page whose own picture failed is not shown: the wizard stays on the page it showed (the
// main menu after a language switch) and the picture error says why. Without the stay, the
// page state would have moved on behind a page that never showed. A progress page would start
// its work again and move on into the same error, so from one the wizard goes to the menu.
// A picture whose file is there but whose data is damaged is found only while the page is laid
// out: that page shows without it, and its error is handed back for showPage to report.
std::exception_ptr TmainForm::LayOutPageOrStay(
    const std::map<const ui::Control*, std::string>& failures) {
  const int target = currentPage;
  try {
    const PageLayout layout = LayoutOf(currentPage, c_, customerProfile.isMultiLang != 0,
                                       customerProfile.profileName == "EU");
    std::vector<const ui::Control*> shown{layout.background};
    for (const Shown& control : layout.controls) shown.push_back(control.control);
    for (const ui::Control* control : shown) {
      auto failed = failures.find(control);
      if (failed != failures.end()) throw ui::PictureError(failed->second);
    }
    HideAllPages();
    return LayOutCurrentPage();
  } catch (const ui::PictureError& error) {
    reportedPictureErrors.insert(error.what());
    int stay = processState().lastShownPage;
    if (stay == PAGE_CHECK_HW_LINK || stay == PAGE_CHECK_SW_LINK || stay == PAGE_INS_WLAN_DRIVER ||
        stay == PAGE_WLAN_INTERNET_STAT)
      stay = PAGE_MAIN_MENU;
    if (stay == 0 || stay == target) throw;
    currentPage = stay;
    HideAllPages();
    // The page stayed on showed before; a damage of its own was reported then.
    (void)LayOutCurrentPage();
    offerKeyButtons();
    highlightControl(focusControl);
    throw;
  }
}

// The pictures of pages not shown now are reported once each, when the language is loaded.
void TmainForm::ReportPictureFailuresOnce(
    const std::map<const ui::Control*, std::string>& failures) {
  for (const auto& [control, error] : failures)
    if (reportedPictureErrors.insert(error).second) app().ShowException(ui::PictureError(error));
}

void TmainForm::HideAllPages() {
  auto& c = c_;
  for (ui::Control* control : std::initializer_list<ui::Control*>{&c.imgViewManualBT,
                                                                  &c.imgViewQIGBT,
                                                                  &c.imgAcrobatBT,
                                                                  &c.imgTechnicalSupportBT,
                                                                  &c.imgQuickInstallBT,
                                                                  &c.imgCloseBT,
                                                                  &c.imgViewKXManual,
                                                                  &c.imgInstallKX,
                                                                  &c.imgMainMenu,
                                                                  &c.imgPowerLinkBG,
                                                                  &c.imgEthernetLinkBG,
                                                                  &c.imgADSLLinkBG,
                                                                  &c.imgCheckHWLinkBG,
                                                                  &c.imgISPSelectionBG,
                                                                  &c.imgStaticIPBG,
                                                                  &c.imgPPPSettingBG,
                                                                  &c.imgWRadioSettingBG,
                                                                  &c.imgWirelessSettingBG,
                                                                  &c.imgCheckSWLinkBG,
                                                                  &c.imgInstallCompleteBG,
                                                                  &c.imgInstallCompleteAloneBG,
                                                                  &c.imgEthernetRemoveBG,
                                                                  &c.imgWlanUsbCheckBG,
                                                                  &c.imgInsWlanDriverBG,
                                                                  &c.imgWlanInternetStatBG,
                                                                  &c.imgWlanInsCompleteBG,
                                                                  &c.imgWirelessRemindSsidDlgBG,
                                                                  &c.imgDSLCountry,
                                                                  &c.imgDSLISP,
                                                                  &c.cbxDSLCountry,
                                                                  &c.cbxDSLISP,
                                                                  &c.imgDSLProtocol,
                                                                  &c.imgDSLEncaps,
                                                                  &c.imgDSLVPI,
                                                                  &c.imgDSLVCI,
                                                                  &c.imgDSLNotice,
                                                                  &c.imgDSLMTU,
                                                                  &c.cbxDSLProtocol,
                                                                  &c.cbxDSLEncaps,
                                                                  &c.edtVPI,
                                                                  &c.edtVCI,
                                                                  &c.edtMTU,
                                                                  &c.medWANIP,
                                                                  &c.medSubnet,
                                                                  &c.medGateway,
                                                                  &c.medDNSIP,
                                                                  &c.edtUsername,
                                                                  &c.edtPassword,
                                                                  &c.edtConfirmPass,
                                                                  &c.cbxWRadio,
                                                                  &c.edtSSID,
                                                                  &c.cbxWLCountry,
                                                                  &c.cbxChannel,
                                                                  &c.cbxEncryptType,
                                                                  &c.imgWEPKey64,
                                                                  &c.imgWEPKey128,
                                                                  &c.imgWPAHex,
                                                                  &c.imgWPAACSII,
                                                                  &c.imgEncryptOptField,
                                                                  &c.edtWPAKey,
                                                                  &c.lblSSID,
                                                                  &c.lblWlKey,
                                                                  &c.imgRemindKey,
                                                                  &c.imgWirelessRemindSsidWarnMsg,
                                                                  &c.lblPercent,
                                                                  &c.pbrCheckHWLink,
                                                                  &c.pbrCheckSWLink,
                                                                  &c.pbrInstallWlanDriver,
                                                                  &c.pbrWlanInternetStat,
                                                                  &c.imgInsWLANUSB,
                                                                  &c.imgInsBrowse,
                                                                  &c.imgWlanInsCompleteBT,
                                                                  &c.imgBackBT,
                                                                  &c.imgExitBT,
                                                                  &c.imgNextBT})
    control->Hide();
  if (customerProfile.isMultiLang != 0) c.cbxLanguages.Hide();
  for (ui::Image* image :
       {&c.imgInsCompleteBT, &c.imgInsWLANUSB, &c.imgInsBrowse, &c.imgInsCompleteAloneBT})
    image->BringToFront();
  app().SetCursor(ui::Cursor::Arrow);
}

// A picture whose pixels turn out damaged is no reason to leave the page half laid out: the
// page goes on without it, and the damage is returned for showPage to report.
std::exception_ptr TmainForm::LayOutCurrentPage() {
  auto& c = c_;
  const bool eu = customerProfile.profileName == "EU";
  const PageLayout layout = LayoutOf(currentPage, c, customerProfile.isMultiLang != 0, eu);
  if (!layout.background) return nullptr;
  std::exception_ptr damage;
  const auto show = [&damage](ui::Control& control) {
    try {
      control.Show();
    } catch (const ui::PictureError&) {
      if (!damage) damage = std::current_exception();
      // The damage is reported once; shown again, the control stays without its picture.
      control.Show();
    }
  };
  show(*layout.background);
  layout.background->BringToFront();

  if (layout.navigationStem) {
    const std::string stem = layout.navigationStem;
    const std::pair<ui::Image*, const char*> buttons[] = {
        {&c.imgBackBT, "BackBT"}, {&c.imgExitBT, "ExitBT"}, {&c.imgNextBT, "NextBT"}};
    for (const auto& [image, suffix] : buttons) {
      const std::string key = stem + suffix;
      image->LoadPicture(langDir + quillon::config::pictureFile(systemConfig, key));
      PlaceBySkin(*image, systemConfig, key);
    }
  }
  for (const Shown& shown : layout.controls) {
    show(*shown.control);
    shown.control->BringToFront();
    if (shown.placeKey) PlaceBySkin(*shown.control, systemConfig, shown.placeKey, shown.withWidth);
  }

  auto run = [](const std::function<void()>& routine) {
    if (routine) routine();
  };
  switch (currentPage) {
    case PAGE_CHECK_HW_LINK:
      Prepare(c.pbrCheckHWLink, 200);
      linkCheckStep = 1;
      ispPageNeedsFill = true;
      run(routines.startHardwareCheck);
      run(routines.initRadioPage);
      run(routines.initWirelessPage);
      break;
    case PAGE_ISP_SELECTION:
      if (ispPageNeedsFill) {
        run(routines.fillCountries);
        ispPageNeedsFill = false;
      }
      break;
    case PAGE_WIRELESS_SETTING:
      PlaceBySkin(c.edtWPAKey, systemConfig, "ED_EncryptionKey");
      run(routines.showKeyHelp);
      break;
    case PAGE_INS_WLAN_DRIVER:
      Prepare(c.pbrInstallWlanDriver, 1000);
      run(routines.startDriverInstallation);
      break;
    case PAGE_WLAN_INTERNET_STAT:
      Prepare(c.pbrWlanInternetStat, 1500);
      run(routines.startWirelessInternetTest);
      break;
    case PAGE_WIRELESS_REMIND_SSID:
      run(routines.layOutRemindPage);
      break;
    default:
      break;
  }
  return damage;
}

// The software link page collects everything, records the wireless profile and starts the
// apply sequence; when the profile cannot be recorded it steps back at once.
void TmainForm::ShowSoftwareLinkPage() {
  auto& c = c_;
  Prepare(c.pbrCheckSWLink, 900);
  c.pbrCheckSWLink.Show();
  c.pbrCheckSWLink.BringToFront();
  c.lblPercent.SetCaption("0%");
  c.lblPercent.Show();
  c.lblPercent.BringToFront();
  if (routines.collectSettings) routines.collectSettings();
  rebootWaitDone = false;
  if (wirelessModule) {
    profileWritten = false;
    profileWritten = routines.writeWirelessProfile && routines.writeWirelessProfile();
  } else {
    profileWritten = true;
  }
  if (profileWritten) {
    if (routines.startSoftwareCheck) routines.startSoftwareCheck();
  } else {
    goBack();
    showPage();
  }
}

}  // namespace app
