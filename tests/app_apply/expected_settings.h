#pragma once

// What the modem and the registry must hold after the wizard applied the user's entries, written
// out by hand from the record layouts, not computed by the wizard's own encoders.
#include <map>
#include <string>

#include "modem/protocol/modem_settings.h"
#include "platform/registry.h"

namespace test_support {

using Fields = std::map<std::string, std::string>;
using namespace quillon::modem;

enum class Radio { kOn, kOff, kNone };
enum class Edition { kPlain, kEu, kKit };

// What the user chose on the wireless page: the display text of the security list (the EU
// profile lists other texts, and no 128-bit WEP or WPA2) and a key that fits it.
struct WirelessChoice {
  std::string code;  // the engine's wlSecurity
  std::string text;
  std::string key;
};
inline WirelessChoice ChoiceFor(std::string code, Edition edition) {
  const bool eu = edition == Edition::kEu;
  if (eu && (code == kSecurityWep128 || code == kSecurityPsk2)) code = kSecurityPsk;
  if (code == kSecurityNone) return {code, "None", ""};
  if (code == kSecurityWep64)
    return eu ? WirelessChoice{code, "WEP 64bit", "ab1x9"}
              : WirelessChoice{code, "WEP Key(64 bits)", "0123456789"};
  if (code == kSecurityWep128) return {code, "WEP Key(128 bits)", "0123456789abcdef0123456789"};
  if (code == kSecurityPsk) return {code, eu ? "WPA-PSK" : "WPA PSK", "correct horse battery"};
  return {code, "WPA2 PSK", "staple battery horse"};
}

// The wireless record the modem must keep for a choice: the security columns of the protocol.
inline Fields SavedWireless(const WirelessChoice& choice, const std::string& country = "GB") {
  Fields f = {{"wlChannel", "6"},
              {"wlSsid", "Garden Net"},
              {"wlCountryCode", country},
              {"wlKeyNumber", "1"},
              {"wlKey", ""},
              {"wlWpaPsk", ""},
              {"wlWpa", ""},
              {"wlKeyBit", "0"},
              {"wlWep", "disabled"}};
  if (choice.code == kSecurityNone) {
    f["wlKeyBit"] = "";
    f["wlAuthMode"] = "open";
  } else if (choice.code == kSecurityWep64 || choice.code == kSecurityWep128) {
    f["wlKeyBit"] = choice.code == kSecurityWep64 ? "1" : "0";
    f["wlKey"] = choice.key;
    f["wlWep"] = "enabled";
    f["wlAuthMode"] = "open";
  } else {
    f["wlWpaPsk"] = choice.key;
    f["wlWpa"] = choice.code == kSecurityPsk ? "tkip" : "aes";
    f["wlAuthMode"] = choice.code == kSecurityPsk ? "psk" : "psk2";
  }
  return f;
}

// The modem's own wireless record (kModemConfig) as the hardware check read it.
inline const Fields kModemWirelessRecord = {{"wlChannel", "11"},
                                            {"wlSsid", "Attic"},
                                            {"wlKeyBit", "0"},
                                            {"wlKey", ""},
                                            {"wlWpaPsk", "modem-passphrase"},
                                            {"wlWep", "disabled"},
                                            {"wlWpa", "aes"},
                                            {"wlAuthMode", "psk2"},
                                            {"wlCountryCode", "DE"},
                                            {"wlKeyNumber", "1"}};

inline std::string RegistryValue(const char* name) {
  return platform::CurrentRegistry()
      .ReadText(platform::RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon", name, 4096)
      .value_or("<missing>");
}

// The registry's security type name for an engine security code.
inline std::string RegistryTypeOf(const std::string& code) {
  if (code == kSecurityNone) return "Disable";
  if (code == kSecurityWep64 || code == kSecurityWep128) return "64bit";
  return "WPA-PSK";
}

}  // namespace test_support
