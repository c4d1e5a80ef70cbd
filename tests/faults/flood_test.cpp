// The hardware link check on the real clock while 20,000 junk and stale datagrams a second hit
// the engine's socket: the check must still succeed with the modem's own settings, and a
// periodic timer on the UI thread must never fire more than 50 ms late while the check runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cd_image.h"
#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/link_check_pages.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "app/program_windows.h"
#include "datagram_flood.h"
#include "dialogs/frmshowpopmessage.h"
#include "fault_wizard.h"
#include "modem/engine/modemconnect.h"
#include "sim_harness.h"
#include "ui/application.h"
#include "ui/console/console_backend.h"
#include "ui/picture_cache.h"

namespace faults {
namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kFloodPerSecond = 20000;
constexpr std::int64_t kProbeIntervalMs = 10;
constexpr double kWorstLatenessMs = 50;
// The check takes about four seconds on the real clock; past this something hangs.
constexpr auto kGiveUpAfter = std::chrono::seconds(30);
constexpr quillon::modem::MacAddress kModemMac = {0x02, 0x00, 0x00, 0x51, 0x20, 0x01};

constexpr const char* kModemConfig =
    "saved.pvc1.vpi=0\nsaved.pvc1.vci=38\nsaved.pvc1.protocol=1\nsaved.pvc1.encap=0\n"
    "saved.pvc1.pppUsername=alice@isp.example\nsaved.pvc1.pppPassword=s3cret\n"
    "saved.wireless.wlSsid=garden\n";

// The wizard on the console backend: real time, real sockets, no windows.
class EngineUnderLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime_ = cd_.root() / "runtime";
    std::filesystem::create_directories(runtime_);
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", runtime_.c_str(), 1);
    app::SetExecutablePathForTests(cd_.exePath());
    auto backend = std::make_unique<ui::console::ConsoleBackend>();
    backend_ = backend.get();
    app_ = std::make_unique<ui::Application>(std::move(backend));
    app_->SetTitle("Norvane Quillon");
    app_->SetHaltHandler([](int code) { throw ui::HaltRequested{code}; });
    adaptersScope_.emplace(noAdapters_);
    app::windows().CreateAll(*app_);
    app::processState() = app::ProcessState{};
    main().Show();

    cd_.Write("modem.txt", kModemConfig);
    std::string error;
    sim_ = quillon::modemsim::SimProcess::Start(
        MODEMSIM_EXE,
        {"--bind", "127.0.0.1", "--port", "0", "--reboot-ms", "0", "--config",
         (cd_.root() / "modem.txt").string(), "--log", (cd_.root() / "sim.log").string()},
        error);
    ASSERT_TRUE(sim_) << error;
    auto& engine = *app::windows().modemConnect;
    engine.WSocket.redirect = platform::Ipv4Endpoint{platform::kLoopbackAddress, sim_->port()};
    engine.destinationAddress = "127.0.0.1";
    app::FindPageGroup<app::LinkCheckPages>(main())->broadcastAddress = "127.0.0.1";
  }
  void TearDown() override {
    app::windows().DestroyAll();
    app::SetExecutablePathForTests({});
    ui::PictureCache::Instance().Clear();
    adaptersScope_.reset();
    if (sim_) sim_->Stop();
    unsetenv("XDG_CONFIG_HOME");
  }

  app::TmainForm& main() { return *app::windows().mainForm; }

  CdImage cd_;
  std::filesystem::path runtime_;
  std::unique_ptr<ui::Application> app_;
  ui::console::ConsoleBackend* backend_ = nullptr;
  NoAdapters noAdapters_;
  std::optional<platform::ScopedNetworkAdapters> adaptersScope_;
  std::unique_ptr<quillon::modemsim::SimProcess> sim_;
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

