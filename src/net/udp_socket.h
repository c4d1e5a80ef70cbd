#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/udp_socket.h"
#include "ui/backend.h"

namespace net {

// A UDP socket component. Its properties are texts as a form designer sets them; Open creates
// the socket (broadcast allowed, bound to LocalAddr:LocalPort) and watches it, and from then on
// every datagram that arrives raises onDataAvailable on the UI thread, where ReceiveFrom reads
// it. A failure to open and any asynchronous socket error raise onError instead. Open, Close,
// Send and ReceiveFrom belong to the UI thread.
class UdpSocket {
 public:
  explicit UdpSocket(ui::Backend& backend);
  ~UdpSocket();
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  // Destination (dotted quad and port text) and protocol ("udp"); the local binding.
  std::string Addr;
  std::string Port;
  std::string Proto = "udp";
  std::string LocalAddr = "0.0.0.0";
  std::string LocalPort = "0";
  // The adapter (interface index) the socket goes through, 0 for none: where the system ties
  // sockets to adapters, the socket hears only what arrives there (broadcasts included) and sends
  // out of it from LocalAddr, or with LocalAddr 0.0.0.0 from no address at all; elsewhere it is
  // bound to LocalAddr alone.
  std::uint32_t Adapter = 0;

  // When set, every datagram goes to this endpoint whatever Addr and Port say. Tests use it to
  // keep a program that addresses the broadcast address on loopback.
  std::optional<platform::Ipv4Endpoint> redirect;

  // False (after raising onError) when a property is invalid or the system refuses the socket.
  bool Open();
  void Close();
  bool isOpen() const { return socket_ != platform::kNoSocket; }

  // Bytes sent, or a negative error code; never raises an event.
  int Send(const std::uint8_t* data, std::size_t length);
  // The same to another destination (a reply to whoever sent a datagram).
  int SendTo(const std::uint8_t* data, std::size_t length, const platform::Ipv4Endpoint& to);

  // One datagram, cut at capacity: its length, or a negative value when none could be read.
  int ReceiveFrom(std::uint8_t* buffer, std::size_t capacity,
                  platform::Ipv4Endpoint* from = nullptr);

  std::optional<platform::Ipv4Endpoint> localEndpoint() const;
  // The destination of the last Open (the redirect when one is set).
  const platform::Ipv4Endpoint& destination() const { return destination_; }

  std::function<void(int error)> onDataAvailable;
  std::function<void(int error)> onError;

 private:
  void Readable();
  void RaiseError(int error);

  ui::Backend& backend_;
  platform::SocketHandle socket_ = platform::kNoSocket;
  ui::Backend::WatchId watch_ = 0;
  platform::Ipv4Endpoint destination_;
  bool tied_ = false;
  std::uint32_t sendFrom_ = 0;
  bool readThisEvent_ = false;
  int receiveError_ = 0;
};

}  // namespace net
