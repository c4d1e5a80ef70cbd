#pragma once

#include <cstdint>
#include <string>

namespace app {

// The wireless settings as recorded for the adapter's own utility.
struct WlProfile {
  std::string ssid;
  std::int32_t channel = 0;
  std::int32_t securityType = 0;
  std::string key;
};

// The connection values edited on the pages and exchanged with the modem.
struct PageValues {
  WlProfile wlProfile;
  std::string wanProtocol;
  std::string wanEncapsulation;
  std::string wanVpi;
  std::string wanVci;
  std::string wanPppUser;
  std::string wanPppPassword;
  std::string wanPppConfirm;
  std::string wanIpAddress;
  std::string wanSubnetMask;
  std::string wanGateway;
  std::string wanDnsServer;
  std::string wirelessSsid;
  std::string wirelessSecurity;
  std::string wirelessKey;
  std::string wirelessCountry;
  std::string wirelessChannel;
  std::string wirelessKeyIndex;
};

}  // namespace app
