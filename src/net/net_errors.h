#pragma once

#include <string>

namespace net {

// Error codes the components report for their own failures, beside the OS codes a socket
// passes on. They sit far above any OS error number so the two never collide; 0 is success.
enum NetError : int {
  kNetOk = 0,
  kNetTimedOut = 0x10001,
  kNetHostNotFound = 0x10002,
  kNetLookupFailed = 0x10003,
  kNetBadAddress = 0x10004,
  kNetBadPort = 0x10005,
  kNetBadProtocol = 0x10006,
  kNetNotOpen = 0x10007,
  kNetNoSocket = 0x10008,
  kNetSendFailed = 0x10009,
  kNetBadRequest = 0x1000A,
};

// A text for a log line: the component's own words for its codes, the system's for the rest.
std::string ErrorText(int error);

}  // namespace net
