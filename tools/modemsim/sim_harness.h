#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon::modemsim {

// Test support: runs modemsim as a separate process and talks to it over loopback UDP.

enum class SimSignal { kLineUp, kLineDown, kWriteState, kTerminate };

class SimProcess {
 public:
  // Starts the executable with args and waits up to timeoutMs for its "listening" line.
  // On failure gives nothing and says why in error.
  static std::unique_ptr<SimProcess> Start(const std::string& executable,
                                           const std::vector<std::string>& args, std::string& error,
                                           int timeoutMs = 5000);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  uint16_t port() const { return port_; }
  bool Send(SimSignal signal);
  // Asks the process to end (SIGTERM) and waits; gives its exit code, or nothing when it did
  // not end in time and had to be killed.
  std::optional<int> Stop(int timeoutMs = 3000);

 private:
  SimProcess(int pid, int output, uint16_t port) : pid_(pid), output_(output), port_(port) {}

  int pid_ = -1;
  int output_ = -1;
  uint16_t port_ = 0;
};

// A UDP socket on 127.0.0.1 that sends to one loopback port.
class LoopbackProbe {
 public:
  explicit LoopbackProbe(uint16_t port);
  ~LoopbackProbe();
  LoopbackProbe(const LoopbackProbe&) = delete;
  LoopbackProbe& operator=(const LoopbackProbe&) = delete;

  bool ok() const { return socket_ >= 0; }
  bool Send(const uint8_t* data, size_t length);
  // The next datagram, or nothing when none came within timeoutMs.
  std::optional<std::vector<uint8_t>> Receive(int timeoutMs);
  // Every datagram that arrives within windowMs.
  std::vector<std::vector<uint8_t>> ReceiveFor(int windowMs);

 private:
  int socket_ = -1;
  uint16_t port_ = 0;
};

}  // namespace quillon::modemsim
