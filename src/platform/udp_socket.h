#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// An OS socket handle as an integer; the same representation as ui::SocketHandle.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kNoSocket = -1;

// An IPv4 address and port, both in host byte order.
struct Ipv4Endpoint {
  std::uint32_t address = 0;
  std::uint16_t port = 0;

  bool operator==(const Ipv4Endpoint&) const = default;
};

inline constexpr std::uint32_t kAnyAddress = 0;
inline constexpr std::uint32_t kLoopbackAddress = 0x7F000001;
inline constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFF;

// Error values are the OS's own codes (errno on POSIX); 0 means none.
struct UdpOpenResult {
  SocketHandle socket = kNoSocket;
  int error = 0;
};

// A non-blocking UDP socket bound to `local` (address 0 and port 0: any address, an ephemeral
// port), optionally allowed to send to broadcast addresses.
UdpOpenResult OpenUdpSocket(const Ipv4Endpoint& local, bool allowBroadcast);
void CloseSocket(SocketHandle socket);

// Bytes sent, or the negated error code.
int SendDatagram(SocketHandle socket, const std::uint8_t* data, std::size_t length,
                 const Ipv4Endpoint& to);

// Reads one datagram, cut at `capacity` bytes: its (cut) length, or the negated error code;
// -WouldBlockError() when nothing is queued. A pending asynchronous error of the socket is
// returned (and cleared) here.
int ReceiveDatagram(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                    Ipv4Endpoint* from);
int WouldBlockError();

std::optional<Ipv4Endpoint> LocalEndpoint(SocketHandle socket);

// Whether a socket can be tied to one adapter (its interface index), so that it hears only what
// arrives there, from any sender and to any of the adapter's addresses or the broadcast address,
// and sends only out of it, from the address it names, whatever the routing table says. Where the
// system ties sockets to adapters only by binding them to an address, there is no such tie.
bool TiesSocketsToAdapters();

// Ties an open socket, bound to no address, to an adapter: 0, or the error code.
int TieSocketToAdapter(SocketHandle socket, std::uint32_t adapterIndex);

// Sends a datagram out of the adapter of a tied socket from one of the adapter's addresses; from
// 0.0.0.0 it goes as a DHCP client's does before it has an address, in a link-layer broadcast,
// and a peer answers it by broadcast. Bytes sent, or the negated error code.
int SendDatagramFrom(SocketHandle socket, std::uint32_t adapterIndex, std::uint32_t from,
                     const std::uint8_t* data, std::size_t length, const Ipv4Endpoint& to);

// Waits up to timeoutMs (0: just looks) for any of the sockets to have data or an error.
std::vector<bool> WaitReadable(const std::vector<SocketHandle>& sockets, int timeoutMs);

}  // namespace platform
