#include "app/frmmain.h"
#include "app/page_support.h"
#include "config/system_config.h"
#include "ui/exception.h"

namespace app {
namespace {

// The skin's two lookups, bound to the current language folder.
class Skin {
 public:
  Skin(const quillon::config::systemConfig& config, const std::string& langDir,
       std::map<const ui::Control*, std::string>* failures)
      : config_(config), langDir_(langDir), failures_(failures) {}

  // A key without a file name is as bad as a missing file: the picture error either way.
  void Load(ui::Image& image, const char* key) const {
    try {
      const std::string& file = quillon::config::pictureFile(config_, key);
      if (file.empty()) throw ui::PictureError(std::string("No picture is named for ") + key);
      image.LoadPicture(langDir_ + file);
    } catch (const ui::PictureError& error) {
      if (failures_ == nullptr) throw;
      failures_->emplace(&image, error.what());
    }
  }
  void Place(ui::Control& control, const char* key) const { PlaceBySkin(control, config_, key); }
  void PlaceWithWidth(ui::Control& control, const char* key) const {
    PlaceBySkin(control, config_, key, true);
  }
  void LoadAndPlace(ui::Image& image, const char* key) const {
    Load(image, key);
    Place(image, key);
  }
  void LoadHidden(ui::Image& image, const char* key) const {
    Load(image, key);
    image.Hide();
  }

