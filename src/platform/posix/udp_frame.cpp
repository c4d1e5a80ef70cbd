#include "platform/posix/udp_frame.h"

#include <algorithm>

namespace platform::posix {
namespace {

constexpr std::size_t kIpHeader = 20;
constexpr std::size_t kUdpHeader = 8;
constexpr std::uint8_t kTimeToLive = 64;
constexpr std::uint8_t kUdpProtocol = 17;

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  Put16(bytes, at, value >> 16);
  Put16(bytes, at + 2, value & 0xFFFF);
}

// The one's complement sum of 16-bit words, carried on from `sum`, before the final complement.
std::uint32_t Sum16(const std::uint8_t* bytes, std::size_t length, std::uint32_t sum) {
  for (std::size_t i = 0; i + 1 < length; i += 2) sum += (bytes[i] << 8) | bytes[i + 1];
  if (length % 2) sum += bytes[length - 1] << 8;
  return sum;
}

std::uint16_t Fold(std::uint32_t sum) {
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

}  // namespace

std::vector<std::uint8_t> Ipv4UdpFrame(const Ipv4Endpoint& from, const Ipv4Endpoint& to,
                                       const std::uint8_t* payload, std::size_t length) {
  const std::size_t udpLength = kUdpHeader + length;
  std::vector<std::uint8_t> frame(kIpHeader + udpLength);
  frame[0] = 0x45;  // version 4, five words of header
  Put16(frame, 2, static_cast<std::uint32_t>(frame.size()));
  frame[8] = kTimeToLive;
  frame[9] = kUdpProtocol;
  Put32(frame, 12, from.address);
  Put32(frame, 16, to.address);
  Put16(frame, 10, Fold(Sum16(frame.data(), kIpHeader, 0)));

  Put16(frame, kIpHeader, from.port);
  Put16(frame, kIpHeader + 2, to.port);
  Put16(frame, kIpHeader + 4, static_cast<std::uint32_t>(udpLength));
  std::copy(payload, payload + length, frame.begin() + kIpHeader + kUdpHeader);
  // The pseudo-header: both addresses, the protocol and the UDP length.
  std::uint32_t sum = Sum16(frame.data() + 12, 8, 0) + kUdpProtocol + udpLength;
  std::uint16_t checksum = Fold(Sum16(frame.data() + kIpHeader, udpLength, sum));
  if (checksum == 0) checksum = 0xFFFF;  // 0 would mean "no checksum"
  Put16(frame, kIpHeader + 6, checksum);
  return frame;
}

}  // namespace platform::posix
