#pragma once

// Requests and reply readers shared by the simulator's tests.
#include <cstdint>
#include <optional>
#include <vector>

#include "modem/protocol/reply_acceptance.h"
#include "modem/protocol/requests.h"
#include "modem/protocol/token_text.h"

namespace quillon::modemsim::test {

using Bytes = std::vector<uint8_t>;

inline constexpr modem::MacAddress kSimMac = {0x02, 0x00, 0x00, 0x51, 0x20, 0x01};

inline Bytes RequestBytes(const modem::Request& request, uint16_t sequence,
                          const modem::MacAddress& target = kSimMac) {
  const modem::Datagram datagram = modem::AssembleDatagram(target, request, sequence);
  return Bytes(datagram.bytes.begin(), datagram.bytes.begin() + datagram.length);
}

inline Bytes DiscoverBytes(uint16_t sequence) {
  return RequestBytes(modem::DiscoverRequest(), sequence, modem::kDiscoveryMac);
}

inline modem::TokenTable ReplyTokens(const Bytes& reply) {
  if (reply.size() < modem::kHeaderSize) return {};
  return modem::Tokenize(reply.data() + modem::kHeaderSize, reply.size() - modem::kHeaderSize);
}

inline uint16_t ReplyCode(const Bytes& reply) {
  return modem::ReadBe16(reply.data() + 6);
}
inline uint16_t ReplySequence(const Bytes& reply) {
  return modem::ReadBe16(reply.data() + 8);
}

inline modem::MacAddress ReplyMac(const Bytes& reply) {
  modem::MacAddress mac{};
  for (size_t i = 0; i < mac.size(); ++i) mac[i] = reply[i];
  return mac;
}

inline std::optional<int32_t> WanStatusOf(const Bytes& reply) {
  return modem::ReadWanStatusReply(ReplyTokens(reply));
}

}  // namespace quillon::modemsim::test