 private:
  const quillon::config::systemConfig& config_;
  const std::string& langDir_;
  std::map<const ui::Control*, std::string>* failures_;
};

}  // namespace

void TmainForm::applySkin(std::map<const ui::Control*, std::string>* failures) {
  const Skin skin(systemConfig, langDir, failures);
  auto& c = c_;

  skin.Load(c.imgMainMenu, "IMG_MainMenuDlgBG");
  c.imgMainMenu.Show();
  skin.LoadAndPlace(c.imgViewManualBT, "IMG_ViewManualBT");
  skin.LoadAndPlace(c.imgViewQIGBT, "IMG_ViewQIGBT");
  skin.LoadAndPlace(c.imgAcrobatBT, "IMG_AcrobatBT");
  skin.LoadAndPlace(c.imgTechnicalSupportBT, "IMG_TechnicalSupportBT");
  skin.LoadAndPlace(c.imgQuickInstallBT, "IMG_QuickInstallBT");
  skin.LoadAndPlace(c.imgCloseBT, "IMG_CloseBT");
  if (quillon::config::isKitEdition(customerProfile)) {
    skin.LoadAndPlace(c.imgViewKXManual, "IMG_ViewKXManualBT");
    skin.LoadAndPlace(c.imgInstallKX, "IMG_InstallKXU");
  }
  if (customerProfile.isMultiLang != 0) {
    c.cbxLanguages.Show();
    skin.PlaceWithWidth(c.cbxLanguages, "CB_Languages");
  }

  skin.LoadHidden(c.imgPowerLinkBG, "IMG_PowerLinkHelpDlgBG");
  skin.LoadHidden(c.imgEthernetLinkBG, "IMG_EthernetLinkHelpDlgBG");
  skin.LoadHidden(c.imgADSLLinkBG, "IMG_ADSLLinkHelpDlgBG");
  skin.LoadHidden(c.imgCheckHWLinkBG, "IMG_CheckHWLinkStatusDlgBG");
  skin.LoadHidden(c.imgISPSelectionBG, "IMG_ISPSelectionDlgBG");

  // The ISP page's parameter labels start grey; they take their normal pictures only once the
  // user unlocks the DSL fields.
  skin.LoadAndPlace(c.imgDSLCountry, "IMG_DSLCountry");
  skin.LoadAndPlace(c.imgDSLISP, "IMG_DSLISP");
  skin.Place(c.imgDSLProtocol, "IMG_DSLProtocol");
  skin.Place(c.imgDSLEncaps, "IMG_DSLEncapulation");
  skin.Place(c.imgDSLVPI, "IMG_DSLVPI");
  skin.Place(c.imgDSLVCI, "IMG_DSLVCI");
  skin.Load(c.imgDSLProtocol, "IMG_DSLProtocol_grey");
  skin.Load(c.imgDSLEncaps, "IMG_DSLEncapulation_grey");
  skin.Load(c.imgDSLVPI, "IMG_DSLVPI_grey");
  skin.Load(c.imgDSLVCI, "IMG_DSLVCI_grey");
  skin.LoadAndPlace(c.imgDSLMTU, "IMG_DSLMTU");
  skin.Load(c.imgDSLNotice, "IMG_DSLNotice_grey");
  skin.Place(c.imgDSLNotice, "IMG_DSLNotice");
  if (!dslFieldsLocked) {
    skin.Load(c.imgDSLProtocol, "IMG_DSLProtocol");
    skin.Load(c.imgDSLEncaps, "IMG_DSLEncapulation");
    skin.Load(c.imgDSLVPI, "IMG_DSLVPI");
    skin.Load(c.imgDSLVCI, "IMG_DSLVCI");
    skin.Load(c.imgDSLNotice, "IMG_DSLNotice");
  }
  skin.Place(c.cbxDSLCountry, "CB_CountrySelector");
  skin.Place(c.cbxDSLISP, "CB_ISPSelector");
  skin.Place(c.cbxDSLProtocol, "CB_DSLProtocol");
  skin.Place(c.cbxDSLEncaps, "CB_DSLEncapulation");
  skin.Place(c.edtVPI, "ED_DSLVPI");
  skin.Place(c.edtVCI, "ED_DSLVCI");
  skin.Place(c.edtMTU, "ED_DSLMTU");

  skin.LoadHidden(c.imgStaticIPBG, "IMG_StaticIPSettingDlgBG");
  skin.Place(c.medWANIP, "PL_WANIPAddressEdit");
  skin.Place(c.medSubnet, "PL_SubnetNetmaskEdit");
  skin.Place(c.medGateway, "PL_GatewayAddressEdit");
  skin.Place(c.medDNSIP, "PL_DNSIPAddressEdit");

  skin.LoadHidden(c.imgPPPSettingBG, "IMG_PPPSettingDlgBG");
  skin.Place(c.edtUsername, "ED_PPPUsername");
  skin.Place(c.edtPassword, "ED_PPPPassword");
  skin.Place(c.edtConfirmPass, "ED_PPPConfirmPassword");

  skin.LoadHidden(c.imgWRadioSettingBG, "IMG_WRadioSettingDlgBG");
  skin.Place(c.cbxWRadio, "CB_WRadio");

  skin.LoadHidden(c.imgWirelessSettingBG, "IMG_WirelessSettingDlgBG");
  skin.Place(c.edtSSID, "ED_SSID");
  skin.Place(c.cbxWLCountry, "CB_WLCountry");
  skin.Place(c.cbxChannel, "CB_Channel");
  skin.Place(c.cbxEncryptType, "CB_EncryptionType");
  skin.Place(c.edtWPAKey, "ED_EncryptionKey");
  skin.LoadAndPlace(c.imgWEPKey64, "IMG_WEPKey64Help");
  skin.LoadAndPlace(c.imgWEPKey128, "IMG_WEPKey128Help");
  skin.LoadAndPlace(c.imgWPAHex, "IMG_WPAKeyHexHelp");
  skin.LoadAndPlace(c.imgWPAACSII, "IMG_WPAKeyASCHelp");

  skin.LoadHidden(c.imgWirelessRemindSsidDlgBG, "IMG_WirelessRemindSsidDlgBG");
  skin.LoadHidden(c.imgWirelessRemindSsidWarnMsg, "IMG_WirelessRemindSsidWarnMsg");
  skin.Place(c.imgWirelessRemindSsidWarnMsg, "IMG_WirelessRemindSsidWarnMsg");
  skin.Place(c.lblSSID, "LBL_SSID");
  skin.Place(c.lblWlKey, "LBL_WLKey");

  skin.LoadHidden(c.imgCheckSWLinkBG, "IMG_CheckSWLinkStatusDlgBG");
  skin.PlaceWithWidth(c.pbrCheckSWLink, "PB_CheckSWLinkStatus");
  skin.Place(c.lblPercent, "LB_CheckSWLinkStatusProgressPercent");

  // Each edition loads only the pages it can show: a router edition's CD need not carry the
  // adapter's pages, nor a kit's the router edition's last page.
  if (quillon::config::isKitEdition(customerProfile)) {
    skin.LoadHidden(c.imgInstallCompleteBG, "IMG_InstallCompleteDlgBG");
    skin.LoadAndPlace(c.imgInsCompleteBT, "IMG_InstallCompleteDlgOKBT");
    skin.LoadAndPlace(c.imgInsWLANUSB, "IMG_InstallWLANUSBBT");
    skin.LoadAndPlace(c.imgInsBrowse, "IMG_InstallBROWSEBT");
    skin.LoadHidden(c.imgEthernetRemoveBG, "IMG_EthernetRemoveDlgBG");
    skin.LoadHidden(c.imgWlanUsbCheckBG, "IMG_WlanUsbCheckDlgBG");
    skin.LoadHidden(c.imgInsWlanDriverBG, "IMG_InstallWlanDriverDlgBG");
    skin.LoadHidden(c.imgWlanInternetStatBG, "IMG_WlanInternetStatDlgBG");
    skin.LoadHidden(c.imgWlanInsCompleteBG, "IMG_WlanInstallCompleteDlgBG");
    skin.LoadAndPlace(c.imgWlanInsCompleteBT, "IMG_WlanInstallCompleteDlgOKBT");
  } else {
    skin.LoadHidden(c.imgInstallCompleteAloneBG, "IMG_InstallCompleteDlgAloneBG");
    skin.LoadAndPlace(c.imgInsCompleteAloneBT, "IMG_InstallCompleteDlgAloneOKBT");
    skin.LoadAndPlace(c.imgInsCompleteAloneBrowseBT, "IMG_InstallCompleteDlgAloneBrowseBT");
  }
}

}  // namespace app
