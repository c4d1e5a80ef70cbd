#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/socket_api.h"
#include "platform/socket_poll.h"
#include "platform/udp_socket.h"
#include "platform/win32/winsock.h"

namespace platform {
namespace {

// Not in every SDK's headers: the switch for the port-unreachable reports on a UDP socket.
constexpr DWORD kUdpConnectionReset = IOC_IN | IOC_VENDOR | 12;

SOCKET Handle(SocketHandle socket) {
  return static_cast<SOCKET>(socket);
}

// Windows turns the ICMP "port unreachable" that answers an earlier datagram into a receive
// error on this unconnected socket, and after that the socket reports readable with no datagram
// behind it. The other platform keeps such reports from unconnected sockets, and a modem that
// is not listening yet must not break the session, so the reports are switched off here.
void IgnorePortUnreachable(SOCKET socket) {
  BOOL report = FALSE;
  DWORD returned = 0;
  ::WSAIoctl(socket, kUdpConnectionReset, &report, sizeof report, nullptr, 0, &returned, nullptr,
             nullptr);
}

// A socket that a program we start cannot inherit. Windows before 7 SP1 refuses the flag that
// says so with WSAEINVAL, and there the handle's inheritance is cleared after the fact instead.
SOCKET OpenUninheritedSocket() {
  constexpr int kFamily = AF_INET, kType = SOCK_DGRAM, kProtocol = IPPROTO_UDP;
  const SOCKET socket = ::WSASocketW(kFamily, kType, kProtocol, nullptr, 0,
                                     WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
  if (socket != INVALID_SOCKET || ::WSAGetLastError() != WSAEINVAL) return socket;
  const SOCKET inheritable =
      ::WSASocketW(kFamily, kType, kProtocol, nullptr, 0, WSA_FLAG_OVERLAPPED);
  if (inheritable != INVALID_SOCKET)
    ::SetHandleInformation(reinterpret_cast<HANDLE>(inheritable), HANDLE_FLAG_INHERIT, 0);
  return inheritable;
}

UdpOpenResult Fail(SOCKET socket) {
  const int error = ::WSAGetLastError();
  if (socket != INVALID_SOCKET) ::closesocket(socket);
  return {kNoSocket, error};
}

}  // namespace

UdpOpenResult OpenUdpSocket(const Ipv4Endpoint& local, bool allowBroadcast) {
  if (!win32::EnsureWinsock()) return {kNoSocket, WSANOTINITIALISED};
  const SOCKET socket = OpenUninheritedSocket();
  if (socket == INVALID_SOCKET) return Fail(socket);
  u_long nonBlocking = 1;
  if (::ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) return Fail(socket);
  const BOOL on = TRUE;
  if (allowBroadcast && ::setsockopt(socket, SOL_SOCKET, SO_BROADCAST,
                                     reinterpret_cast<const char*>(&on), sizeof on) != 0)
    return Fail(socket);
  IgnorePortUnreachable(socket);
  const sockaddr_in address = sockets::ToSockaddr(local);
  if (::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return Fail(socket);
  return {static_cast<SocketHandle>(socket), 0};
}

void CloseSocket(SocketHandle socket) {
  if (socket != kNoSocket) ::closesocket(Handle(socket));
}

int SendDatagram(SocketHandle socket, const std::uint8_t* data, std::size_t length,
                 const Ipv4Endpoint& to) {
  if (length > 0x7FFFFFFF) return -WSAEMSGSIZE;
  const sockaddr_in address = sockets::ToSockaddr(to);
  const int sent =
      ::sendto(Handle(socket), reinterpret_cast<const char*>(data), static_cast<int>(length), 0,
               reinterpret_cast<const sockaddr*>(&address), sizeof address);
  return sent == SOCKET_ERROR ? -::WSAGetLastError() : sent;
}

int ReceiveDatagram(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                    Ipv4Endpoint* from) {
  const int room = capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
  for (;;) {
    sockaddr_in address{};
    int size = sizeof address;
    const int received = ::recvfrom(Handle(socket), reinterpret_cast<char*>(buffer), room, 0,
                                    reinterpret_cast<sockaddr*>(&address), &size);
    int length = received;
    if (received == SOCKET_ERROR) {
      const int error = ::WSAGetLastError();
      // A late port-unreachable report, should the switch above not have taken: it stands for
      // no datagram, so look for the next one.
      if (error == WSAECONNRESET || error == WSAENETRESET) continue;
      // A datagram longer than the buffer is cut, as on the other platform, not an error.
      if (error != WSAEMSGSIZE) return -error;
      length = room;
    }
    if (from) *from = sockets::FromSockaddr(address);
    return length;
  }
}

int WouldBlockError() {
  return WSAEWOULDBLOCK;
}

std::optional<Ipv4Endpoint> LocalEndpoint(SocketHandle socket) {
  sockaddr_in address{};
  int size = sizeof address;
  if (::getsockname(Handle(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
      address.sin_family != AF_INET)
    return std::nullopt;
  return sockets::FromSockaddr(address);
}

std::vector<bool> WaitReadable(const std::vector<SocketHandle>& sockets, int timeoutMs) {
  // Polling nothing returns at once here, where the other platform waits out the time.
  if (sockets.empty() && timeoutMs > 0) ::Sleep(static_cast<DWORD>(timeoutMs));
  return PollReadable(sockets, timeoutMs);
}

}  // namespace platform
