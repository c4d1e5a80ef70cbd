#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "modem/protocol/control_header.h"
#include "modem/protocol/token_text.h"

namespace quillon::modem {

// The WAN status value that means the connection is up.
inline constexpr int32_t kWanStatusUp = 6;

// A received datagram split into header and payload; the payload points into the datagram.
struct ReplyView {
  ControlHeader header;
  const uint8_t* payload = nullptr;
  size_t payloadLength = 0;
};

// Splits a datagram; nothing when it is shorter than the header.
std::optional<ReplyView> SplitReply(const uint8_t* datagram, size_t length);

// The sequence numbers of one step's sends: count numbers from its first request on, wrapping
// at 65535. A step that sent nothing has none.
struct SequenceWindow {
  uint16_t first = 0;
  uint16_t count = 0;

  bool Contains(uint16_t sequence) const { return static_cast<uint16_t>(sequence - first) < count; }
};

// Why AcceptReply turned a datagram down.
enum class ReplyRejection { kNone, kShort, kStaleSequence, kForeignMac, kNoModemMac };

// The header checks every reply passes: it carries the sequence number of one of the current
// step's sends and, outside the discovery step, the target modem's MAC address. In the discovery
// step any one modem's MAC is accepted (the caller then takes the reply's MAC as its target), but
// not the broadcast, a multicast or the all-zero address, which no modem has. The message code is
// the caller's check, since the awaited code depends on its state. *why, when given, tells the
// reason of a rejection.
std::optional<ReplyView> AcceptReply(const uint8_t* datagram, size_t length,
                                     SequenceWindow sequences, const MacAddress& targetMac,
                                     bool discoveryStep, ReplyRejection* why = nullptr);

// True for the address of one device: neither the all-zero address nor a group address (the
// broadcast included).
bool IsModemMac(const MacAddress& mac);

// A record reply starts with its tag text (kPvc1Tag, kWirelessTag) and the tag's zero byte.
bool HasRecordTag(const uint8_t* payload, size_t length, std::string_view tag);

// What a discovery reply tells: tokens 5, 9 and 11 of its twelve.
struct DiscoveryReply {
  std::string model;
  std::string password;
  std::string ipAddress;
};

// Each reader takes the tokens of a reply and gives nothing when the reply is malformed:
// the wrong token count, the wrong first token, or a token it reads cut because it did not fit.
std::optional<DiscoveryReply> ReadDiscoveryReply(const TokenTable& tokens);

// True when the line is up (token 5 reads as anything but 1).
std::optional<bool> ReadLineRateReply(const TokenTable& tokens);

// The WAN status (token 1).
std::optional<int32_t> ReadWanStatusReply(const TokenTable& tokens);

}  // namespace quillon::modem
