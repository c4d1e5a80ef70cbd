#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modem/protocol/modem_settings.h"

namespace modemctl {

struct CtlOptions {
  std::string destination = "255.255.255.255";
  uint16_t port = 65002;
  std::string settingsFile;
  bool lineRateAfterDiscovery = false;
  bool pvc1AfterLineRate = false;
  bool dnsAfterWanUp = true;
  quillon::modem::ModemSettings settings;
  std::vector<int32_t> states;
};

struct ParsedCtlOptions {
  CtlOptions options;
  bool help = false;
  std::string error;  // non-empty: bad usage
};

ParsedCtlOptions ParseCtlOptions(const std::vector<std::string>& args);

// Sets one modemSettings field by its name; false for an unknown field or a bad number.
bool SetSettingsField(quillon::modem::ModemSettings& settings, const std::string& assignment);

std::string CtlHelpText();

}  // namespace modemctl