TEST_F(EngineUnderLoad, HardwareCheckSucceedsWhileTheUiKeepsTicking) {
  auto& engine = *app::windows().modemConnect;
  auto& pop = *app::windows().showPopMessage;
  DatagramFlood flood(kFloodPerSecond, kModemMac);
  long handled = 0;
  const auto original = engine.WSocket.onDataAvailable;
  engine.WSocket.onDataAvailable = [&handled, original](int error) {
    ++handled;
    original(error);
  };

  // The probe: a periodic timer on the UI thread that also tells the flood where the engine
  // listens now and answers a message, should one come, as the user would.
  std::vector<double> lateness;
  std::vector<std::string> messages;
  std::optional<Clock::time_point> lastTick;
  bool lastChecking = false;
  const auto giveUp = Clock::now() + kGiveUpAfter;
  const auto publish = [&] {
    if (const auto local = engine.WSocket.localEndpoint()) flood.targetPort = local->port;
    flood.engineSequence = engine.stepSequences().first;
  };
  publish();
  const auto probe = backend_->StartTimer(kProbeIntervalMs, [&] {
    const auto now = Clock::now();
    // The page blocks the UI thread for a second before it leaves for the next page; that
    // pause is the page's own, so a tick after it no longer counts.
    const bool checking = main().currentPage == app::PAGE_CHECK_HW_LINK;
    if (lastTick && lastChecking && checking)
      lateness.push_back(Ms(now - *lastTick).count() - kProbeIntervalMs);
    lastTick = now;
    lastChecking = checking;
    publish();
    if (pop.visible()) {
      messages.push_back(pop.lblShowMessage.caption());
      pop.btnOk.Click();
    }
    if (now > giveUp) backend_->Quit();
  });

  flood.Start();
  const auto started = Clock::now();
  main().currentPage = app::PAGE_CHECK_HW_LINK;
  main().showPage();
  backend_->RunUntil([&] { return main().currentPage != app::PAGE_CHECK_HW_LINK; });
  const double checkMs = Ms(Clock::now() - started).count();
  flood.Stop();
  backend_->StopTimer(probe);
  engine.WSocket.onDataAvailable = original;

  const double worst = lateness.empty() ? 0 : *std::max_element(lateness.begin(), lateness.end());
  std::printf(
      "[ flood    ] %ld datagrams in %.2f s (%.0f a second, %ld refused), %ld read by the UI "
      "thread; check took %.0f ms; timer lateness over %zu ticks: median %.3f ms, 99th %.3f ms, "
      "worst %.3f ms\n",
      flood.sent(), flood.seconds(), flood.sent() / std::max(flood.seconds(), 1e-9), flood.failed(),
      handled, checkMs, lateness.size(), Percentile(lateness, 0.5), Percentile(lateness, 0.99),
      worst);

  EXPECT_EQ(main().currentPage, app::PAGE_ISP_SELECTION) << "after " << checkMs << " ms";
  EXPECT_TRUE(messages.empty()) << messages.front();
  // The settings came from the modem, not from a stale reply of the flood.
  EXPECT_EQ(main().values.wanProtocol, "PPPoA");
  EXPECT_EQ(main().controls().edtUsername.text(), "alice@isp.example");
  EXPECT_EQ(main().controls().edtSSID.text(), "garden");
  EXPECT_EQ(engine.discoveredModel, "QR-5120G");

  // The flood ran at its rate for the whole check, and the engine's socket really got it.
  EXPECT_GE(flood.sent(), static_cast<long>(0.9 * kFloodPerSecond * flood.seconds()));
  EXPECT_GE(flood.seconds() * 1000, checkMs - 50);
  EXPECT_GT(handled, flood.sent() / 2);
  // The UI thread kept ticking: most ticks of the check were seen, none of them late.
  EXPECT_GT(static_cast<double>(lateness.size()), 0.5 * (checkMs - 1000) / kProbeIntervalMs);
  EXPECT_LT(worst, kWorstLatenessMs);
}

}  // namespace
}  // namespace faults
