#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/udp_socket.h"

namespace platform::posix {

// One UDP datagram with its IPv4 header, as it goes on the wire after the link-layer header:
// for sending out of an adapter that has no address, where the kernel would put another
// adapter's address as the source. The IPv4 header carries its checksum and no options; the UDP
// checksum is computed too, since some receivers drop datagrams without one.
std::vector<std::uint8_t> Ipv4UdpFrame(const Ipv4Endpoint& from, const Ipv4Endpoint& to,
                                       const std::uint8_t* payload, std::size_t length);

}  // namespace platform::posix
