#pragma once

#include <cstdint>

namespace platform {

// Which kind of socket sends the echo request. kAuto tries the unprivileged ping socket first
// and falls back to a raw socket when the system refuses it.
enum class EchoSocket { kAuto, kPingOnly, kRawOnly };

struct EchoRequest {
  std::uint32_t address = 0;  // host byte order
  int dataSize = 56;          // bytes of data after the ICMP header
  int timeoutMs = 4000;
  int ttl = 64;
  EchoSocket socket = EchoSocket::kAuto;
};

enum class EchoStatus { kReply, kTimedOut, kNoSocket, kSendFailed, kBadRequest };

struct EchoResult {
  EchoStatus status = EchoStatus::kNoSocket;
  int error = 0;     // the OS error code behind kNoSocket or kSendFailed
  bool raw = false;  // the echo went through a raw socket
};

// Sends one ICMP echo request and waits up to timeoutMs for its reply. Blocking.
EchoResult SendIcmpEcho(const EchoRequest& request);

}  // namespace platform
