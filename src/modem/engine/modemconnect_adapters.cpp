// Which of the PC's adapters the engine talks through. A limited broadcast from an unbound
// socket follows the routing table: with no default route it cannot be sent at all, and with
// the default route on another adapter (a laptop also on a wireless network) it never reaches
// the cable to the modem. So a broadcast discovery goes out of every adapter that has an
// address, each through a socket bound to that address, and the rest goes through the adapter
// the modem answered on. The modem receives the same broadcast on the same port as before.
#include <algorithm>

#include "modem/engine/modemconnect.h"
#include "net/ipv4_text.h"
#include "net/net_errors.h"
#include "platform/network_adapters.h"
#include "ui/application.h"

namespace quillon::modem {

namespace {

// The adapter's address now: a renewed lease may have changed it since the discovery.
uint32_t CurrentAddressOf(const std::string& adapter) {
  for (const platform::NetworkAdapter& listed : platform::ListNetworkAdapters())
    if (listed.name == adapter) return listed.FirstAddress();
  return 0;
}

}  // namespace

std::string TfrmModemConnect::RunLocalAddress() const {
  if (state == STATE_DISCOVERY || modemAdapter_.empty() || WSocket.redirect) return "0.0.0.0";
  const uint32_t address = CurrentAddressOf(modemAdapter_);
  return net::FormatDottedQuad(address);
}

void TfrmModemConnect::OpenAdapterSockets() {
  // A test's redirect keeps every datagram on loopback; a unicast goes where its route says.
  if (WSocket.redirect || net::ParseDottedQuad(destinationAddress) != platform::kLimitedBroadcast)
    return;
  std::vector<uint32_t> seen;
  for (const platform::NetworkAdapter& adapter : platform::ListNetworkAdapters()) {
    for (const platform::AdapterAddress& address : adapter.addresses) {
      if (address.address == 0 ||
          std::find(seen.begin(), seen.end(), address.address) != seen.end())
        continue;
      seen.push_back(address.address);
      auto socket = std::make_unique<net::UdpSocket>(app().backend());
      socket->Addr = WSocket.Addr;
      socket->Port = WSocket.Port;
      socket->LocalAddr = net::FormatDottedQuad(address.address);
      const size_t index = adapterSockets_.size();
      socket->onError = [this, name = adapter.name](int error) {
        Note("socket error on " + name + ": " + net::ErrorText(error));
      };
      if (!socket->Open()) continue;
      socket->onDataAvailable = [this, index](int) { ReadAdapterSocket(index); };
      adapterSockets_.push_back({adapter.name, address.address, std::move(socket)});
    }
  }
}

void TfrmModemConnect::ReadAdapterSocket(size_t index) {
  std::array<uint8_t, kReceiveBufferSize> buffer{};
  const int length = adapterSockets_[index].socket->ReceiveFrom(buffer.data(), buffer.size());
  if (length < 0) return;
  heardOn_ = index;
  HandleDatagram(buffer.data(), static_cast<size_t>(length));
  heardOn_.reset();
}

// Called when a discovery reply is taken. The other adapters' sockets close, so a second modem
// on another network is not heard for the rest of the run.
void TfrmModemConnect::TakeAnsweringAdapter() {
  if (!heardOn_ || answeredOn_) return;
  answeredOn_ = heardOn_;
  const AdapterSocket& answered = adapterSockets_[*answeredOn_];
  modemAdapter_ = answered.adapter;
  for (size_t i = 0; i < adapterSockets_.size(); ++i)
    if (i != *answeredOn_) adapterSockets_[i].socket->Close();
  Note("the modem answered on " + answered.adapter + " (" +
       net::FormatDottedQuad(answered.address) + ")");
}

}  // namespace quillon::modem
