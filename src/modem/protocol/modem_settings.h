#pragma once

#include <cstdint>
#include <string>

namespace quillon::modem {

// connectionType codes.
inline constexpr int32_t kConnectionPppoe = 0;
inline constexpr int32_t kConnectionPppoa = 1;
inline constexpr int32_t kConnectionBridge = 3;
inline constexpr int32_t kConnectionStaticIp = 8;
inline constexpr int32_t kConnectionDynamicIp = 9;

// wlSecurity values; an empty wlSecurity means "not set yet".
inline constexpr const char* kSecurityNone = "NONE";
inline constexpr const char* kSecurityWep64 = "WEP64";
inline constexpr const char* kSecurityWep128 = "WEP128";
inline constexpr const char* kSecurityPsk = "PSK";
inline constexpr const char* kSecurityPsk2 = "PSK2";

// The connection and wireless settings the engine holds: filled by the wizard before a set
// step, refilled from the modem by a query step.
struct ModemSettings {
  int32_t connectionType = 0;
  int32_t vpi = 0;
  int32_t vci = 0;
  int32_t encapsulation = 0;
  std::string pppUserName;
  std::string pppPassword;
  std::string ipAddress;
  std::string subnetMask;
  std::string gateway;
  std::string dnsServer;
  int32_t wlChannel = 0;
  std::string wlSsid;
  std::string wlKey;
  std::string wlSecurity;
  std::string wlCountryCode;
  int32_t wlKeyNumber = 0;

  bool operator==(const ModemSettings&) const = default;
};

}  // namespace quillon::modem
