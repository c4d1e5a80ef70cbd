#include "app/main_form_controls.h"

#include "ui/form.h"

namespace app {
namespace {

// In the resource every page picture and page control starts hidden; the skin and the page
// machine decide what shows. Only the Exit picture is visible there.
template <class T>
T& Hidden(ui::Form& form, const char* name) {
  T& control = form.Add<T>(name);
  control.Hide();
  return control;
}

ui::Image& Img(ui::Form& form, const char* name) {
  return Hidden<ui::Image>(form, name);
}

}  // namespace

MainFormControls::MainFormControls(ui::Form& f)
    : imgMainMenu(Img(f, "imgMainMenu")),
      imgPowerLinkBG(Img(f, "imgPowerLinkBG")),
      imgEthernetLinkBG(Img(f, "imgEthernetLinkBG")),
      imgADSLLinkBG(Img(f, "imgADSLLinkBG")),
      imgCheckHWLinkBG(Img(f, "imgCheckHWLinkBG")),
      imgISPSelectionBG(Img(f, "imgISPSelectionBG")),
      imgStaticIPBG(Img(f, "imgStaticIPBG")),
      imgPPPSettingBG(Img(f, "imgPPPSettingBG")),
      imgWRadioSettingBG(Img(f, "imgWRadioSettingBG")),
      imgWirelessSettingBG(Img(f, "imgWirelessSettingBG")),
      imgCheckSWLinkBG(Img(f, "imgCheckSWLinkBG")),
      imgInstallCompleteBG(Img(f, "imgInstallCompleteBG")),
      imgInstallCompleteAloneBG(Img(f, "imgInstallCompleteAloneBG")),
      imgEthernetRemoveBG(Img(f, "imgEthernetRemoveBG")),
      imgWlanUsbCheckBG(Img(f, "imgWlanUsbCheckBG")),
      imgInsWlanDriverBG(Img(f, "imgInsWlanDriverBG")),
      imgWlanInternetStatBG(Img(f, "imgWlanInternetStatBG")),
      imgWlanInsCompleteBG(Img(f, "imgWlanInsCompleteBG")),
      imgWirelessRemindSsidDlgBG(Img(f, "imgWirelessRemindSsidDlgBG")),
      imgViewManualBT(Img(f, "imgViewManualBT")),
      imgViewQIGBT(Img(f, "imgViewQIGBT")),
      imgAcrobatBT(Img(f, "imgAcrobatBT")),
      imgTechnicalSupportBT(Img(f, "imgTechnicalSupportBT")),
      imgQuickInstallBT(Img(f, "imgQuickInstallBT")),
      imgCloseBT(Img(f, "imgCloseBT")),
      imgViewKXManual(Img(f, "imgViewKXManual")),
      imgInstallKX(Img(f, "imgInstallKX")),
      cbxLanguages(Hidden<ui::ComboBox>(f, "cbxLanguages")),
      imgDSLCountry(Img(f, "imgDSLCountry")),
      imgDSLISP(Img(f, "imgDSLISP")),
      imgDSLProtocol(Img(f, "imgDSLProtocol")),
      imgDSLEncaps(Img(f, "imgDSLEncaps")),
      imgDSLVPI(Img(f, "imgDSLVPI")),
      imgDSLVCI(Img(f, "imgDSLVCI")),
      imgDSLMTU(Img(f, "imgDSLMTU")),
      imgDSLNotice(Img(f, "imgDSLNotice")),
      cbxDSLCountry(Hidden<ui::ComboBox>(f, "cbxDSLCountry")),
      cbxDSLISP(Hidden<ui::ComboBox>(f, "cbxDSLISP")),
      cbxDSLProtocol(Hidden<ui::ComboBox>(f, "cbxDSLProtocol")),
      cbxDSLEncaps(Hidden<ui::ComboBox>(f, "cbxDSLEncaps")),
      edtVPI(Hidden<ui::Edit>(f, "edtVPI")),
      edtVCI(Hidden<ui::Edit>(f, "edtVCI")),
      edtMTU(Hidden<ui::Edit>(f, "edtMTU")),
      medWANIP(Hidden<ui::MaskEdit>(f, "medWANIP")),
      medSubnet(Hidden<ui::MaskEdit>(f, "medSubnet")),
      medGateway(Hidden<ui::MaskEdit>(f, "medGateway")),
      medDNSIP(Hidden<ui::MaskEdit>(f, "medDNSIP")),
      edtUsername(Hidden<ui::Edit>(f, "edtUsername")),
      edtPassword(Hidden<ui::Edit>(f, "edtPassword")),
      edtConfirmPass(Hidden<ui::Edit>(f, "edtConfirmPass")),
      cbxWRadio(Hidden<ui::ComboBox>(f, "cbxWRadio")),
      edtSSID(Hidden<ui::Edit>(f, "edtSSID")),
      cbxWLCountry(Hidden<ui::ComboBox>(f, "cbxWLCountry")),
      cbxChannel(Hidden<ui::ComboBox>(f, "cbxChannel")),
      cbxEncryptType(Hidden<ui::ComboBox>(f, "cbxEncryptType")),
      edtWPAKey(Hidden<ui::Edit>(f, "edtWPAKey")),
      cbxWlKeyIndex(Hidden<ui::ComboBox>(f, "cbxWlKeyIndex")),
      imgWEPKey64(Img(f, "imgWEPKey64")),
      imgWEPKey128(Img(f, "imgWEPKey128")),
      imgWPAHex(Img(f, "imgWPAHex")),
      imgWPAACSII(Img(f, "imgWPAACSII")),
      imgEncryptOptField(Img(f, "imgEncryptOptField")),
      imgWirelessRemindSsidWarnMsg(Img(f, "imgWirelessRemindSsidWarnMsg")),
      imgRemindKey(Img(f, "imgRemindKey")),
      lblSSID(Hidden<ui::Label>(f, "lblSSID")),
      lblWlKey(Hidden<ui::Label>(f, "lblWlKey")),
      pbrCheckHWLink(Hidden<ui::ProgressBar>(f, "pbrCheckHWLink")),
      pbrCheckSWLink(Hidden<ui::ProgressBar>(f, "pbrCheckSWLink")),
      pbrInstallWlanDriver(Hidden<ui::ProgressBar>(f, "pbrInstallWlanDriver")),
      pbrWlanInternetStat(Hidden<ui::ProgressBar>(f, "pbrWlanInternetStat")),
      lblPercent(Hidden<ui::Label>(f, "lblPercent")),
      imgInsCompleteBT(Img(f, "imgInsCompleteBT")),
      imgInsWLANUSB(Img(f, "imgInsWLANUSB")),
      imgInsBrowse(Img(f, "imgInsBrowse")),
      imgInsCompleteAloneBT(Img(f, "imgInsCompleteAloneBT")),
      imgInsCompleteAloneBrowseBT(Img(f, "imgInsCompleteAloneBrowseBT")),
      imgWlanInsCompleteBT(Img(f, "imgWlanInsCompleteBT")),
      imgBackBT(Img(f, "imgBackBT")),
      imgExitBT(f.Add<ui::Image>("imgExitBT")),
      imgNextBT(Img(f, "imgNextBT")),
      hPanel(Hidden<ui::Panel>(f, "hPanel")),
      tmrCheckHWLinkTimer(f.app(), "tmrCheckHWLinkTimer"),
      tmrCheckHWLinkThread(f.app(), "tmrCheckHWLinkThread"),
      tmrCheckSWLinkThread(f.app(), "tmrCheckSWLinkThread"),
      tmrCheckSWLinkTimer(f.app(), "tmrCheckSWLinkTimer"),
      tmrInsWlanDriverThread(f.app(), "tmrInsWlanDriverThread"),
      tmrInsWlanDriverTimer(f.app(), "tmrInsWlanDriverTimer"),
      tmrWlanInternetStatusTimer(f.app(), "tmrWlanInternetStatusTimer"),
      tmrWlanInternetStatusThread(f.app(), "tmrWlanInternetStatusThread"),
      tmrCheckADSLLink(f.app(), "tmrCheckADSLLink"),
      tmrEthernetCheck(f.app(), "tmrEthernetCheck") {
  // The red frame sits behind the control it marks, so it shows as a 2-pixel border.
  hPanel.SetColor(ui::kRed);
  // Design-time sizes: the skin places the input controls and sizes only the progress bars'
  // widths and the language list, so heights and the other widths are the form's own.
  for (ui::ComboBox* list :
       {&cbxLanguages, &cbxDSLCountry, &cbxDSLISP, &cbxDSLProtocol, &cbxDSLEncaps, &cbxWRadio,
        &cbxWLCountry, &cbxChannel, &cbxEncryptType, &cbxWlKeyIndex})
    list->SetBounds(0, 0, 200, 21);
  for (ui::Edit* edit : {&edtUsername, &edtPassword, &edtConfirmPass, &edtSSID, &edtWPAKey})
    edit->SetBounds(0, 0, 200, 21);
  for (ui::Edit* edit : {&edtVPI, &edtVCI, &edtMTU}) edit->SetBounds(0, 0, 80, 21);
  for (ui::MaskEdit* edit : {&medWANIP, &medSubnet, &medGateway, &medDNSIP})
    edit->SetBounds(0, 0, 150, 21);
  for (ui::ProgressBar* bar :
       {&pbrCheckHWLink, &pbrCheckSWLink, &pbrInstallWlanDriver, &pbrWlanInternetStat})
    bar->SetBounds(0, 0, 200, 20);
  for (ui::Label* label : {&lblSSID, &lblWlKey}) {
    label->SetBounds(0, 0, 377, 73);
    label->SetWordWrap(true);
    label->SetFontColor(ui::Rgb(128, 0, 0));
  }
  lblPercent.SetBounds(0, 0, 60, 16);
  // Page backgrounds fill the client area inside a one-pixel margin.
  for (ui::Image* background :
       {&imgMainMenu, &imgPowerLinkBG, &imgEthernetLinkBG, &imgADSLLinkBG, &imgCheckHWLinkBG,
        &imgISPSelectionBG, &imgStaticIPBG, &imgPPPSettingBG, &imgWRadioSettingBG,
        &imgWirelessSettingBG, &imgCheckSWLinkBG, &imgInstallCompleteBG, &imgInstallCompleteAloneBG,
        &imgEthernetRemoveBG, &imgWlanUsbCheckBG, &imgInsWlanDriverBG, &imgWlanInternetStatBG,
        &imgWlanInsCompleteBG, &imgWirelessRemindSsidDlgBG}) {
    background->SetLeft(1);
    background->SetTop(1);
  }
  lblPercent.SetCaption("0%");
}

}  // namespace app
