#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "modem/protocol/control_header.h"

namespace quillon::modemsim {

// The faults the simulated firmware can show. Probabilities are from 0 (never) to 1 (always)
// and are drawn from a generator seeded with seed, so a run with the same settings and the
// same requests misbehaves the same way every time.
struct FaultSettings {
  uint64_t seed = 1;
  double drop = 0;           // a reply is lost (the request still took effect)
  uint32_t dropFirst = 0;    // the first N requests are lost before the firmware sees them
  uint32_t duplicates = 0;   // extra copies of every reply
  int64_t delayMs = 0;       // every reply leaves this long after its request
  double staleSequence = 0;  // a reply carries the sequence number before the right one
  double foreignMac = 0;     // a reply carries foreignMacAddress instead of the modem's
  modem::MacAddress foreignMacAddress = {0x02, 0x00, 0x00, 0x00, 0x0f, 0x0f};
  double malformedTokens = 0;  // a token reply loses its last ">", so one token goes missing
  double truncateRecords = 0;  // a record reply is cut to half the record
  bool noReturnAfterReboot = false;
};

// What a reply carries, so each fault touches only the replies it is about.
enum class ReplyKind { kTokens, kRecord, kAcknowledge };

struct OutgoingReply {
  std::vector<uint8_t> bytes;
  int64_t dueMs = 0;
};

class FaultInjector {
 public:
  explicit FaultInjector(const FaultSettings& settings);

  // True when the request is one of the first dropFirst and must be ignored.
  bool SwallowRequest();

  // Turns one correct reply into what actually leaves: nothing, or the reply and its
  // duplicates, each copy damaged or not on its own draw, each due at nowMs plus the delay.
  std::vector<OutgoingReply> Apply(std::vector<uint8_t> reply, ReplyKind kind, int64_t nowMs);

  const FaultSettings& settings() const { return settings_; }

 private:
  bool Draw(double probability);
  std::vector<uint8_t> Damage(std::vector<uint8_t> reply, ReplyKind kind);

  FaultSettings settings_;
  std::mt19937_64 random_;
  uint32_t requestsSeen_ = 0;
};

}  // namespace quillon::modemsim
