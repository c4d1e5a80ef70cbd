#include "fakes.h"

#include "modem/protocol/control_header.h"
#include "net/net_errors.h"

namespace test_support {
namespace {

class RecordingSession : public platform::DhcpSession {
 public:
  explicit RecordingSession(RecordingDhcp& owner) : owner_(owner) {}
  std::vector<platform::DhcpAdapter> Adapters() override { return owner_.adapters; }
  bool EnableDhcp(const platform::DhcpAdapter& a) override { return Log("enable ", a); }
  bool ReleaseLease(const platform::DhcpAdapter& a) override { return Log("release ", a); }
  bool RenewLease(const platform::DhcpAdapter& a) override { return Log("renew ", a); }

 private:
  bool Log(const char* what, const platform::DhcpAdapter& adapter) {
    owner_.calls.push_back(what + adapter.name);
    return true;
  }
  RecordingDhcp& owner_;
};

}  // namespace

std::unique_ptr<platform::DhcpSession> RecordingDhcp::OpenSession() {
  ++sessions;
  if (onOpen) onOpen();
  if (refuse) return nullptr;
  return std::make_unique<RecordingSession>(*this);
}

net::ResolveResult ScriptedResolver::Resolve(const std::string& host) {
  if (clock && delayMs > 0) {
    // The sleep makes this helper thread the lookup's registered worker on the virtual clock,
    // so it also ends that registration here; the lookup's own end on the UI thread then
    // finds nothing left to end.
    clock->SleepMs(delayMs);
    clock->WorkerFinished();
  }
  std::lock_guard lock(mu_);
  hosts_.push_back(host);
  // 198.51.100.1: the simulated modem's own address answers for every test host.
  if (succeed) return {net::kNetOk, 0xC6336401};
  return {net::kNetHostNotFound, 0};
}

std::vector<std::string> ScriptedResolver::Hosts() const {
  std::lock_guard lock(mu_);
  return hosts_;
}

LoopbackPeer::LoopbackPeer(ui::Application& app)
    : engineSide_(app.backend()), simulatorSide_(app.backend()) {
  for (net::UdpSocket* socket : {&engineSide_, &simulatorSide_}) {
    socket->Addr = "127.0.0.1";
    socket->Port = "9";
    socket->LocalAddr = "127.0.0.1";
    socket->LocalPort = "0";
  }
  engineSide_.onDataAvailable = [this](int) {
    Bytes bytes(2048);
    platform::Ipv4Endpoint from;
    const int length = engineSide_.ReceiveFrom(bytes.data(), bytes.size(), &from);
    if (length < 0) return;
    bytes.resize(static_cast<size_t>(length));
    requests_.push_back(bytes);
    engine_ = from;
    if (!simulatorSide_.isOpen() || (dropRequest && dropRequest(bytes))) return;
    simulatorSide_.Send(bytes.data(), bytes.size());
  };
  simulatorSide_.onDataAvailable = [this](int) {
    Bytes bytes(2048);
    const int length = simulatorSide_.ReceiveFrom(bytes.data(), bytes.size());
    if (length < 0 || !engine_) return;
    bytes.resize(static_cast<size_t>(length));
    if (dropReply && dropReply(bytes)) return;
    engineSide_.SendTo(bytes.data(), bytes.size(), *engine_);
  };
  engineSide_.Open();
  port_ = engineSide_.localEndpoint().value_or(platform::Ipv4Endpoint{}).port;
}

void LoopbackPeer::RelayTo(std::uint16_t simulatorPort) {
  simulatorSide_.Port = std::to_string(simulatorPort);
  simulatorSide_.Open();
}

std::uint16_t CodeOf(const LoopbackPeer::Bytes& d) {
  return d.size() >= 8 ? quillon::modem::ReadBe16(d.data() + 6) : 0;
}

std::string PayloadTextOf(const LoopbackPeer::Bytes& d) {
  if (d.size() <= quillon::modem::kHeaderSize) return {};
  const char* text = reinterpret_cast<const char*>(d.data() + quillon::modem::kHeaderSize);
  const size_t length = d.size() - quillon::modem::kHeaderSize;
  size_t end = 0;
  while (end < length && text[end] != 0) ++end;
  return std::string(text, end);
}

}  // namespace test_support
