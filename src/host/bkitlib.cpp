#include "host/bkitlib.h"

#include <iterator>
#include <string>

namespace host {

const char* SecurityTypeName(std::int32_t securityType) {
  static constexpr const char* kNames[] = {"Disable", "64bit", "WPA-PSK"};
  if (securityType < 0 || securityType >= static_cast<std::int32_t>(std::size(kNames)))
    return nullptr;
  return kNames[securityType];
}

int saveWirelessProfile(const WlProfile& profile) {
  using platform::RegistryRoot;
  // A security type outside the table has no name to record; the adapter's utility would
  // misread anything we made up, so the write fails at that value instead.
  const char* securityName = SecurityTypeName(profile.securityType);
  if (!writeRegistryText(RegistryRoot::kCurrentUser, kProfileKey, "Ssid", profile.ssid) ||
      !writeRegistryText(RegistryRoot::kCurrentUser, kProfileKey, "Channel",
                         std::to_string(profile.channel)) ||
      !securityName ||
      !writeRegistryText(RegistryRoot::kCurrentUser, kProfileKey, "Sectype", securityName) ||
      !writeRegistryText(RegistryRoot::kCurrentUser, kProfileKey, "SecKey", profile.key))
    return kProfileWriteFailed;
  return kProfileSaved;
}

bool writeRegistryText(platform::RegistryRoot root, const std::string& path,
                       const std::string& valueName, const std::string& text) {
  return platform::CurrentRegistry().WriteText(root, path, valueName, text);
}

bool isAdapterSoftwareInstalled() {
  return platform::CurrentRegistry().KeyExists(platform::RegistryRoot::kLocalMachine,
                                               kAdapterUninstallKey);
}

std::string adapterInstallLocation() {
  auto location = platform::CurrentRegistry().ReadText(platform::RegistryRoot::kLocalMachine,
                                                       kAdapterUninstallKey, kInstallLocationValue,
                                                       kRegistryReadBuffer);
  return location.value_or(std::string());
}

}  // namespace host
