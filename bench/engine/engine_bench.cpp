// The engine's round trip against modemsim on loopback, against a bare UDP ping-pong with the
// same simulator in the same run (target: at most twice the bare time); the engine's round trip
// while the fault tests' flood sends it 20,000 junk and stale datagrams a second (target: the
// right reply is still taken within 10 ms); and how late a 10 ms timer on the same UI thread
// fires while the engine runs a discovery each tick, with the flood and without it in the same
// run (target: never more than 50 ms late under the flood).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../bench_main.h"
#include "config/system_config.h"
#include "datagram_flood.h"
#include "modem/engine/modemconnect.h"
#include "modem/protocol/requests.h"
#include "platform/udp_socket.h"
#include "sim_harness.h"
#include "ui/application.h"
#include "ui/console/console_backend.h"

namespace {

using namespace quillon::modem;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr double kTargetRatio = 2.0;
constexpr double kFloodTargetMs = 10.0;
constexpr int kFloodPerSecond = 20000;
constexpr MacAddress kSimMac = {0x02, 0x00, 0x00, 0x51, 0x20, 0x01};  // modemsim's own
constexpr std::int64_t kTickMs = 10;
constexpr size_t kLatenessTicks = 400;  // four seconds, as long as a hardware check
constexpr double kLatenessTargetMs = 50.0;

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
  // Starts a discovery run.
  void Start() {
    engine->state = STATE_DISCOVERY;
    engine->StartSession();
    // The socket and the sequence numbers are new with each run.
    if (const auto local = engine->WSocket.localEndpoint(); local && flood) {
      flood->targetPort = local->port;
      flood->engineSequence = engine->stepSequences().first;
    }
  }
  bool running() const { return engine->sessionResult == kSessionRunning; }
  // One discovery run; false when it did not succeed.
  bool RoundTrip() {
    Start();
    app->backend().RunUntil([&] { return !running(); });
    return engine->sessionResult == kSessionSucceeded;
  }
  quillon::config::Setup_Param setup;
  std::unique_ptr<ui::Application> app;
  std::unique_ptr<TfrmModemConnect> engine;
  faults::DatagramFlood* flood = nullptr;  // told where the engine listens
};

void BM_EngineRoundTrip(benchmark::State& state) {
  EngineWorld world;
  for (auto _ : state)
    if (!world.RoundTrip()) state.SkipWithError("discovery failed");
}
BENCHMARK(BM_EngineRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

double worstFloodMs = 0;
long floodSent = 0;

void BM_EngineRoundTripUnderFlood(benchmark::State& state) {
  EngineWorld world;
  faults::DatagramFlood flood(kFloodPerSecond, kSimMac);
  world.flood = &flood;
  flood.Start();  // holds fire until the first run tells it the port
  double worst = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!world.RoundTrip()) state.SkipWithError("discovery failed under flood");
    worst = std::max(worst, Ms(Clock::now() - start).count());
  }
  flood.Stop();
  worstFloodMs = std::max(worstFloodMs, worst);
  floodSent = flood.sent();
  state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_EngineRoundTripUnderFlood)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

struct Lateness {
  std::vector<double> ms;  // one a tick
  long sent = 0;           // by the flood
  long read = 0;           // of the flood's by the engine's socket
  long failed = 0;         // discoveries
  double median() const { return Percentile(ms, 0.5); }
  double p99() const { return Percentile(ms, 0.99); }
  double worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};
Lateness quietLateness;
Lateness floodLateness;

// A periodic timer on the UI thread that, as a page's timer does, starts the engine's next
// discovery whenever the last one has ended; a tick's lateness is its distance from the tick
// before, less the period. The loop serves a readable socket before a due timer, so under the
// flood every datagram competes with the ticks.
void MeasureLateness(benchmark::State& state, Lateness& out, bool flooded) {
  out = Lateness{};
  EngineWorld world;
  std::optional<faults::DatagramFlood> flood;
  if (flooded) {
    flood.emplace(kFloodPerSecond, kSimMac);
    world.flood = &*flood;
    flood->Start();
  }
  auto& socket = world.engine->WSocket;
  const auto original = socket.onDataAvailable;
  socket.onDataAvailable = [&out, original](int error) {
    ++out.read;
    original(error);
  };
  const auto ended = [&] {
    if (world.engine->sessionResult == kSessionSucceeded)
      --out.read;  // modemsim's one reply
    else
      ++out.failed;
  };
  for (auto _ : state) {
    std::optional<Clock::time_point> last;
    auto& backend = world.app->backend();
    world.Start();
    const auto timer = backend.StartTimer(kTickMs, [&] {
      const auto now = Clock::now();
      if (last) out.ms.push_back(Ms(now - *last).count() - static_cast<double>(kTickMs));
      last = now;
      if (!world.running()) {
        ended();
        world.Start();
      }
    });
    // A loop that no longer gets to its timers must not hang the benchmark: past twice the
    // measurement's length the awaited tick counts as late as it is by then.
    const auto begun = Clock::now();
    const auto giveUp = begun + 2 * kLatenessTicks * std::chrono::milliseconds(kTickMs);
    backend.RunUntil([&] { return out.ms.size() >= kLatenessTicks || Clock::now() > giveUp; });
    if (out.ms.size() < kLatenessTicks)
      out.ms.push_back(Ms(Clock::now() - last.value_or(begun)).count() -
                       static_cast<double>(kTickMs));
    backend.StopTimer(timer);
    // The engine's own time-outs wait behind the flood too.
    if (flood) flood->Stop();
    backend.RunUntil([&] { return !world.running(); });
    ended();
  }
  if (out.failed > 0) state.SkipWithError("discovery failed");
  if (flood) out.sent = flood->sent();
  socket.onDataAvailable = original;
  state.counters["median_ms"] = out.median();
  state.counters["p99_ms"] = out.p99();
  state.counters["worst_ms"] = out.worst();
}

void BM_UiTimerLateness(benchmark::State& state) {
  MeasureLateness(state, quietLateness, false);
}
BENCHMARK(BM_UiTimerLateness)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_UiTimerLatenessUnderFlood(benchmark::State& state) {
  MeasureLateness(state, floodLateness, true);
}
BENCHMARK(BM_UiTimerLatenessUnderFlood)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

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
  const bool latenessMet = floodLateness.ms.size() >= kLatenessTicks &&
                           quietLateness.ms.size() >= kLatenessTicks && floodLateness.failed == 0 &&
                           quietLateness.failed == 0 && floodLateness.worst() <= kLatenessTargetMs;
  std::printf(
      "UI timer (every %lld ms) lateness under the flood (%zu ticks; %ld datagrams sent, %ld read "
      "by the engine): median %.3f ms, 99th %.3f ms, worst %.3f ms; without it (%zu ticks): "
      "median %.3f ms, 99th %.3f ms, worst %.3f ms (target: worst under the flood <= %.0f ms): "
      "%s\n",
      static_cast<long long>(kTickMs), floodLateness.ms.size(), floodLateness.sent,
      floodLateness.read, floodLateness.median(), floodLateness.p99(), floodLateness.worst(),
      quietLateness.ms.size(), quietLateness.median(), quietLateness.p99(), quietLateness.worst(),
      kLatenessTargetMs, latenessMet ? "met" : "MISSED");
  return ratioMet && floodMet && latenessMet ? 0 : 1;
}
