#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "modem/protocol/control_header.h"
#include "modem/protocol/modem_settings.h"

namespace quillon::modem {

// Query tags and command names.
inline constexpr std::string_view kQueryLineRate = "<lineRate>";
inline constexpr std::string_view kQueryPvc1 = "<pvc1>";
inline constexpr std::string_view kQueryWireless = "<wireless>";
inline constexpr std::string_view kQueryWanStatus = "<wanStatus>";
inline constexpr std::string_view kCommandSaveReboot = "saveReboot";
inline constexpr std::string_view kCommandRebootDefault = "rebootDefault";

// A request before the header is put on: its message code and payload.
struct Request {
  uint16_t code = 0;
  std::array<uint8_t, kMaxPayloadSize> payload{};
  size_t payloadLength = 0;
};

// One datagram as it goes on the wire; bytes past length are zero.
struct Datagram {
  std::array<uint8_t, kSendBufferSize> bytes{};
  size_t length = 0;
};

// Discovery: code 1, the empty text. Send it to kDiscoveryMac.
Request DiscoverRequest();

// A query for one of the kQuery* tags: code 3, the tag and its zero byte.
Request QueryRequest(std::string_view tag);

// Set the connection settings: code 5, a pvc1Record.
Request SetPvc1Request(const ModemSettings& settings);

// Set the wireless settings: code 5, a wirelessRecord; nothing when wlSecurity is empty.
std::optional<Request> SetWirelessRequest(const ModemSettings& settings);

// A command such as kCommandSaveReboot: code 7, "<name>" and its zero byte. A name too long
// for the payload is cut so the frame and its zero byte still fit.
Request CommandRequest(std::string_view name);

// Puts the header before the payload: zero-filled, padded to kMinDatagramSize.
Datagram AssembleDatagram(const MacAddress& target, const Request& request,
                          uint16_t sequenceNumber);

// A resend carries the kept datagram with a fresh sequence number.
void RestampSequenceNumber(Datagram& datagram, uint16_t sequenceNumber);

}  // namespace quillon::modem
