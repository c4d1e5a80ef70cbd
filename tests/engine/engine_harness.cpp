#include "engine_harness.h"

#include <algorithm>

#include "modem/protocol/record_text.h"
#include "net/net_errors.h"

namespace quillon::modem::test {

net::ResolveResult ScriptedResolver::Resolve(const std::string& host) {
  std::lock_guard lock(mu_);
  hosts_.push_back(host);
  if (succeedFrom_ && hosts_.size() - 1 >= *succeedFrom_) return {net::kNetOk, address_};
  return {net::kNetHostNotFound, 0};
}

std::vector<std::string> ScriptedResolver::Hosts() const {
  std::lock_guard lock(mu_);
  return hosts_;
}

void ScriptedResolver::SucceedFrom(size_t lookup, uint32_t address) {
  std::lock_guard lock(mu_);
  succeedFrom_ = lookup;
  address_ = address;
}

ScriptedPeer::ScriptedPeer(ui::Application& app) : app_(app), socket_(app.backend()) {
  socket_.Addr = "127.0.0.1";
  socket_.Port = "9";
  socket_.LocalAddr = "127.0.0.1";
  socket_.LocalPort = "0";
  socket_.onDataAvailable = [this](int) {
    Received r;
    r.bytes.resize(2048);
    const int length = socket_.ReceiveFrom(r.bytes.data(), r.bytes.size(), &r.from);
    if (length < 0) return;
    r.bytes.resize(static_cast<size_t>(length));
    r.atMs = app_.clock().NowMs();
    received_.push_back(r);
    if (onRequest) onRequest(received_.back());
  };
  socket_.Open();
  port_ = socket_.localEndpoint().value_or(platform::Ipv4Endpoint{}).port;
}

void ScriptedPeer::Reply(const Received& to, const Bytes& reply) {
  socket_.SendTo(reply.data(), reply.size(), to.from);
}

uint16_t CodeOf(const Bytes& d) {
  return d.size() >= 8 ? ReadBe16(d.data() + 6) : 0;
}
uint16_t SequenceOf(const Bytes& d) {
  return d.size() >= 10 ? ReadBe16(d.data() + 8) : 0;
}

MacAddress MacOf(const Bytes& d) {
  MacAddress mac{};
  if (d.size() >= 6) std::copy(d.begin(), d.begin() + 6, mac.begin());
  return mac;
}

std::string PayloadTextOf(const Bytes& d) {
  if (d.size() <= kHeaderSize) return {};
  return std::string(PayloadText(d.data() + kHeaderSize, d.size() - kHeaderSize));
}

Bytes RawReply(const MacAddress& mac, uint16_t code, uint16_t sequence, const Bytes& payload) {
  Bytes bytes(kHeaderSize);
  EncodeControlHeader(ControlHeader{mac, code, sequence}, bytes.data());
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}

Bytes TextReply(const MacAddress& mac, uint16_t code, uint16_t sequence, std::string_view text) {
  Bytes payload(text.begin(), text.end());
  payload.push_back(0);
  return RawReply(mac, code, sequence, payload);
}

std::string DiscoveryText(std::string_view model, std::string_view password, std::string_view ip) {
  return "<macAddress=02:00:00:51:20:01><fwVersion=2.0.3><modelName=" + std::string(model) +
         "><hwVersion=A1><routerPassword=" + std::string(password) +
         "><ipAddress=" + std::string(ip) + ">";
}

std::string LineRateText(int downFlag) {
  return "<lineRateUp=1024><lineRateDown=8192><lineDown=" + std::to_string(downFlag) + ">";
}

std::string WanStatusText(int status) {
  return "<wanStatus=" + std::to_string(status) + ">";
}

config::Setup_Param ShippedTimeouts() {
  config::Setup_Param setup;
  setup.DefaultTimeout = 3;
  setup.DiscoverTimeout = 3;
  setup.DSLSetTimeout = 5;
  setup.PPPSetTimeout = 4;
  setup.WirelessSetTimeout = 4;
  setup.ConfigSaveTimeout = 5;
  return setup;
}

EngineRig::EngineRig()
    : app(ui::headless::MakeHeadlessApplication()),
      backend(ui::headless::Headless(*app)),
      setup(ShippedTimeouts()),
      resolver(std::make_shared<ScriptedResolver>()),
      engine(std::make_unique<TfrmModemConnect>(*app, setup, resolver)) {
  engine->destinationAddress = "127.0.0.1";
}

EngineRig::~EngineRig() {
  engine.reset();
}

bool EngineRig::RunUntilDone(int64_t virtualMs) {
  return backend.RunUntil([this] { return engine->sessionResult != kSessionRunning; }, virtualMs);
}

int EngineRig::CountLog(std::string_view line) const {
  const auto& lines = engine->Memo1.Lines();
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> EngineRig::LogSince(size_t first) const {
  const auto& lines = engine->Memo1.Lines();
  if (first >= lines.size()) return {};
  return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
}

void EngineRig::Start(int32_t state, uint16_t port) {
  engine->destinationAddress = "127.0.0.1";
  engine->destinationPort = port;
  engine->state = state;
  engine->StartSession();
}

}  // namespace quillon::modem::test
