// The engine's receive path in every state. Input: a start state byte, a flags byte, then
// records of [length, 2 bytes][how][bytes]: each record is a datagram handed to the engine as its
// socket would hand it over; "how" may stamp the current sequence number and target MAC into it (so
// the fuzzer reaches past the header checks), fire the retry timer first, or complete a name
// lookup. The engine's own requests go to a loopback sink that is drained after each input.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "modem/engine/modemconnect.h"
#include "modem/protocol/control_header.h"
#include "net/net_errors.h"
#include "net/udp_socket.h"
#include "ui/headless/headless_backend.h"

using namespace quillon::modem;

namespace {

// Answers at once without any network: the first test host is unknown, the others resolve, so
// a name test ends after two lookups.
class TableResolver : public net::NameResolver {
 public:
  net::ResolveResult Resolve(const std::string& host) override {
    if (host == "www.example.com") return {net::kNetHostNotFound, 0};
    return {net::kNetOk, 0xC6336401};
  }
};

struct World {
  World() : app(ui::headless::MakeHeadlessApplication()), sink(app->backend()) {
    setup.DefaultTimeout = 3;
    setup.DiscoverTimeout = 3;
    setup.DSLSetTimeout = 5;
    setup.PPPSetTimeout = 4;
    setup.WirelessSetTimeout = 4;
    setup.ConfigSaveTimeout = 5;
    sink.Addr = "127.0.0.1";
    sink.Port = "9";
    sink.LocalAddr = "127.0.0.1";
    sink.onDataAvailable = [this](int) {
      std::array<uint8_t, 2048> buffer;
      const int length = sink.ReceiveFrom(buffer.data(), buffer.size());
      if (length >= 0 && (length < 22 || length > 522)) __builtin_trap();
    };
    sink.Open();
    engine = std::make_unique<TfrmModemConnect>(*app, setup, std::make_shared<TableResolver>());
    engine->destinationAddress = "127.0.0.1";
    engine->destinationPort = sink.localEndpoint()->port;
  }
  quillon::config::Setup_Param setup;
  std::unique_ptr<ui::Application> app;
  net::UdpSocket sink;
  std::unique_ptr<TfrmModemConnect> engine;
};

World& world() {
  static World w;
  return w;
}

void Check(const TfrmModemConnect& engine) {
  const int32_t result = engine.sessionResult;
  if (result < 0 || result > 2) __builtin_trap();
  if (engine.Memo1.Lines().size() > LogMemo::kMaxLines) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  World& w = world();
  TfrmModemConnect& engine = *w.engine;
  engine.queryLineRateAfterDiscovery = (data[1] & 1) != 0;
  engine.queryPvc1AfterLineRate = (data[1] & 2) != 0;
  engine.testDnsAfterWanUp = (data[1] & 4) != 0;
  engine.modemSettings.wlSecurity = (data[1] & 8) ? "PSK" : "";
  engine.state = 1 + data[0] % 9;
  engine.StartSession();
  size_t at = 2;
  while (at + 3 <= size) {
    const size_t length = std::min<size_t>((data[at] << 8) | data[at + 1], kReceiveBufferSize);
    const uint8_t how = data[at + 2];
    at += 3;
    std::vector<uint8_t> datagram(data + at, data + std::min(size, at + length));
    at += datagram.size();
    if (how & 4) engine.TimerTimer();
    if (how & 8) engine.PingDnsLookupDone((how & 16) ? net::kNetHostNotFound : 0);
    if (datagram.size() >= kHeaderSize) {
      if (how & 1) WriteBe16(datagram.data() + 8, engine.sequenceNumber);
      if (how & 2) std::copy(engine.targetMac.begin(), engine.targetMac.end(), datagram.begin());
    }
    engine.HandleDatagram(datagram.data(), datagram.size());
    Check(engine);
  }
  auto& backend = ui::headless::Headless(*w.app);
  backend.ProcessPending();
  Check(engine);
  // Each input is a moment of its own. Without this the whole run would be one virtual instant,
  // and the loop's guard against a handler that re-posts itself for ever (a million events
  // without time passing) went off after some 390,000 inputs, counting every input's events.
  backend.virtualClock().AdvanceTo(backend.virtualClock().NowMs() + 1);
  engine.sessionResult = kSessionFailed;  // abandon: the timer stops at its next tick
  return 0;
}
