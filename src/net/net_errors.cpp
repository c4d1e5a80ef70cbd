#include "net/net_errors.h"

#include <system_error>

namespace net {

std::string ErrorText(int error) {
  switch (error) {
    case kNetTimedOut:
      return "timed out";
    case kNetHostNotFound:
      return "host not found";
    case kNetLookupFailed:
      return "lookup failed";
    case kNetBadAddress:
      return "not an IPv4 address";
    case kNetBadPort:
      return "not a port number";
    case kNetBadProtocol:
      return "not UDP";
    case kNetNotOpen:
      return "socket not open";
    case kNetNoSocket:
      return "no socket";
    case kNetSendFailed:
      return "send failed";
    case kNetBadRequest:
      return "bad request";
    default:
      // The system category speaks the OS's own language: errno texts here, the Winsock
      // texts of FormatMessage on Windows.
      return std::system_category().message(error) + " (" + std::to_string(error) + ")";
  }
}

}  // namespace net
