#include <winsock2.h>
// The IP Helper headers need the socket types first.
#include <iphlpapi.h>
// The echo routines need the IP Helper types.
#include <icmpapi.h>

#include <vector>

#include "platform/icmp_echo.h"
#include "platform/socket_api.h"

namespace platform {
namespace {

class IcmpHandle {
 public:
  IcmpHandle() : handle_(::IcmpCreateFile()) {}
  ~IcmpHandle() {
    if (valid()) ::IcmpCloseHandle(handle_);
  }
  IcmpHandle(const IcmpHandle&) = delete;
  IcmpHandle& operator=(const IcmpHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

// The system's ICMP service sends and matches the echo itself, so the socket kind of the request
// has no meaning here and no raw socket is ever used.
EchoResult SendIcmpEcho(const EchoRequest& request) {
  EchoResult result;
  if (!sockets::EchoRequestInRange(request)) {
    result.status = EchoStatus::kBadRequest;
    return result;
  }
  IcmpHandle icmp;
  if (!icmp.valid()) {
    result.status = EchoStatus::kNoSocket;
    result.error = static_cast<int>(::GetLastError());
    return result;
  }
  std::vector<unsigned char> data(static_cast<std::size_t>(request.dataSize));
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i + 8);
  IP_OPTION_INFORMATION options{};
  options.Ttl = static_cast<UCHAR>(request.ttl);
  // Room for one reply with its data, and for an ICMP error that quotes our request.
  std::vector<unsigned char> replies(sizeof(ICMP_ECHO_REPLY) + data.size() + 8 + 64);
  const DWORD count = ::IcmpSendEcho(
      icmp.get(), htonl(request.address), data.data(), static_cast<WORD>(data.size()), &options,
      replies.data(), static_cast<DWORD>(replies.size()), static_cast<DWORD>(request.timeoutMs));
  if (count == 0) {
    const DWORD error = ::GetLastError();
    if (error == IP_REQ_TIMED_OUT || error == ERROR_TIMEOUT) {
      result.status = EchoStatus::kTimedOut;
    } else {
      result.status = EchoStatus::kSendFailed;
      result.error = static_cast<int>(error);
    }
    return result;
  }
  // An answer that is not an echo reply (unreachable, TTL expired) means no reply from the host.
  const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(replies.data());
  result.status = reply->Status == IP_SUCCESS ? EchoStatus::kReply : EchoStatus::kTimedOut;
  return result;
}

}  // namespace platform
