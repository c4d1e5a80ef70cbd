#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/skin_keys.h"

namespace quillon::config {

// Picture file names, relative to the language folder, one slot per Picture key.
struct IMG_Location {
  std::array<std::string, kPictureSlotCount> files;
};

// The three Enabled/Visible texts of the settings file.
struct UI_Components {
  std::string dslCountryVisible;        // IMG_DSLCountry.Visible
  std::string countrySelectorVisible;   // CB_CountrySelector.Visible
  std::string wRadioSettingDlgEnabled;  // PL_WRadioSettingDlg.Enabled
};

// The program settings of the settings file, in the order of its key table.
struct Setup_Param {
  std::string AppliedModules;
  std::string ISPFileList;
  int32_t EnableLocalDHCP = 0;
  int32_t UseDSLConnectionTableEx = 0;
  int32_t CheckHWLinkByCmpNEQDSLLink = 0;
  int32_t WPAKeySupport = 0;
  int32_t PPPDisconnectBeforeReset = 0;
  int32_t DefaultTimeout = 0;
  int32_t DiscoverTimeout = 0;
  int32_t CheckHWLinkTimeout = 0;
  int32_t DSLSetTimeout = 0;
  int32_t StaticIPSetTimeout = 0;
  int32_t PPPSetTimeout = 0;
  int32_t WirelessSetTimeout = 0;
  int32_t ConfigSaveTimeout = 0;
  int32_t ConfigSavedWaitTime = 0;
  int32_t ResetWaitTime = 0;
  int32_t CheckSWLinkStatusTimes = 0;
  int32_t CheckSWLinkStatusInterval = 0;
  std::string InternetTestIPAddresses;
};

// Everything read from the settings file and from default.ini. Readers write into it in place
// and never clear it first.
struct systemConfig {
  std::array<int32_t, kLayoutSlotCount> layout{};
  IMG_Location pictures;
  UI_Components uiStates;
  Setup_Param setup;
  std::string supportUrl;
  std::string manualName;
  std::string qigName;
  std::string defaultPassword;
  int32_t defaultNumChannels = 0;
  std::string kxManualName;
  std::string kxQIGName;
  std::string defaultCountry;
  std::string defaultISP;
};

// The value of a (key, attribute) layout pair such as ("IMG_CloseBT", "Left"); 0 for a pair that
// has no slot.
int32_t layoutValue(const systemConfig& config, std::string_view key, std::string_view attribute);

// The file name of a Picture key; empty for a key that is not one.
const std::string& pictureFile(const systemConfig& config, std::string_view key);

// The text of an Enabled/Visible pair; empty for a pair that is not one.
const std::string& stateValue(const systemConfig& config, std::string_view key,
                              std::string_view attribute);
// The field that a state slot (see stateSlot) names, or null.
std::string* stateField(UI_Components& states, int slot);

// A setting by its key name; nullopt when the key is not a setting of that kind.
std::optional<int32_t> settingInt(const Setup_Param& setup, std::string_view key);
std::optional<std::string> settingText(const Setup_Param& setup, std::string_view key);

// The model name of AppliedModules: the text before the first ":", or all of it.
std::string_view appliedModelName(const Setup_Param& setup);

// Whether the model has a radio: the last three characters of AppliedModules, upper-cased, are
// "WAP" (a shorter text compares as a whole, so it never matches).
bool isWirelessModel(const Setup_Param& setup);

// Whether the wireless radio page is part of the wizard: only the exact text "true" says so.
bool radioPageEnabled(const systemConfig& config);

}  // namespace quillon::config
