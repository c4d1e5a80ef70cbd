#pragma once

#include <cstdint>
#include <string>

#include "host/wl_profile.h"

namespace app {

// The connection values edited on the pages and exchanged with the modem.
struct PageValues {
  host::WlProfile wlProfile;
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
