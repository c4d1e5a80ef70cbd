#include "modem/protocol/reply_acceptance.h"

#include <cstring>
#include <initializer_list>

#include "modem/protocol/record_text.h"

namespace quillon::modem {

namespace {

constexpr size_t kDiscoveryTokens = 12;
constexpr size_t kLineRateTokens = 6;
constexpr size_t kWanStatusTokens = 2;

// Only the tokens a reader uses must have fitted the table: a long firmware version must not
// hide a healthy modem.
bool AllIntact(const TokenTable& tokens, std::initializer_list<size_t> used) {
  for (const size_t i : used)
    if (!tokens.Intact(i)) return false;
  return true;
}

}  // namespace

std::optional<ReplyView> SplitReply(const uint8_t* datagram, size_t length) {
  const std::optional<ControlHeader> header = DecodeControlHeader(datagram, length);
  if (!header) return std::nullopt;
  return ReplyView{*header, datagram + kHeaderSize, length - kHeaderSize};
}

std::optional<ReplyView> AcceptReply(const uint8_t* datagram, size_t length,
                                     SequenceWindow sequences, const MacAddress& targetMac,
                                     bool discoveryStep, ReplyRejection* why) {
  ReplyRejection rejection = ReplyRejection::kNone;
  std::optional<ReplyView> reply = SplitReply(datagram, length);
  if (!reply)
    rejection = ReplyRejection::kShort;
  else if (!sequences.Contains(reply->header.sequenceNumber))
    rejection = ReplyRejection::kStaleSequence;
  else if (!discoveryStep && reply->header.mac != targetMac)
    rejection = ReplyRejection::kForeignMac;
  else if (discoveryStep && !IsModemMac(reply->header.mac))
    rejection = ReplyRejection::kNoModemMac;
  if (why) *why = rejection;
  if (rejection != ReplyRejection::kNone) return std::nullopt;
  return reply;
}

// The group bit is the lowest bit of the first octet; the broadcast address has it too.
bool IsModemMac(const MacAddress& mac) {
  if ((mac[0] & 0x01) != 0) return false;
  for (const uint8_t octet : mac)
    if (octet != 0) return true;
  return false;
}

bool HasRecordTag(const uint8_t* payload, size_t length, std::string_view tag) {
  if (payload == nullptr || length < tag.size() + 1) return false;
  return std::memcmp(payload, tag.data(), tag.size()) == 0 && payload[tag.size()] == 0;
}

std::optional<DiscoveryReply> ReadDiscoveryReply(const TokenTable& tokens) {
  if (tokens.count != kDiscoveryTokens || !AllIntact(tokens, {5, 9, 11})) return std::nullopt;
  return DiscoveryReply{std::string(tokens.Token(5)), std::string(tokens.Token(9)),
                        std::string(tokens.Token(11))};
}

std::optional<bool> ReadLineRateReply(const TokenTable& tokens) {
  if (tokens.count != kLineRateTokens || !AllIntact(tokens, {0, 5})) return std::nullopt;
  if (tokens.Token(0) != "lineRateUp") return std::nullopt;
  return ReadDecimal(tokens.Token(5)) != 1;
}

std::optional<int32_t> ReadWanStatusReply(const TokenTable& tokens) {
  if (tokens.count != kWanStatusTokens || !AllIntact(tokens, {0, 1})) return std::nullopt;
  if (tokens.Token(0) != "wanStatus") return std::nullopt;
  return ReadDecimal(tokens.Token(1));
}

}  // namespace quillon::modem
