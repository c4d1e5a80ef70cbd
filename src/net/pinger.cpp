#include "net/pinger.h"

#include "net/ipv4_text.h"
#include "net/net_errors.h"

namespace net {

int SystemEchoService::Echo(std::uint32_t address, int dataSize, int timeoutMs, int ttl) {
  platform::EchoRequest request;
  request.address = address;
  request.dataSize = dataSize;
  request.timeoutMs = timeoutMs;
  request.ttl = ttl;
  request.socket = kind_;
  switch (platform::SendIcmpEcho(request).status) {
    case platform::EchoStatus::kReply:
      return kNetOk;
    case platform::EchoStatus::kTimedOut:
      return kNetTimedOut;
    case platform::EchoStatus::kNoSocket:
      return kNetNoSocket;
    case platform::EchoStatus::kSendFailed:
      return kNetSendFailed;
    case platform::EchoStatus::kBadRequest:
      break;
  }
  return kNetBadRequest;
}

Pinger::Pinger(std::shared_ptr<NameResolver> resolver, std::shared_ptr<EchoService> echo)
    : resolver_(std::move(resolver)), echo_(std::move(echo)) {}

int Pinger::Ping() {
  std::uint32_t address = 0;
  if (const std::optional<std::uint32_t> quad = ParseDottedQuad(Address)) {
    address = *quad;
  } else {
    const ResolveResult resolved = resolver_->Resolve(Address);
    if (resolved.error != kNetOk) return errorCode_ = resolved.error;
    address = resolved.address;
  }
  return errorCode_ = echo_->Echo(address, Size, Timeout, TTL);
}

std::unique_ptr<Pinger> MakeSystemPinger() {
  return std::make_unique<Pinger>(DefaultNameResolver(), std::make_shared<SystemEchoService>());
}

}  // namespace net
