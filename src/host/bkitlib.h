#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/wl_profile.h"
#include "platform/registry.h"

namespace host {

// Where the wizard leaves the wireless profile, and where the adapter software records itself.
inline constexpr const char* kProfileKey = "Software\\Norvane\\Quillon";
inline constexpr const char* kAdapterUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "{5B0D7E21-3C94-4F6A-9A1E-7D22C4E8B913}";
inline constexpr const char* kInstallLocationValue = "InstallLocation";
// Registry texts are read into a buffer of this many bytes, terminating NUL included.
inline constexpr std::size_t kRegistryReadBuffer = 100;

inline constexpr int kProfileSaved = 0;
inline constexpr int kProfileWriteFailed = 101;

// "Disable", "64bit" or "WPA-PSK" for 0, 1 and 2; nullptr for any other value.
const char* SecurityTypeName(std::int32_t securityType);

// Writes Ssid, Channel, Sectype and SecKey under the current user's profile key, in that order,
// and stops at the first value that cannot be written: kProfileSaved or kProfileWriteFailed.
int saveWirelessProfile(const WlProfile& profile);

bool writeRegistryText(platform::RegistryRoot root, const std::string& path,
                       const std::string& valueName, const std::string& text);

bool isAdapterSoftwareInstalled();

// The adapter software's installation folder; empty when it is not recorded or does not fit the
// read buffer.
std::string adapterInstallLocation();

}  // namespace host
