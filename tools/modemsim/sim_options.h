#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fault_injector.h"
#include "firmware.h"

namespace quillon::modemsim {

inline constexpr uint16_t kDefaultPort = 65002;

struct SimOptions {
  std::string bindAddress = "0.0.0.0";
  uint16_t port = kDefaultPort;
  FirmwareSettings firmware;
  FaultSettings faults;
  std::string configFile;  // initial saved and factory configuration
  std::string stateFile;   // where the configuration is written
  std::string logFile;     // empty: standard error
};

struct ParsedOptions {
  SimOptions options;
  bool help = false;
  std::string error;  // empty when the command line was good
};

// Reads the command line (without the program name).
ParsedOptions ParseSimOptions(const std::vector<std::string>& args);

// The --help text: every option with its default.
std::string HelpText();

}  // namespace quillon::modemsim
