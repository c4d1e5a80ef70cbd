// The engine's round trip against modemsim on loopback, against a bare UDP ping-pong with the
// same simulator in the same run (target: at most twice the bare time), and the engine's round
// trip while a flooder sends it 20,000 junk datagrams a second (target: the right reply is
// still taken within 10 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <thread>

#include "../bench_main.h"
#include "config/system_config.h"
#include "modem/engine/modemconnect.h"
#include "modem/protocol/requests.h"
#include "platform/udp_socket.h"
#include "sim_harness.h"
#include "ui/application.h"
#include "ui/console/console_backend.h"

namespace {

using namespace quillon::modem;
using Clock = std::chrono::steady_clock;

constexpr double kTargetRatio = 2.0;
constexpr double kFloodTargetMs = 10.0;
constexpr int kFloodPerSecond = 20000;
constexpr int kFloodMaxDatagrams = 400000;
constexpr auto kFloodMaxTime = std::chrono::seconds(20);

quillon::modemsim::SimProcess& Sim() {
  static std::unique_ptr<quillon::modemsim::SimProcess> sim = [] {
    std::string error;
    auto started = quillon::modemsim::SimProcess::Start(
        MODEMSIM_EXE, {"--bind", "127.0.0.1", "--port", "0", "--log", "/dev/null"}, error);
    if (!started) std::fprintf(stderr, "modemsim: %s\n", error.c_str());
    return started;
  }();
  return *sim;
}

void BM_BareUdpPingPong(benchmark::State& state) {
  const platform::UdpOpenResult opened =
      platform::OpenUdpSocket({platform::kLoopbackAddress, 0}, false);
  const platform::Ipv4Endpoint sim{platform::kLoopbackAddress, Sim().port()};
  uint16_t sequence = 0;
  std::array<uint8_t, 1024> reply;
  for (auto _ : state) {
    const Datagram request = AssembleDatagram(kDiscoveryMac, DiscoverRequest(), ++sequence);
    platform::SendDatagram(opened.socket, request.bytes.data(), request.length, sim);
    for (;;) {
      platform::WaitReadable({opened.socket}, 1000);
      const int length =
          platform::ReceiveDatagram(opened.socket, reply.data(), reply.size(), nullptr);
      if (length >= 10 && ReadBe16(reply.data() + 8) == sequence) break;
      if (length < 0 && length != -platform::WouldBlockError()) {
        state.SkipWithError("no reply");
        break;
      }
    }
  }
  platform::CloseSocket(opened.socket);
}
BENCHMARK(BM_BareUdpPingPong)->Unit(benchmark::kMicrosecond)->UseRealTime();

struct EngineWorld {
  // The real clock, as the product runs: a virtual one would jump to the discovery's time-out
  // whenever the simulator's reply took longer than its grace on a loaded machine.
  EngineWorld()
      : app(std::make_unique<ui::Application>(std::make_unique<ui::console::ConsoleBackend>())) {
    setup.DiscoverTimeout = 3;
    engine = std::make_unique<TfrmModemConnect>(*app, setup);
    engine->destinationAddress = "127.0.0.1";
    engine->destinationPort = Sim().port();
    engine->queryLineRateAfterDiscovery = false;
  }
  // One discovery run; false when it did not succeed.
  bool RoundTrip() {
    engine->state = STATE_DISCOVERY;
    engine->StartSession();
    if (tellFlooder) enginePort.store(engine->WSocket.localEndpoint()->port);
    app->backend().RunUntil([&] { return engine->sessionResult != kSessionRunning; });
    return engine->sessionResult == kSessionSucceeded;
  }
  quillon::config::Setup_Param setup;
  std::unique_ptr<ui::Application> app;
  std::unique_ptr<TfrmModemConnect> engine;
  bool tellFlooder = false;
  std::atomic<uint16_t> enginePort{0};
};

void BM_EngineRoundTrip(benchmark::State& state) {
  EngineWorld world;
  for (auto _ : state)
    if (!world.RoundTrip()) state.SkipWithError("discovery failed");
}
BENCHMARK(BM_EngineRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

double worstFloodMs = 0;
long floodSent = 0;

// Junk of every kind at the engine's current port: short datagrams, random bytes, and headers
// that look right but carry the wrong sequence number.
void Flood(EngineWorld& world, std::atomic<bool>& stop) {
  const platform::UdpOpenResult opened =
      platform::OpenUdpSocket({platform::kLoopbackAddress, 0}, false);
  std::mt19937 random(7);
  std::array<uint8_t, 200> junk{};
  const auto start = Clock::now();
  long sent = 0;
  while (!stop && sent < kFloodMaxDatagrams && Clock::now() - start < kFloodMaxTime) {
    // 20 datagrams each millisecond.
    const auto due = start + std::chrono::microseconds(sent * 1000000 / kFloodPerSecond);
    if (Clock::now() < due) {
      std::this_thread::sleep_until(due);
      continue;
    }
    const size_t length = 1 + random() % junk.size();
    for (auto& b : junk) b = static_cast<uint8_t>(random());
    if (sent % 3 == 0 && length >= 10) {
      std::fill(junk.begin(), junk.begin() + 6, 0x02);
      WriteBe16(junk.data() + 6, MSG_DISCOVER_REPLY);
    }
    platform::SendDatagram(opened.socket, junk.data(), length,
                           {platform::kLoopbackAddress, world.enginePort.load()});
    ++sent;
  }
  platform::CloseSocket(opened.socket);
  floodSent = sent;
}

void BM_EngineRoundTripUnderFlood(benchmark::State& state) {
  EngineWorld world;
  world.tellFlooder = true;
  world.RoundTrip();  // opens the socket once so the flooder has a port from the start
  std::atomic<bool> stop{false};
  std::thread flooder([&] { Flood(world, stop); });
  double worst = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!world.RoundTrip()) state.SkipWithError("discovery failed under flood");
    worst =
        std::max(worst, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  stop = true;
  flooder.join();
  worstFloodMs = std::max(worstFloodMs, worst);
  state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_EngineRoundTripUnderFlood)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  const bench::Times times = bench::RunBenchmarks(argc, argv);
  const bool ratioMet =
      bench::ReportRatio(times, "BM_EngineRoundTrip/real_time", "BM_BareUdpPingPong/real_time",
                         "engine round trip / bare UDP ping-pong", kTargetRatio);
  const bool floodMet = worstFloodMs > 0 && worstFloodMs <= kFloodTargetMs;
  std::printf(
      "slowest round trip under %d junk datagrams/s (%ld sent): %.2f ms (target <= %.0f ms): %s\n",
      kFloodPerSecond, floodSent, worstFloodMs, kFloodTargetMs, floodMet ? "met" : "MISSED");
  return ratioMet && floodMet ? 0 : 1;
}
