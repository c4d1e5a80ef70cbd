#pragma once

// What the fault tables of both checks share: the second modem, how many runs a row makes and
// how many of them may or must succeed, and the message a failed step must show.
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "modem/engine/engine_states.h"

namespace faults {

// A second modem on the segment: none, one that answers 200 ms after ours (so ours is taken),
// or one whose own answers are prompt while ours are 200 ms late (so it is taken).
enum class Foreign { kNone, kAnswersLater, kAnswersFirst };

inline const std::vector<std::string> kForeignIdentity = {"--mac", "02:00:00:51:20:99"};
inline constexpr const char* kLateBy = "200";

// Lines of the simulator's log that show a fault at work.
inline constexpr const char* kLost = "reply lost (drop)";
inline constexpr const char* kLineDown = "line is down";
inline constexpr const char* kUnplugged = "unplugged";

struct FaultRow {
  const char* name;
  std::vector<std::string> faults;  // modemsim arguments for our modem
  int runs = 1;                     // runs of the check, one after the other
  int minPassed = 0;                // of them, how many must reach the next page at least
  int maxPassed = 0;                // and at most
  int message = 0;                  // when every run must fail: the one message all show
  Foreign foreign = Foreign::kNone;
  std::vector<std::string> foreignFaults = {};  // and the second modem's own arguments
  // A line our modem's log must hold afterwards, proof that the fault really struck.
  const char* trace = nullptr;
};
inline void PrintTo(const FaultRow& row, std::ostream* os) {
  *os << row.name;
}

// Rows whose every run must succeed, or must fail with `message`.
inline FaultRow Passes(const char* name, std::vector<std::string> faults,
                       const char* trace = nullptr) {
  return {
      .name = name, .faults = std::move(faults), .minPassed = 1, .maxPassed = 1, .trace = trace};
}
inline FaultRow Fails(const char* name, std::vector<std::string> faults, int message,
                      const char* trace = nullptr) {
  return {.name = name, .faults = std::move(faults), .message = message, .trace = trace};
}
// Random faults: several runs in a row against the same modem (its fault generator goes on),
// at least minPassed of them successful.
inline FaultRow Random(const char* name, std::vector<std::string> faults, int runs, int minPassed,
                       const char* trace) {
  return {.name = name,
          .faults = std::move(faults),
          .runs = runs,
          .minPassed = minPassed,
          .maxPassed = runs,
          .trace = trace};
}

// The application message the hardware link check shows for a run that ended in `state`.
inline int HardwareCheckMessage(std::int32_t state) {
  return state == quillon::modem::STATE_QUERY_LINERATE ? 6 : 5;
}

// The application message the software link check shows for a run that ended in `state`.
inline int SoftwareCheckMessage(std::int32_t state) {
  using namespace quillon::modem;
  if (state == STATE_DISCOVERY || state == STATE_CMD_SAVEREBOOT) return 5;
  if (state == STATE_QUERY_LINERATE) return 6;
  return 7;
}

}  // namespace faults
