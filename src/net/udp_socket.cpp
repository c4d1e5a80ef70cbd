#include "net/udp_socket.h"

#include <array>

#include "net/ipv4_text.h"
#include "net/net_errors.h"

namespace net {

namespace {

bool IsUdp(const std::string& proto) {
  return proto.size() == 3 && (proto[0] | 0x20) == 'u' && (proto[1] | 0x20) == 'd' &&
         (proto[2] | 0x20) == 'p';
}

}  // namespace

UdpSocket::UdpSocket(ui::Backend& backend) : backend_(backend) {}

UdpSocket::~UdpSocket() {
  Close();
}

bool UdpSocket::Open() {
  Close();
  const std::optional<std::uint32_t> address = ParseDottedQuad(Addr);
  const std::optional<std::uint16_t> port = ParsePort(Port);
  const std::optional<std::uint32_t> localAddress = ParseDottedQuad(LocalAddr);
  const std::optional<std::uint16_t> localPort = ParsePort(LocalPort);
  if (!address || !localAddress) {
    RaiseError(kNetBadAddress);
    return false;
  }
  if (!port || !localPort) {
    RaiseError(kNetBadPort);
    return false;
  }
  if (!IsUdp(Proto)) {
    RaiseError(kNetBadProtocol);
    return false;
  }
  const bool tie = Adapter != 0 && platform::TiesSocketsToAdapters();
  const platform::UdpOpenResult opened = platform::OpenUdpSocket(
      {tie ? platform::kAnyAddress : *localAddress, *localPort}, /*allowBroadcast=*/true);
  if (opened.socket == platform::kNoSocket) {
    RaiseError(opened.error != 0 ? opened.error : kNetNoSocket);
    return false;
  }
  if (tie) {
    if (const int error = platform::TieSocketToAdapter(opened.socket, Adapter)) {
      platform::CloseSocket(opened.socket);
      RaiseError(error);
      return false;
    }
  }
  socket_ = opened.socket;
  tied_ = tie;
  sendFrom_ = *localAddress;
  destination_ = redirect ? *redirect : platform::Ipv4Endpoint{*address, *port};
  watch_ = backend_.WatchReadable(socket_, [this] { Readable(); });
  return true;
}

void UdpSocket::Close() {
  if (socket_ == platform::kNoSocket) return;
  backend_.Unwatch(watch_);
  platform::CloseSocket(socket_);
  socket_ = platform::kNoSocket;
  watch_ = 0;
}

int UdpSocket::Send(const std::uint8_t* data, std::size_t length) {
  if (!isOpen()) return -kNetNotOpen;
  if (tied_)
    return platform::SendDatagramFrom(socket_, Adapter, sendFrom_, data, length, destination_);
  return platform::SendDatagram(socket_, data, length, destination_);
}

int UdpSocket::SendTo(const std::uint8_t* data, std::size_t length,
                      const platform::Ipv4Endpoint& to) {
  if (!isOpen()) return -kNetNotOpen;
  return platform::SendDatagram(socket_, data, length, to);
}

int UdpSocket::ReceiveFrom(std::uint8_t* buffer, std::size_t capacity,
                           platform::Ipv4Endpoint* from) {
  if (!isOpen()) return -kNetNotOpen;
  readThisEvent_ = true;
  const int length = platform::ReceiveDatagram(socket_, buffer, capacity, from);
  if (length < 0 && length != -platform::WouldBlockError()) receiveError_ = -length;
  return length;
}

std::optional<platform::Ipv4Endpoint> UdpSocket::localEndpoint() const {
  if (!isOpen()) return std::nullopt;
  return platform::LocalEndpoint(socket_);
}

void UdpSocket::Readable() {
  const platform::SocketHandle socket = socket_;
  readThisEvent_ = false;
  receiveError_ = 0;
  if (onDataAvailable) onDataAvailable(0);
  if (socket_ != socket) return;  // the handler closed or reopened the socket
  // A handler that read nothing would leave the datagram queued and the loop calling back at
  // once, for ever; the datagram nobody wanted is dropped instead.
  if (!readThisEvent_) {
    std::array<std::uint8_t, 16> discard;
    ReceiveFrom(discard.data(), discard.size(), nullptr);
  }
  // A pending socket error makes the receive fail with it; it is reported once, by the event.
  if (receiveError_ != 0) RaiseError(receiveError_);
}

void UdpSocket::RaiseError(int error) {
  if (onError) onError(error);
}

}  // namespace net
