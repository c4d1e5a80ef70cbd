#pragma once

// A relay in the wizard's own loop standing in for a LAN segment with more than one modem on
// it: every request the engine sends reaches every simulator, and every reply any of them sends
// reaches the engine. All of it over 127.0.0.1.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "net/udp_socket.h"
#include "ui/application.h"

namespace faults {

using Bytes = std::vector<std::uint8_t>;

class FanOutRelay {
 public:
  explicit FanOutRelay(ui::Application& app);

  // The port the engine is aimed at.
  std::uint16_t port() const { return port_; }
  void AddSimulator(std::uint16_t simulatorPort);

  const std::vector<Bytes>& requests() const { return requests_; }
  const std::vector<Bytes>& replies() const { return replies_; }

 private:
  void FromEngine();
  void FromSimulator(net::UdpSocket& side);

  ui::Application& app_;
  net::UdpSocket engineSide_;
  std::vector<std::unique_ptr<net::UdpSocket>> simulatorSides_;
  std::uint16_t port_ = 0;
  // The engine reopens its socket for every run, so replies go where the last request came from.
  std::optional<platform::Ipv4Endpoint> engine_;
  std::vector<Bytes> requests_;
  std::vector<Bytes> replies_;
};

}  // namespace faults
