#include "config/skin_keys.h"

#include <array>

#include "config/name_index.h"

namespace quillon::config {
namespace {

constexpr std::array<LayoutKey, kLayoutKeyCount> kLayoutKeys = {{
    // Main menu.
    {"IMG_ViewManualBT", false},
    {"IMG_ViewQIGBT", false},
    {"IMG_AcrobatBT", false},
    {"IMG_TechnicalSupportBT", false},
    {"IMG_QuickInstallBT", false},
    {"IMG_CloseBT", false},
    {"IMG_ViewKXManualBT", false},
    {"IMG_ViewKXQIGBT", false},
    {"IMG_InstallKXU", false},
    {"CB_Languages", true},
    // Power, Ethernet and ADSL link help pages.
    {"IMG_PowerLinkHelpDlgBackBT", false},
    {"IMG_PowerLinkHelpDlgNextBT", false},
    {"IMG_PowerLinkHelpDlgExitBT", false},
    {"IMG_EthernetLinkHelpDlgBackBT", false},
    {"IMG_EthernetLinkHelpDlgNextBT", false},
    {"IMG_EthernetLinkHelpDlgExitBT", false},
    {"IMG_ADSLLinkHelpDlgBackBT", false},
    {"IMG_ADSLLinkHelpDlgNextBT", false},
    {"IMG_ADSLLinkHelpDlgExitBT", false},
    // Hardware link check.
    {"PB_CheckHWLinkStatus", true},
    // ISP selection.
    {"IMG_DSLCountry", false},
    {"IMG_DSLISP", false},
    {"IMG_DSLProtocol", false},
    {"IMG_DSLEncapulation", false},
    {"IMG_DSLVPI", false},
    {"IMG_DSLVCI", false},
    {"IMG_DSLMTU", false},
    {"IMG_DSLNotice", false},
    {"CB_CountrySelector", false},
    {"CB_ISPSelector", false},
    {"CB_DSLProtocol", false},
    {"CB_DSLEncapulation", false},
    {"ED_DSLVPI", false},
    {"ED_DSLVCI", false},
    {"ED_DSLMTU", false},
    {"IMG_ISPSelectionDlgBackBT", false},
    {"IMG_ISPSelectionDlgNextBT", false},
    {"IMG_ISPSelectionDlgExitBT", false},
    // Static IP.
    {"PL_WANIPAddressEdit", false},
    {"PL_SubnetNetmaskEdit", false},
    {"PL_GatewayAddressEdit", false},
    {"PL_DNSIPAddressEdit", false},
    {"IMG_StaticIPSettingDlgBackBT", false},
    {"IMG_StaticIPSettingDlgNextBT", false},
    {"IMG_StaticIPSettingDlgExitBT", false},
    // PPP.
    {"ED_PPPUsername", false},
    {"ED_PPPPassword", false},
    {"ED_PPPConfirmPassword", false},
    {"IMG_PPPSettingDlgBackBT", false},
    {"IMG_PPPSettingDlgNextBT", false},
    {"IMG_PPPSettingDlgExitBT", false},
    // Wireless radio.
    {"CB_WRadio", false},
    {"IMG_WRadioSettingDlgBackBT", false},
    {"IMG_WRadioSettingDlgNextBT", false},
    {"IMG_WRadioSettingDlgExitBT", false},
    // Wireless settings.
    {"IMG_WEPKey64Help", false},
    {"IMG_WEPKey128Help", false},
    {"IMG_WPAKeyHexHelp", false},
    {"IMG_WPAKeyASCHelp", false},
    {"IMG_EncryptOptField", false},
    {"ED_SSID", false},
    {"CB_WLCountry", false},
    {"CB_Channel", false},
    {"CB_EncryptionType", false},
    {"ED_EncryptionKey", false},
    {"CB_WLKeyIndex", false},
    {"IMG_WirelessSettingDlgBackBT", false},
    {"IMG_WirelessSettingDlgNextBT", false},
    {"IMG_WirelessSettingDlgExitBT", false},
    // SSID reminder.
    {"IMG_WirelessRemindSsidWarnMsg", false},
    {"LBL_SSID", false},
    {"LBL_WLKey", false},
    {"IMG_WirelessRemindKey", false},
    {"IMG_WirelessRemindSsidBackBT", false},
    {"IMG_WirelessRemindSsidNextBT", false},
    {"IMG_WirelessRemindSsidExitBT", false},
    // Software link check.
    {"PB_CheckSWLinkStatus", true},
    {"LB_CheckSWLinkStatusProgressPercent", false},
    // Installation complete.
    {"IMG_InstallCompleteDlgOKBT", false},
    {"IMG_InstallWLANUSBBT", false},
    {"IMG_InstallBROWSEBT", false},
    {"IMG_InstallCompleteDlgAloneOKBT", false},
    {"IMG_InstallCompleteDlgAloneBrowseBT", false},
    // Wireless USB adapter.
    {"IMG_EthernetRemoveDlgBackBT", false},
    {"IMG_EthernetRemoveDlgNextBT", false},
    {"IMG_EthernetRemoveDlgExitBT", false},
    {"IMG_WlanUsbCheckDlgBackBT", false},
    {"IMG_WlanUsbCheckDlgNextBT", false},
    {"IMG_WlanUsbCheckDlgExitBT", false},
    {"PB_InstallWlanDriverStatus", true},
    {"PB_WlanInternetStatus", true},
    {"IMG_WlanInstallCompleteDlgOKBT", false},
}};

constexpr std::array<std::string_view, kPictureKeyCount> kPictureKeys = {
    // Main menu.
    "IMG_MainMenuDlgBG", "IMG_ViewManualBT", "IMG_ViewQIGBT", "IMG_AcrobatBT",
    "IMG_TechnicalSupportBT", "IMG_QuickInstallBT", "IMG_CloseBT", "IMG_ViewKXManualBT",
    "IMG_ViewKXQIGBT", "IMG_InstallKXU",
    // Power, Ethernet and ADSL link help pages.
    "IMG_PowerLinkHelpDlgBG", "IMG_PowerLinkHelpDlgBackBT", "IMG_PowerLinkHelpDlgNextBT",
    "IMG_PowerLinkHelpDlgExitBT", "IMG_EthernetLinkHelpDlgBG", "IMG_EthernetLinkHelpDlgBackBT",
    "IMG_EthernetLinkHelpDlgNextBT", "IMG_EthernetLinkHelpDlgExitBT", "IMG_ADSLLinkHelpDlgBG",
    "IMG_ADSLLinkHelpDlgBackBT", "IMG_ADSLLinkHelpDlgNextBT", "IMG_ADSLLinkHelpDlgExitBT",
    // Hardware link check.
    "IMG_CheckHWLinkStatusDlgBG",
    // ISP selection.
    "IMG_ISPSelectionDlgBG", "IMG_DSLCountry", "IMG_DSLISP", "IMG_DSLProtocol",
    "IMG_DSLEncapulation", "IMG_DSLVPI", "IMG_DSLVCI", "IMG_DSLMTU", "IMG_DSLNotice",
    "IMG_DSLProtocol_grey", "IMG_DSLEncapulation_grey", "IMG_DSLVPI_grey", "IMG_DSLVCI_grey",
    "IMG_DSLNotice_grey", "IMG_ISPSelectionDlgBackBT", "IMG_ISPSelectionDlgNextBT",
    "IMG_ISPSelectionDlgExitBT",
    // Static IP.
    "IMG_StaticIPSettingDlgBG", "IMG_StaticIPSettingDlgBackBT", "IMG_StaticIPSettingDlgNextBT",
    "IMG_StaticIPSettingDlgExitBT",
    // PPP.
    "IMG_PPPSettingDlgBG", "IMG_PPPSettingDlgBackBT", "IMG_PPPSettingDlgNextBT",
    "IMG_PPPSettingDlgExitBT",
    // Wireless radio.
    "IMG_WRadioSettingDlgBG", "IMG_WRadioSettingDlgBackBT", "IMG_WRadioSettingDlgNextBT",
    "IMG_WRadioSettingDlgExitBT",
    // Wireless settings.
    "IMG_WirelessSettingDlgBG", "IMG_WEPKey64Help", "IMG_WEPKey128Help", "IMG_WPAKeyHexHelp",
    "IMG_WPAKeyASCHelp", "IMG_WEPField", "IMG_WPAField", "IMG_WirelessSettingDlgBackBT",
    "IMG_WirelessSettingDlgNextBT", "IMG_WirelessSettingDlgExitBT",
    // SSID reminder.
    "IMG_WirelessRemindSsidDlgBG", "IMG_WirelessRemindSsidWarnMsg", "IMG_WirelessRemindWEPKeyField",
    "IMG_WirelessRemindWPAKeyField", "IMG_WirelessRemindSsidBackBT", "IMG_WirelessRemindSsidNextBT",
    "IMG_WirelessRemindSsidExitBT",
    // Software link check.
    "IMG_CheckSWLinkStatusDlgBG",
    // Installation complete.
    "IMG_InstallCompleteDlgBG", "IMG_InstallCompleteDlgOKBT", "IMG_InstallWLANUSBBT",
    "IMG_InstallBROWSEBT", "IMG_InstallCompleteDlgAloneBG", "IMG_InstallCompleteDlgAloneOKBT",
    "IMG_InstallCompleteDlgAloneBrowseBT",
    // Wireless USB adapter.
    "IMG_EthernetRemoveDlgBG", "IMG_EthernetRemoveDlgBackBT", "IMG_EthernetRemoveDlgNextBT",
    "IMG_EthernetRemoveDlgExitBT", "IMG_WlanUsbCheckDlgBG", "IMG_WlanUsbCheckDlgBackBT",
    "IMG_WlanUsbCheckDlgNextBT", "IMG_WlanUsbCheckDlgExitBT", "IMG_InstallWlanDriverDlgBG",
    "IMG_WlanInternetStatDlgBG", "IMG_WlanInstallCompleteDlgBG", "IMG_WlanInstallCompleteDlgOKBT"};

constexpr std::array<StateKey, kStateKeyCount> kStateKeys = {{
    {"IMG_DSLCountry", "Visible"},
    {"CB_CountrySelector", "Visible"},
    {"PL_WRadioSettingDlg", "Enabled"},
}};

constexpr std::array<std::string_view, kLayoutKeyCount> layoutNames() {
  std::array<std::string_view, kLayoutKeyCount> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = kLayoutKeys[i].name;
  return names;
}

// The slots of a key follow those of the key before it: two, or three with Width.
constexpr std::array<int, kLayoutKeyCount + 1> firstSlots() {
  std::array<int, kLayoutKeyCount + 1> first{};
  for (std::size_t i = 0; i < kLayoutKeys.size(); ++i)
    first[i + 1] = first[i] + (kLayoutKeys[i].hasWidth ? 3 : 2);
  return first;
}

constexpr NameIndex<kLayoutKeyCount> kLayoutIndex(layoutNames());
constexpr NameIndex<kPictureKeyCount> kPictureIndex(kPictureKeys);
constexpr std::array<int, kLayoutKeyCount + 1> kFirstSlot = firstSlots();

static_assert(kLayoutIndex.wellFormed(), "a layout key is missing or listed twice");
static_assert(kPictureIndex.wellFormed(), "a picture key is missing or listed twice");
static_assert(kFirstSlot[kLayoutKeyCount] == kLayoutSlotCount, "layout slots do not add up");

}  // namespace

std::span<const LayoutKey> layoutKeys() {
  return kLayoutKeys;
}
std::span<const std::string_view> pictureKeys() {
  return kPictureKeys;
}
std::span<const StateKey> stateKeys() {
  return kStateKeys;
}

int layoutSlot(std::string_view key, std::string_view attribute) {
  const int k = kLayoutIndex.find(key);
  if (k < 0) return -1;
  if (attribute == "Left") return kFirstSlot[k];
  if (attribute == "Top") return kFirstSlot[k] + 1;
  if (attribute == "Width" && kLayoutKeys[k].hasWidth) return kFirstSlot[k] + 2;
  return -1;
}

int pictureSlot(std::string_view key) {
  return kPictureIndex.find(key);
}

int stateSlot(std::string_view key, std::string_view attribute) {
  for (std::size_t i = 0; i < kStateKeys.size(); ++i)
    if (kStateKeys[i].name == key && kStateKeys[i].attribute == attribute)
      return static_cast<int>(i);
  return -1;
}

}  // namespace quillon::config
