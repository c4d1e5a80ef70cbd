#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/name_resolver.h"
#include "platform/icmp_echo.h"

namespace net {

// Sends one ICMP echo request and waits for its reply: kNetOk when it came in time, another
// code otherwise. Blocking; implementations may be called from any thread.
class EchoService {
 public:
  virtual ~EchoService() = default;
  virtual int Echo(std::uint32_t address, int dataSize, int timeoutMs, int ttl) = 0;
};

// The system's echo: an unprivileged ping socket, or a raw socket where that is refused.
class SystemEchoService : public EchoService {
 public:
  explicit SystemEchoService(platform::EchoSocket kind = platform::EchoSocket::kAuto)
      : kind_(kind) {}
  int Echo(std::uint32_t address, int dataSize, int timeoutMs, int ttl) override;

 private:
  platform::EchoSocket kind_;
};

// The blocking ICMP echo component: set Address (a dotted quad, or a host name that the
// resolver looks up first), Size, Timeout and TTL, call Ping, read the error code. One thread
// at a time uses it.
class Pinger {
 public:
  Pinger(std::shared_ptr<NameResolver> resolver, std::shared_ptr<EchoService> echo);

  std::string Address;
  int Size = 56;
  int Timeout = 4000;  // milliseconds
  int TTL = 64;

  // Resolves and pings; returns ErrorCode(): kNetOk when an echo reply arrived in time.
  int Ping();
  int ErrorCode() const { return errorCode_; }

 private:
  std::shared_ptr<NameResolver> resolver_;
  std::shared_ptr<EchoService> echo_;
  int errorCode_ = 0;
};

// A pinger on the system's resolver (with its deadline) and echo.
std::unique_ptr<Pinger> MakeSystemPinger();

}  // namespace net
