// The receive path of a reply: the first three input bytes choose the current sequence number
// and whether discovery is under way, the rest is the datagram as received (at most 1024
// bytes). Everything a receiver does with an accepted reply runs on it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/reply_acceptance.h"
#include "modem/protocol/wireless_record.h"

using namespace quillon::modem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const auto sequence = static_cast<uint16_t>((data[0] << 8) | data[1]);
  const bool discoveryStep = (data[2] & 1) != 0;
  const std::vector<uint8_t> datagram(data + 3, data + 3 + std::min(size - 3, kReceiveBufferSize));
  constexpr MacAddress kTarget = {0x02, 0x00, 0x00, 0x51, 0x20, 0x01};
  const std::optional<ReplyView> reply = AcceptReply(
      datagram.data(), datagram.size(), SequenceWindow{sequence, 1}, kTarget, discoveryStep);
  if (!reply) return 0;
  if (reply->header.sequenceNumber != sequence) __builtin_trap();
  if (!discoveryStep && reply->header.mac != kTarget) __builtin_trap();
  ModemSettings settings;
  if (HasRecordTag(reply->payload, reply->payloadLength, kPvc1Tag)) {
    if (const auto record = DecodePvc1Record(reply->payload, reply->payloadLength))
      ApplyPvc1Record(*record, settings);
  } else if (HasRecordTag(reply->payload, reply->payloadLength, kWirelessTag)) {
    if (const auto record = DecodeWirelessRecord(reply->payload, reply->payloadLength))
      ApplyWirelessRecord(*record, settings);
  } else {
    const TokenTable tokens = Tokenize(reply->payload, reply->payloadLength);
    ReadDiscoveryReply(tokens);
    ReadLineRateReply(tokens);
    ReadWanStatusReply(tokens);
  }
  return 0;
}
