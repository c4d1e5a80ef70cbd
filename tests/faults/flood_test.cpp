// The hardware link check on the real clock while 20,000 junk and stale datagrams a second hit
// the engine's socket: the check must still succeed with the modem's own settings. How late the
// UI thread gets under the flood is a speed figure: bench/engine measures it.
#include <gtest/gtest.h>

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

constexpr int kFloodPerSecond = 20000;
constexpr std::int64_t kProbeIntervalMs = 10;
// The check takes about four seconds, some 80,000 datagrams at the full rate. A thousand read by
// the engine tells that the flood reached the check's sockets; a machine would have to slow the
// flooder eighty-fold to miss it.
constexpr long kMinDatagramsRead = 1000;
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

TEST_F(EngineUnderLoad, HardwareCheckSucceedsUnderTheFlood) {
  auto& engine = *app::windows().modemConnect;
  auto& pop = *app::windows().showPopMessage;
  DatagramFlood flood(kFloodPerSecond, kModemMac);
  long handled = 0;
  const auto original = engine.WSocket.onDataAvailable;
  engine.WSocket.onDataAvailable = [&handled, original](int error) {
    ++handled;
    original(error);
  };

  // The probe: a periodic timer on the UI thread that tells the flood where the engine listens
  // now and answers a message, should one come, as the user would.
  std::vector<std::string> messages;
  const auto giveUp = Clock::now() + kGiveUpAfter;
  const auto publish = [&] {
    if (const auto local = engine.WSocket.localEndpoint()) flood.targetPort = local->port;
    flood.engineSequence = engine.stepSequences().first;
  };
  publish();
  const auto probe = backend_->StartTimer(kProbeIntervalMs, [&] {
    publish();
    if (pop.visible()) {
      messages.push_back(pop.lblShowMessage.caption());
      pop.btnOk.Click();
    }
    if (Clock::now() > giveUp) backend_->Quit();
  });

  flood.Start();
  main().currentPage = app::PAGE_CHECK_HW_LINK;
  main().showPage();
  backend_->RunUntil([&] { return main().currentPage != app::PAGE_CHECK_HW_LINK; });
  flood.Stop();
  backend_->StopTimer(probe);
  engine.WSocket.onDataAvailable = original;
  std::printf("[ flood    ] %ld datagrams sent, %ld refused, %ld read by the engine\n",
              flood.sent(), flood.failed(), handled);

  EXPECT_EQ(main().currentPage, app::PAGE_ISP_SELECTION);
  EXPECT_TRUE(messages.empty()) << messages.front();
  // The settings came from the modem, not from a stale reply of the flood.
  EXPECT_EQ(main().values.wanProtocol, "PPPoA");
  EXPECT_EQ(main().controls().edtUsername.text(), "alice@isp.example");
  EXPECT_EQ(main().controls().edtSSID.text(), "garden");
  EXPECT_EQ(engine.discoveredModel, "QR-5120G");
  EXPECT_GE(handled, kMinDatagramsRead);
}

}  // namespace
}  // namespace faults
