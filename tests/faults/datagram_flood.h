#pragma once

// A flood of junk and stale replies from a thread of its own, at a fixed rate, aimed at
// whatever port the UI thread last published: the engine reopens its socket for every run.
#include <atomic>
#include <cstdint>
#include <thread>

#include "modem/protocol/control_header.h"

namespace faults {

class DatagramFlood {
 public:
  // modemMac is the real modem's: stale replies carry it, so only the sequence number tells
  // them from a good reply.
  DatagramFlood(int perSecond, const quillon::modem::MacAddress& modemMac);
  ~DatagramFlood();
  DatagramFlood(const DatagramFlood&) = delete;
  DatagramFlood& operator=(const DatagramFlood&) = delete;

  void Start();
  void Stop();

  // Published by the UI thread: the engine's local port (0: hold fire) and the first sequence
  // number of its current step, below which every reply is stale.
  std::atomic<std::uint16_t> targetPort{0};
  std::atomic<std::uint16_t> engineSequence{0};

  long sent() const { return sent_; }
  long failed() const { return failed_; }
  double seconds() const { return seconds_; }

 private:
  void Run();

  int perSecond_;
  quillon::modem::MacAddress modemMac_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  long sent_ = 0;
  long failed_ = 0;
  double seconds_ = 0;
};

}  // namespace faults
