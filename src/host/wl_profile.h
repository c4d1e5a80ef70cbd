#pragma once

#include <cstdint>
#include <string>

namespace host {

// The wireless settings given to the router, as recorded for the wireless adapter's utility.
struct WlProfile {
  std::string ssid;
  std::int32_t channel = 0;
  std::int32_t securityType = 0;  // 0 none, 1 WEP, 2 WPA (see SecurityTypeName)
  std::string key;                // empty when securityType is 0

  bool operator==(const WlProfile&) const = default;
};

}  // namespace host
