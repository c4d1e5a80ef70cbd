#pragma once

#include <memory>
#include <vector>

#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/mask_edit.h"
#include "ui/panel.h"
#include "ui/progress_bar.h"
#include "ui/timer.h"

namespace app {

// The main window's resource: every control with its design-time state (page pictures and page
// controls hidden, all timers disabled), created in one place so the pages only use them.
struct MainFormControls {
  explicit MainFormControls(ui::Form& form);

  // Page backgrounds.
  ui::Image& imgMainMenu;
  ui::Image& imgPowerLinkBG;
  ui::Image& imgEthernetLinkBG;
  ui::Image& imgADSLLinkBG;
  ui::Image& imgCheckHWLinkBG;
  ui::Image& imgISPSelectionBG;
  ui::Image& imgStaticIPBG;
  ui::Image& imgPPPSettingBG;
  ui::Image& imgWRadioSettingBG;
  ui::Image& imgWirelessSettingBG;
  ui::Image& imgCheckSWLinkBG;
  ui::Image& imgInstallCompleteBG;
  ui::Image& imgInstallCompleteAloneBG;
  ui::Image& imgEthernetRemoveBG;
  ui::Image& imgWlanUsbCheckBG;
  ui::Image& imgInsWlanDriverBG;
  ui::Image& imgWlanInternetStatBG;
  ui::Image& imgWlanInsCompleteBG;
  ui::Image& imgWirelessRemindSsidDlgBG;

  // Main menu.
  ui::Image& imgViewManualBT;
  ui::Image& imgViewQIGBT;
  ui::Image& imgAcrobatBT;
  ui::Image& imgTechnicalSupportBT;
  ui::Image& imgQuickInstallBT;
  ui::Image& imgCloseBT;
  ui::Image& imgViewKXManual;
  ui::Image& imgInstallKX;
  ui::ComboBox& cbxLanguages;

  // ISP selection page.
  ui::Image& imgDSLCountry;
  ui::Image& imgDSLISP;
  ui::Image& imgDSLProtocol;
  ui::Image& imgDSLEncaps;
  ui::Image& imgDSLVPI;
  ui::Image& imgDSLVCI;
  ui::Image& imgDSLMTU;
  ui::Image& imgDSLNotice;
  ui::ComboBox& cbxDSLCountry;
  ui::ComboBox& cbxDSLISP;
  ui::ComboBox& cbxDSLProtocol;
  ui::ComboBox& cbxDSLEncaps;
  ui::Edit& edtVPI;
  ui::Edit& edtVCI;
  ui::Edit& edtMTU;

  // Static IP and PPP pages.
  ui::MaskEdit& medWANIP;
  ui::MaskEdit& medSubnet;
  ui::MaskEdit& medGateway;
  ui::MaskEdit& medDNSIP;
  ui::Edit& edtUsername;
  ui::Edit& edtPassword;
  ui::Edit& edtConfirmPass;

  // Wireless pages.
  ui::ComboBox& cbxWRadio;
  ui::Edit& edtSSID;
  ui::ComboBox& cbxWLCountry;
  ui::ComboBox& cbxChannel;
  ui::ComboBox& cbxEncryptType;
  ui::Edit& edtWPAKey;
  ui::ComboBox& cbxWlKeyIndex;
  ui::Image& imgWEPKey64;
  ui::Image& imgWEPKey128;
  ui::Image& imgWPAHex;
  ui::Image& imgWPAACSII;
  ui::Image& imgEncryptOptField;
  ui::Image& imgWirelessRemindSsidWarnMsg;
  ui::Image& imgRemindKey;
  ui::Label& lblSSID;
  ui::Label& lblWlKey;

  // Progress pages and completion pages.
  ui::ProgressBar& pbrCheckHWLink;
  ui::ProgressBar& pbrCheckSWLink;
  ui::ProgressBar& pbrInstallWlanDriver;
  ui::ProgressBar& pbrWlanInternetStat;
  ui::Label& lblPercent;
  ui::Image& imgInsCompleteBT;
  ui::Image& imgInsWLANUSB;
  ui::Image& imgInsBrowse;
  ui::Image& imgInsCompleteAloneBT;
  ui::Image& imgInsCompleteAloneBrowseBT;
  ui::Image& imgWlanInsCompleteBT;

  // The shared navigation pictures and the red frame.
  ui::Image& imgBackBT;
  ui::Image& imgExitBT;
  ui::Image& imgNextBT;
  ui::Panel& hPanel;

  // Timers, all disabled at creation.
  ui::Timer tmrCheckHWLinkTimer;
  ui::Timer tmrCheckHWLinkThread;
  ui::Timer tmrCheckSWLinkThread;
  ui::Timer tmrCheckSWLinkTimer;
  ui::Timer tmrInsWlanDriverThread;
  ui::Timer tmrInsWlanDriverTimer;
  ui::Timer tmrWlanInternetStatusTimer;
  ui::Timer tmrWlanInternetStatusThread;
  ui::Timer tmrCheckADSLLink;
  ui::Timer tmrEthernetCheck;
};

}  // namespace app
