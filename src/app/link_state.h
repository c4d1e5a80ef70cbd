#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace app {

// Link states of the Ethernet and ADSL checks.
enum LinkState : std::int32_t {
  kLinkFailed = 0,
  kLinkUp = 1,
  kLinkChecking = 2,
  kLinkNotTested = 3,
};

// Process-wide values that several pages and the adapter flow share.
struct ProcessState {
  std::string modemAddress;  // the modem's address as the Ethernet check found it
  std::int32_t adslLinkState = kLinkNotTested;
  std::int32_t ethernetLinkState = kLinkNotTested;
  std::int32_t lastShownPage = 0;
  std::int32_t timerTicks = 0;
  std::uint8_t osKind = 0;
};

ProcessState& processState();

}  // namespace app
