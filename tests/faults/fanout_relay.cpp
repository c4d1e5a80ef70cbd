#include "fanout_relay.h"

#include <string>

namespace faults {

namespace {

void BindToLoopback(net::UdpSocket& socket) {
  socket.Addr = "127.0.0.1";
  socket.Port = "9";
  socket.LocalAddr = "127.0.0.1";
  socket.LocalPort = "0";
}

// Larger than anything either side sends, so nothing is cut on the way.
constexpr std::size_t kRelayBuffer = 2048;

}  // namespace

FanOutRelay::FanOutRelay(ui::Application& app) : app_(app), engineSide_(app.backend()) {
  BindToLoopback(engineSide_);
  engineSide_.onDataAvailable = [this](int) { FromEngine(); };
  engineSide_.Open();
  port_ = engineSide_.localEndpoint().value_or(platform::Ipv4Endpoint{}).port;
}

void FanOutRelay::AddSimulator(std::uint16_t simulatorPort) {
  auto side = std::make_unique<net::UdpSocket>(app_.backend());
  BindToLoopback(*side);
  side->Port = std::to_string(simulatorPort);
  net::UdpSocket& socket = *side;
  side->onDataAvailable = [this, &socket](int) { FromSimulator(socket); };
  side->Open();
  simulatorSides_.push_back(std::move(side));
}

void FanOutRelay::FromEngine() {
  Bytes bytes(kRelayBuffer);
  platform::Ipv4Endpoint from;
  const int length = engineSide_.ReceiveFrom(bytes.data(), bytes.size(), &from);
  if (length < 0) return;
  bytes.resize(static_cast<std::size_t>(length));
  engine_ = from;
  requests_.push_back(bytes);
  for (const auto& side : simulatorSides_) side->Send(bytes.data(), bytes.size());
}

void FanOutRelay::FromSimulator(net::UdpSocket& side) {
  Bytes bytes(kRelayBuffer);
  const int length = side.ReceiveFrom(bytes.data(), bytes.size());
  if (length < 0 || !engine_) return;
  bytes.resize(static_cast<std::size_t>(length));
  replies_.push_back(bytes);
  engineSide_.SendTo(bytes.data(), bytes.size(), *engine_);
}

}  // namespace faults
