#include "config/setting_keys.h"

#include <array>

#include "config/name_index.h"

namespace quillon::config {
namespace {

using P = Setup_Param;

constexpr SettingKey text(std::string_view name, std::string P::*field) {
  return {name, field, nullptr};
}
constexpr SettingKey number(std::string_view name, int32_t P::*field) {
  return {name, nullptr, field};
}

constexpr std::array<SettingKey, kSettingKeyCount> kSettingKeys = {
    text("AppliedModules", &P::AppliedModules),
    text("ISPFileList", &P::ISPFileList),
    number("EnableLocalDHCP", &P::EnableLocalDHCP),
    number("UseDSLConnectionTableEx", &P::UseDSLConnectionTableEx),
    number("CheckHWLinkByCmpNEQDSLLink", &P::CheckHWLinkByCmpNEQDSLLink),
    number("WPAKeySupport", &P::WPAKeySupport),
    number("PPPDisconnectBeforeReset", &P::PPPDisconnectBeforeReset),
    number("DefaultTimeout", &P::DefaultTimeout),
    number("DiscoverTimeout", &P::DiscoverTimeout),
    number("CheckHWLinkTimeout", &P::CheckHWLinkTimeout),
    number("DSLSetTimeout", &P::DSLSetTimeout),
    number("StaticIPSetTimeout", &P::StaticIPSetTimeout),
    number("PPPSetTimeout", &P::PPPSetTimeout),
    number("WirelessSetTimeout", &P::WirelessSetTimeout),
    number("ConfigSaveTimeout", &P::ConfigSaveTimeout),
    number("ConfigSavedWaitTime", &P::ConfigSavedWaitTime),
    number("ResetWaitTime", &P::ResetWaitTime),
    number("CheckSWLinkStatusTimes", &P::CheckSWLinkStatusTimes),
    number("CheckSWLinkStatusInterval", &P::CheckSWLinkStatusInterval),
    text("InternetTestIPAddresses", &P::InternetTestIPAddresses),
};

constexpr std::array<std::string_view, kSettingKeyCount> settingNames() {
  std::array<std::string_view, kSettingKeyCount> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = kSettingKeys[i].name;
  return names;
}

constexpr NameIndex<kSettingKeyCount> kSettingIndex(settingNames());
static_assert(kSettingIndex.wellFormed(), "a setting is missing or listed twice");

}  // namespace

std::span<const SettingKey> settingKeys() {
  return kSettingKeys;
}

const SettingKey* findSettingKey(std::string_view name) {
  const int i = kSettingIndex.find(name);
  return i < 0 ? nullptr : &kSettingKeys[static_cast<std::size_t>(i)];
}

}  // namespace quillon::config
