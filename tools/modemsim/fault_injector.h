#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
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
  double reorder = 0;  // a reply is held back and leaves right after the next reply
  // Counted in requests that reach the modem (every datagram with a header while it is not
  // rebooting), so a run in virtual time meets them at the same step every time.
  uint32_t unplugAfter = 0;    // the LAN cable is pulled after N requests: later ones are lost
  uint32_t unplugFor = 0;      // and plugged in again after this many lost requests; 0 never
  uint32_t lineDropAfter = 0;  // the DSL line drops after N requests
  uint32_t lineDownFor = 0;    // and comes back after this many more requests; 0 never
};

// What the faults do to one incoming request.
struct RequestFate {
  bool lost = false;           // it never reaches the firmware
  std::optional<bool> lineUp;  // the DSL line goes down (false) or up (true) just before it
};

// What a reply carries, so each fault touches only the replies it is about.
enum class ReplyKind { kTokens, kRecord, kAcknowledge };

struct OutgoingReply {
  std::vector<uint8_t> bytes;
  int64_t dueMs = 0;
  std::string faults;  // what was done to this copy, for the log; empty for a faithful copy
};

class FaultInjector {
 public:
  explicit FaultInjector(const FaultSettings& settings);

  // Counts one incoming request and tells what happens to it: lost (one of the first
  // dropFirst, or sent while the cable is out), and whether the line changes first.
  RequestFate TakeRequest();

  // Turns one correct reply into what actually leaves: nothing, or the reply and its
  // duplicates, each copy damaged or not on its own draw, each due at nowMs plus the delay.
  // A reply drawn for reordering is held back and leaves after the next one that goes out.
  std::vector<OutgoingReply> Apply(std::vector<uint8_t> reply, ReplyKind kind, int64_t nowMs);

  const FaultSettings& settings() const { return settings_; }
  // Whether the last reply given to Apply was held back rather than sent or lost.
  bool lastHeld() const { return lastHeld_; }

 private:
  bool Draw(double probability);
  OutgoingReply Damage(std::vector<uint8_t> reply, ReplyKind kind, int64_t dueMs);

  FaultSettings settings_;
  std::mt19937_64 random_;
  uint32_t requestsSeen_ = 0;
  std::vector<OutgoingReply> held_;
  bool lastHeld_ = false;
};

}  // namespace quillon::modemsim
