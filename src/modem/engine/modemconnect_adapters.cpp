// Which of the PC's adapters the engine talks through. A limited broadcast from an unbound
// socket follows the routing table: with no default route it cannot be sent at all, and with
// the default route on another adapter (a laptop also on a wireless network, a VPN) it never
// reaches the cable to the modem. So a discovery goes out of every adapter that can lead to the
// modem, each through a socket tied to it; the answers decide which modem on which adapter the
// session talks to, and every later request goes out of that adapter alone: the PPP password
// and the wireless key must never leave through another.
#include <algorithm>
#include <array>

#include "modem/engine/modemconnect.h"
#include "net/ipv4_text.h"
#include "net/net_errors.h"
#include "platform/network_adapters.h"
#include "ui/application.h"

namespace quillon::modem {

namespace {

// How long a cable's answer waits for another cable that was asked too, in case a second modem
// is there. Any modem answers within a few milliseconds.
constexpr std::int64_t kOtherCableGraceMs = 300;

std::optional<platform::NetworkAdapter> AdapterNamed(const std::string& name) {
  for (platform::NetworkAdapter& listed : platform::ListNetworkAdapters())
    if (listed.name == name) return std::move(listed);
  return std::nullopt;
}

// One socket to open for a discovery: an adapter and one of its addresses (0 for none).
struct AdapterAddressChoice {
  const platform::NetworkAdapter* adapter;
  platform::AdapterAddress address;
};

}  // namespace

bool TfrmModemConnect::RunsOnModemAdapter() const {
  return state != STATE_DISCOVERY && !modemAdapter_.empty() && !WSocket.redirect;
}

// The address to send from on the modem's adapter now: the one the modem answered on while the
// adapter keeps it, else the adapter's address in the modem's subnet (a renewed lease), else its
// first. Nothing, with the reason, when the adapter is gone, has lost its link, or has no address
// and the system cannot send without one: any other way out would be another adapter's.
std::optional<uint32_t> TfrmModemConnect::ModemAdapterSource(std::string* problem) {
  const std::optional<platform::NetworkAdapter> adapter = AdapterNamed(modemAdapter_);
  const std::string name = "the modem's adapter " + modemAdapter_;
  if (!adapter) {
    *problem = name + " is no longer there";
    return std::nullopt;
  }
  if (!adapter->connected) {
    *problem = name + " has lost its link (a cable out, a radio no longer associated)";
    return std::nullopt;
  }
  uint32_t source = adapter->FirstAddress();
  for (const platform::AdapterAddress& address : adapter->addresses)
    if ((address.address & address.mask) == (modemPeer_ & address.mask)) source = address.address;
  for (const platform::AdapterAddress& address : adapter->addresses)
    if (address.address == modemSource_) source = address.address;
  if (source == 0 && !platform::TiesSocketsToAdapters()) {
    *problem = name + " has no address";
    return std::nullopt;
  }
  modemAdapterIndex_ = adapter->index;
  return source;
}

// The run's own socket. Outside a discovery it goes out of the modem's adapter alone.
bool TfrmModemConnect::OpenRunSocket() {
  WSocket.LocalAddr = "0.0.0.0";
  WSocket.Adapter = 0;
  if (RunsOnModemAdapter()) {
    std::string problem;
    const std::optional<uint32_t> source = ModemAdapterSource(&problem);
    if (!source) {
      socketError_ = problem;
      Note(problem + "; nothing is sent through another adapter");
      Fail();
      return false;
    }
    WSocket.LocalAddr = net::FormatDottedQuad(*source);
    WSocket.Adapter = modemAdapterIndex_;
  }
  // A socket that cannot open has ended the run through WSocketError, with its reason.
  return WSocket.Open();
}

// Before a resend outside a discovery: a lease renewed meanwhile may have moved the adapter to
// another address, which the next request goes out from; a lost link is told, and nothing goes
// out of another adapter.
bool TfrmModemConnect::RefreshRunSocket() {
  std::string problem;
  const std::optional<uint32_t> source = ModemAdapterSource(&problem);
  if (!source) {
    ++sendErrors_;
    sendError_ = problem;
    Note("nothing sent: " + problem);
    return false;
  }
  const std::string address = net::FormatDottedQuad(*source);
  if (address == WSocket.LocalAddr && WSocket.Adapter == modemAdapterIndex_ && WSocket.isOpen())
    return true;
  Note("the address of " + modemAdapter_ + " is now " + address + ": the request goes out from it");
  WSocket.Close();
  WSocket.LocalAddr = address;
  WSocket.Adapter = modemAdapterIndex_;
  return WSocket.Open();
}

void TfrmModemConnect::OpenAdapterSockets(bool renewing) {
  // A test's redirect keeps every datagram on loopback; a unicast (to an adapter's gateway) goes
  // where its route says, and so do the runs after it.
  if (WSocket.redirect || net::ParseDottedQuad(destinationAddress) != platform::kLimitedBroadcast)
    return;
  const std::vector<platform::NetworkAdapter> adapters = platform::ListNetworkAdapters();
  // A machine with nothing but its loopback (a private namespace) has no other way out; any
  // adapter at all, a tunnel included, and a request goes out of the adapters chosen or nowhere.
  if (adapters.empty() && !renewing) return;
  askAdapters_ = true;
  std::vector<AdapterAddressChoice> wanted;
  for (const platform::NetworkAdapter& adapter : adapters) {
    if (adapter.medium == platform::AdapterMedium::kVirtual) {
      if (!renewing)
        Note("not asked: " + adapter.name + ", a tunnel, bridge or other virtual link");
      continue;
    }
    if (!adapter.connected) {
      if (adapter.medium == platform::AdapterMedium::kWired)
        cablesWithoutLink_.push_back(adapter.name);
      continue;
    }
    if (adapter.addresses.empty()) {
      if (adapter.medium == platform::AdapterMedium::kWired)
        cablesWithoutAddress_.push_back(adapter.name);
      if (platform::TiesSocketsToAdapters()) {
        if (!renewing) Note(adapter.name + " has a link but no address: asked from 0.0.0.0");
        wanted.push_back({&adapter, {}});
      } else {
        if (!renewing) Note("not asked: " + adapter.name + ", a link without an address");
      }
      continue;
    }
    for (const platform::AdapterAddress& address : adapter.addresses) {
      const bool seen = std::any_of(wanted.begin(), wanted.end(), [&](const auto& choice) {
        return choice.address.address == address.address;
      });
      if (address.address != 0 && !seen) wanted.push_back({&adapter, address});
    }
  }
  for (const AdapterAddressChoice& choice : wanted) {
    auto entry = std::make_unique<AdapterSocket>();
    entry->adapter = choice.adapter->name;
    entry->index = choice.adapter->index;
    entry->medium = choice.adapter->medium;
    entry->address = choice.address.address;
    entry->mask = choice.address.mask;
    auto socket = std::make_unique<net::UdpSocket>(app().backend());
    socket->Addr = WSocket.Addr;
    socket->Port = WSocket.Port;
    socket->LocalAddr = net::FormatDottedQuad(entry->address);
    socket->Adapter = entry->index;
    AdapterSocket* raw = entry.get();
    socket->onError = [this, raw](int error) {
      Note("socket error on " + raw->adapter + ": " + net::ErrorText(error));
    };
    if (!socket->Open()) continue;
    if (!renewing)
      Note("asked: " + entry->adapter + " (" + socket->LocalAddr + "), " +
           (entry->medium == platform::AdapterMedium::kWired ? "wired" : "wireless"));
    socket->onDataAvailable = [this, raw](int) {
      std::array<uint8_t, kReceiveBufferSize> buffer{};
      platform::Ipv4Endpoint from;
      const int length = raw->socket->ReceiveFrom(buffer.data(), buffer.size(), &from);
      if (length < 0) return;
      heardOn_ = raw;
      heardFrom_ = from.address;
      HandleDatagram(buffer.data(), static_cast<size_t>(length));
      heardOn_ = nullptr;
    };
    entry->socket = std::move(socket);
    adapterSockets_.push_back(std::move(entry));
  }
}

// Before each resend of a discovery: an adapter whose address changed (a cable plugged back, a
// lease renewed) gets a socket for its address now, since one bound to a vanished address can
// no longer send; adapters that came up are asked too.
void TfrmModemConnect::RenewAdapterSockets() {
  std::vector<std::unique_ptr<AdapterSocket>> kept = std::move(adapterSockets_);
  adapterSockets_.clear();
  cablesWithoutAddress_.clear();
  OpenAdapterSockets(/*renewing=*/true);
  for (std::unique_ptr<AdapterSocket>& fresh : adapterSockets_) {
    bool sameBinding = false;
    for (std::unique_ptr<AdapterSocket>& old : kept) {
      if (old && old->adapter == fresh->adapter && old->index == fresh->index &&
          old->address == fresh->address) {
        fresh.swap(old);  // the socket that may still hear the earlier sends
        old.reset();
        sameBinding = true;
        break;
      }
    }
    if (!sameBinding)
      Note("asked: " + fresh->adapter + " (" + net::FormatDottedQuad(fresh->address) +
           "), which came up or changed its address");
  }
  for (const std::unique_ptr<AdapterSocket>& gone : kept) {
    if (!gone) continue;
    Note("no longer asked: " + gone->adapter + " (" + net::FormatDottedQuad(gone->address) +
         "), which lost that address or its link");
    answers_.erase(
        std::remove_if(answers_.begin(), answers_.end(),
                       [&](const HeldAnswer& held) { return held.heardOn == gone.get(); }),
        answers_.end());
  }
}

// Every adapter's send is tried; one adapter's failure is told even when another's send went out.
// With no adapter to ask, nothing is sent: the routing table would take the request into a
// tunnel or to another network.
void TfrmModemConnect::SendOnAdapters(const uint8_t* data, size_t length) {
  if (adapterSockets_.empty()) {
    ++sendErrors_;
    sendError_ = "no adapter with a link that can lead to the modem";
    Note("nothing sent: " + sendError_);
  }
  for (const std::unique_ptr<AdapterSocket>& adapter : adapterSockets_) {
    const int sent = adapter->socket->Send(data, length);
    if (sent >= 0) continue;
    ++sendErrors_;
    sendError_ = adapter->adapter + ": " + net::ErrorText(-sent);
    Note("send error on " + sendError_);
  }
}

void TfrmModemConnect::HearAnswer(const MacAddress& mac, const DiscoveryReply& discovery) {
  const AnswerRank rank =
      RankAnswer(heardOn_->medium, heardOn_->address, heardOn_->mask, heardFrom_);
  Note("discovery answer from " + MacText(mac) + " (" + net::FormatDottedQuad(heardFrom_) +
       ") on " + heardOn_->adapter + ", " + std::string(Describe(rank)));
  answers_.push_back({heardOn_, mac, discovery, rank, heardFrom_});
  DecideAnswer(/*waitOver=*/false);
}

// True when the discovery is settled: a modem taken, or the run ended.
bool TfrmModemConnect::DecideAnswer(bool waitOver) {
  std::vector<HeardAnswer> heard;
  for (const HeldAnswer& held : answers_)
    heard.push_back({held.heardOn->adapter, held.mac, held.rank});
  std::vector<std::string> cables;
  for (const std::unique_ptr<AdapterSocket>& socket : adapterSockets_)
    if (socket->medium == platform::AdapterMedium::kWired &&
        std::find(cables.begin(), cables.end(), socket->adapter) == cables.end())
      cables.push_back(socket->adapter);
  const AnswerChoice choice = ChooseAnswer(heard, cables.size(), waitOver);
  switch (choice.verdict) {
    case AnswerVerdict::kWait:
      if (answers_[choice.chosen].rank == AnswerRank::kWireless) {
        unfinishedCause_ = "only a device on the wireless adapter " +
                           answers_[choice.chosen].heardOn->adapter +
                           " answered, while the cable stayed silent: it is not taken";
      } else if (!answerGraceArmed_ && !waitOver) {
        // A cable's answer waits briefly for another cable.
        answerGraceArmed_ = true;
        Timer.SetEnabled(false);
        Timer.SetInterval(kOtherCableGraceMs);
        Timer.SetEnabled(true);
      }
      return false;
    case AnswerVerdict::kSeveralModems: {
      Timer.SetEnabled(false);
      std::vector<std::string> modems;
      for (const HeldAnswer& held : answers_) {
        const std::string modem = MacText(held.mac) + " on " + held.heardOn->adapter;
        if (held.rank != AnswerRank::kWireless &&
            std::find(modems.begin(), modems.end(), modem) == modems.end())
          modems.push_back(modem);
      }
      answers_.clear();
      severalModems_ = true;
      std::string list;
      for (const std::string& modem : modems) list += (list.empty() ? "" : ", ") + modem;
      unfinishedCause_ = "two modems answered on two wired adapters (" + list + ")";
      Fail();
      return true;
    }
    case AnswerVerdict::kTake:
      break;
  }
  const HeldAnswer taken = answers_[choice.chosen];
  answers_.clear();
  answeredOn_ = taken.heardOn;
  modemAdapter_ = answeredOn_->adapter;
  modemAdapterIndex_ = answeredOn_->index;
  modemSource_ = answeredOn_->address;
  modemPeer_ = taken.peer;
  // The other adapters' sockets close, so that no other device is heard for the rest of the run.
  for (const std::unique_ptr<AdapterSocket>& socket : adapterSockets_)
    if (socket.get() != answeredOn_) socket->socket->Close();
  Note("the modem answered on " + answeredOn_->adapter + " (" +
       net::FormatDottedQuad(answeredOn_->address) + ")");
  TakeDiscovery(taken.mac, taken.discovery);
  return true;
}

}  // namespace quillon::modem
