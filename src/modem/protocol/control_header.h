#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillon::modem {

// The modem's control port and the datagram sizes every request and reply obey.
inline constexpr uint16_t kModemPort = 65002;
inline constexpr size_t kHeaderSize = 10;
inline constexpr size_t kMinDatagramSize = 22;
inline constexpr size_t kMaxPayloadSize = 512;
inline constexpr size_t kSendBufferSize = kHeaderSize + kMaxPayloadSize;
inline constexpr size_t kReceiveBufferSize = 1024;

// Message codes; a reply carries its request's code plus one.
inline constexpr uint16_t MSG_DISCOVER = 1;
inline constexpr uint16_t MSG_DISCOVER_REPLY = 2;
inline constexpr uint16_t MSG_QUERY = 3;
inline constexpr uint16_t MSG_QUERY_REPLY = 4;
inline constexpr uint16_t MSG_SET = 5;
inline constexpr uint16_t MSG_SET_REPLY = 6;
inline constexpr uint16_t MSG_COMMAND = 7;
inline constexpr uint16_t MSG_COMMAND_REPLY = 8;

using MacAddress = std::array<uint8_t, 6>;

// The target of a discovery request: every modem answers it.
inline constexpr MacAddress kDiscoveryMac = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// The first 10 bytes of every datagram, in both directions.
struct ControlHeader {
  MacAddress mac{};
  uint16_t code = 0;
  uint16_t sequenceNumber = 0;
};

// Writes the header big-endian into out[0..10).
void EncodeControlHeader(const ControlHeader& header, uint8_t* out);

// Reads the header of a datagram; nothing when it is shorter than the header.
std::optional<ControlHeader> DecodeControlHeader(const uint8_t* data, size_t length);

// "00:1a:2b:3c:4d:5e", for the log.
std::string MacText(const MacAddress& mac);

inline uint16_t ReadBe16(const uint8_t* p) {
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

inline uint32_t ReadBe32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

inline void WriteBe16(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value >> 8);
  p[1] = static_cast<uint8_t>(value);
}

inline void WriteBe32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value >> 24);
  p[1] = static_cast<uint8_t>(value >> 16);
  p[2] = static_cast<uint8_t>(value >> 8);
  p[3] = static_cast<uint8_t>(value);
}

}  // namespace quillon::modem
