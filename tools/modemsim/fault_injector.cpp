#include "fault_injector.h"

#include <algorithm>

namespace quillon::modemsim {

FaultInjector::FaultInjector(const FaultSettings& settings)
    : settings_(settings), random_(settings.seed) {}

// A fault that is off draws nothing, so which replies misbehave depends only on the seed,
// the faults that are on and the requests that came in.
bool FaultInjector::Draw(double probability) {
  if (probability <= 0) return false;
  const double value = static_cast<double>(random_() >> 11) * 0x1.0p-53;
  return value < probability;
}

RequestFate FaultInjector::TakeRequest() {
  const uint32_t n = ++requestsSeen_;
  RequestFate fate;
  const uint32_t drop = settings_.lineDropAfter;
  if (drop > 0 && n == drop + 1) fate.lineUp = false;
  if (drop > 0 && settings_.lineDownFor > 0 && n == drop + 1 + settings_.lineDownFor)
    fate.lineUp = true;
  const uint32_t unplug = settings_.unplugAfter;
  const bool unplugged =
      unplug > 0 && n > unplug && (settings_.unplugFor == 0 || n <= unplug + settings_.unplugFor);
  fate.lost = n <= settings_.dropFirst || unplugged;
  return fate;
}

// Loss strikes the reply as a whole; every copy that does leave draws its own damage, so
// duplicates with a partial fault mix good and bad copies, as a flaky link would.
std::vector<OutgoingReply> FaultInjector::Apply(std::vector<uint8_t> reply, ReplyKind kind,
                                                int64_t nowMs) {
  lastHeld_ = false;
  if (Draw(settings_.drop)) return {};
  const int64_t due = nowMs + settings_.delayMs;
  std::vector<OutgoingReply> copies;
  for (uint32_t i = 0; i <= settings_.duplicates; ++i) {
    copies.push_back(Damage(reply, kind, due));
    if (i > 0) copies.back().faults += " duplicate";
  }
  // What was held back follows whatever leaves now, so it arrives out of order; a reply
  // held back in its turn waits for the next one.
  for (OutgoingReply& late : held_) late.faults += " reordered";
  std::vector<OutgoingReply> out;
  lastHeld_ = Draw(settings_.reorder);
  if (lastHeld_) {
    out.swap(held_);
    held_ = std::move(copies);
  } else {
    out = std::move(copies);
    for (OutgoingReply& late : held_) out.push_back(std::move(late));
    held_.clear();
  }
  for (OutgoingReply& copy : out) copy.dueMs = std::max(copy.dueMs, due);
  return out;
}

OutgoingReply FaultInjector::Damage(std::vector<uint8_t> reply, ReplyKind kind, int64_t dueMs) {
  std::string faults;
  if (reply.size() >= modem::kHeaderSize) {
    if (Draw(settings_.staleSequence)) {
      const uint16_t sequence = modem::ReadBe16(reply.data() + 8);
      modem::WriteBe16(reply.data() + 8, static_cast<uint16_t>(sequence - 1));
      faults += " stale-seq";
    }
    if (Draw(settings_.foreignMac)) {
      std::copy(settings_.foreignMacAddress.begin(), settings_.foreignMacAddress.end(),
                reply.begin());
      faults += " foreign-mac";
    }
  }
  if (kind == ReplyKind::kTokens && Draw(settings_.malformedTokens)) {
    const auto last = std::find(reply.rbegin(), reply.rend(), uint8_t{'>'});
    if (last != reply.rend()) *last = ' ';
    faults += " malformed-tokens";
  }
  if (kind == ReplyKind::kRecord && reply.size() >= modem::kHeaderSize &&
      Draw(settings_.truncateRecords)) {
    const size_t payload = reply.size() - modem::kHeaderSize;
    reply.resize(modem::kHeaderSize + payload / 2);
    faults += " truncated";
  }
  return {std::move(reply), dueMs, std::move(faults)};
}

}  // namespace quillon::modemsim
