// The quick installation against modemsim on the headless backend. Virtual time carries every
// timer of the pages, so a run's virtual duration must equal the minimum its timers allow (from
// the settings file and the pages' fixed intervals), and the real time it takes is overhead: our
// own processor time, plus waiting for the simulator. Our own part is held against a target of
// 100 ms and against a reference measured in the same run: as many bare request and reply
// exchanges with the simulator as the run made.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "../bench_main.h"
#include "app/apply_pages.h"
#include "modem/protocol/requests.h"
#include "walk.h"

namespace {

using namespace test_support;
using Clock = std::chrono::steady_clock;

constexpr double kTargetOverheadMs = 100.0;

// The pages' fixed timer intervals.
constexpr std::int64_t kLinkCheckTickMs = 2000;  // Ethernet and DSL checks
constexpr std::int64_t kHardwareWatchMs = 1000;  // the hardware check's watch
constexpr std::int64_t kHardwarePauseMs = 1000;  // before the ISP page
constexpr std::int64_t kApplyWatchMs = 2000;     // the software link check's first watch
constexpr std::int64_t kWanWatchMs = 3000;       // from the WAN status query on
constexpr std::int64_t kFinishPauseMs = 2000;    // before the completion page

// With instant replies every step ends within its first watch tick.
std::int64_t SoftwareLinkMinimumMs(std::int32_t resetWaitTime, bool radio) {
  const int stepsBeforeReboot = radio ? 4 : 3;  // line, set WAN, [set radio,] save
  return kApplyWatchMs * stepsBeforeReboot + app::SoftwareLinkPage::RebootWaitMs(resetWaitTime) +
         kWanWatchMs + kFinishPauseMs;
}

std::int64_t QuickInstallationMinimumMs(std::int32_t resetWaitTime, bool radio) {
  // The hardware check: line and WAN query, [radio query,] the finishing tick, then its pause.
  const std::int64_t hardware = kHardwareWatchMs * (radio ? 3 : 2) + kHardwarePauseMs;
  return 2 * kLinkCheckTickMs + hardware + SoftwareLinkMinimumMs(resetWaitTime, radio);
}

// The fixture outside a test: set up and torn down per run.
class Rig : public QuickInstallWalk {
 public:
  void TestBody() override {}
  void Up() { SetUp(); }
  void Down() { TearDown(); }
  using ApplyE2ETest::RunSoftwareLinkPage;
  using QuickInstallWalk::Prepare;
  using QuickInstallWalk::WalkTo;
  app::TmainForm& Main() { return main(); }
  std::int64_t VirtualNowMs() { return backend().virtualClock().NowMs(); }
  std::size_t Exchanges() const { return peer->requests().size(); }
  std::uint16_t SimPort() const { return sim_->port(); }
  quillon::modem::TfrmModemConnect& TheEngine() { return Engine(); }
  // The loop's wait for loopback datagrams before it moves virtual time on; a reply that comes
  // later costs a resend, which shows as virtual time over the minimum.
  void ShortGrace() { backend().SetSocketGraceMs(2); }
};

// Bare discovery exchanges with the simulator, as fast as the loopback allows.
double BareExchangesMs(std::uint16_t port, std::size_t count) {
  quillon::modemsim::LoopbackProbe probe(port);
  const auto start = Clock::now();
  for (std::size_t i = 0; i < count; ++i) {
    const auto datagram = quillon::modem::AssembleDatagram(quillon::modem::kDiscoveryMac,
                                                           quillon::modem::DiscoverRequest(),
                                                           static_cast<std::uint16_t>(i + 1));
    probe.Send(datagram.bytes.data(), datagram.length);
    probe.Receive(1000);
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of the whole process (the UI thread, the workers, the lookup helpers): the
// wizard's own work. The rest of the wall time is waiting: for the simulator over the loopback,
// and the headless loop's grace for datagrams before it moves virtual time on.
double ProcessCpuMs() {
  return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Runs a fresh rig once an iteration and reports the figures of the last run. `prepare` sets the
// rig up before the clocks start, `run` is what is timed and says whether it reached the
// completion page, and `minimumMs` gives the run's timer-bound minimum.
template <typename Prepare, typename Run, typename Minimum>
void Measure(benchmark::State& state, const char* failure, Prepare prepare, Run run,
             Minimum minimumMs) {
  double wallMs = 0, cpuMs = 0, referenceMs = 0;
  std::int64_t virtualMs = 0, minimum = 0;
  for (auto _ : state) {
    Rig rig;
    rig.Up();
    rig.Prepare(Edition::kPlain);
    rig.ShortGrace();
    prepare(rig);
    const std::int64_t virtualStart = rig.VirtualNowMs();
    const double cpuStart = ProcessCpuMs();
    const auto start = Clock::now();
    const bool reached = run(rig);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double cpu = ProcessCpuMs() - cpuStart;
    if (!reached || rig.Main().currentPage != app::PAGE_INSTALL_COMPLETE_ALONE) {
      state.SkipWithError(failure);
      rig.Down();
      break;
    }
    state.SetIterationTime(ms / 1000.0);
    wallMs = ms;
    cpuMs = cpu;
    virtualMs = rig.VirtualNowMs() - virtualStart;
    minimum = minimumMs(rig.Main());
    referenceMs = BareExchangesMs(rig.SimPort(), rig.Exchanges());
    rig.Down();
  }
  state.counters["wall_ms"] = wallMs;
  state.counters["own_cpu_ms"] = cpuMs;
  state.counters["virtual_s"] = static_cast<double>(virtualMs) / 1000.0;
  state.counters["timer_minimum_s"] = static_cast<double>(minimum) / 1000.0;
  state.counters["virtual_over_minimum_ms"] = static_cast<double>(virtualMs - minimum);
  state.counters["bare_exchanges_ms"] = referenceMs;
  state.counters["x_bare_exchanges"] = referenceMs > 0 ? cpuMs / referenceMs : 0;
  state.counters["x_target_100ms"] = cpuMs / kTargetOverheadMs;
}

void BM_QuickInstallationFromTheMainMenu(benchmark::State& state) {
  Measure(
      state, "the walk did not reach the completion page", [](Rig&) {},
      [](Rig& rig) {
        rig.WalkTo(kIsps[0], /*radioOn=*/true, Edition::kPlain);
        return true;
      },
      [](auto& f) {
        return QuickInstallationMinimumMs(f.systemConfig.setup.ResetWaitTime, f.wirelessModule);
      });
}
BENCHMARK(BM_QuickInstallationFromTheMainMenu)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SoftwareLinkCheck(benchmark::State& state) {
  Measure(
      state, "the software link check did not succeed",
      [](Rig& rig) {
        auto& f = rig.Main();
        f.wirelessModule = true;
        f.radioEnabled = true;
        auto& s = rig.TheEngine().modemSettings;
        s.connectionType = quillon::modem::kConnectionPppoe;
        s.pppUserName = "alice";
        s.wlSsid = "Garden Net";
        s.wlSecurity = quillon::modem::kSecurityPsk;
        s.wlKey = "correct horse battery";
        rig.TheEngine().queryLineRateAfterDiscovery = true;
        f.values.wirelessSecurity = "WPA PSK";
      },
      [](Rig& rig) { return rig.RunSoftwareLinkPage(); },
      [](auto& f) { return SoftwareLinkMinimumMs(f.systemConfig.setup.ResetWaitTime, true); });
}
BENCHMARK(BM_SoftwareLinkCheck)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // No DHCP client, no shell, no registry outside the rig's own folders: the rig's fakes hold.
  setenv("QUILLON_DHCLIENT", "none", 1);
  bench::RunBenchmarks(argc, argv);
  return 0;
}
