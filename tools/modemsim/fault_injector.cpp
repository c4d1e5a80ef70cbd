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

bool FaultInjector::SwallowRequest() {
  if (requestsSeen_ >= settings_.dropFirst) return false;
  ++requestsSeen_;
  return true;
}

// Loss strikes the reply as a whole; every copy that does leave draws its own damage, so
// duplicates with a partial fault mix good and bad copies, as a flaky link would.
std::vector<OutgoingReply> FaultInjector::Apply(std::vector<uint8_t> reply, ReplyKind kind,
                                                int64_t nowMs) {
  if (Draw(settings_.drop)) return {};
  std::vector<OutgoingReply> copies;
  for (uint32_t i = 0; i <= settings_.duplicates; ++i)
    copies.push_back({Damage(reply, kind), nowMs + settings_.delayMs});
  return copies;
}

std::vector<uint8_t> FaultInjector::Damage(std::vector<uint8_t> reply, ReplyKind kind) {
  if (reply.size() >= modem::kHeaderSize) {
    if (Draw(settings_.staleSequence)) {
      const uint16_t sequence = modem::ReadBe16(reply.data() + 8);
      modem::WriteBe16(reply.data() + 8, static_cast<uint16_t>(sequence - 1));
    }
    if (Draw(settings_.foreignMac))
      std::copy(settings_.foreignMacAddress.begin(), settings_.foreignMacAddress.end(),
                reply.begin());
  }
  if (kind == ReplyKind::kTokens && Draw(settings_.malformedTokens)) {
    const auto last = std::find(reply.rbegin(), reply.rend(), uint8_t{'>'});
    if (last != reply.rend()) *last = ' ';
  }
  if (kind == ReplyKind::kRecord && reply.size() >= modem::kHeaderSize &&
      Draw(settings_.truncateRecords)) {
    const size_t payload = reply.size() - modem::kHeaderSize;
    reply.resize(modem::kHeaderSize + payload / 2);
  }
  return reply;
}

}  // namespace quillon::modemsim
