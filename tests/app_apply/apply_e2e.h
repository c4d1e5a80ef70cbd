#pragma once

// The software link check end to end: the wizard in-process (headless, virtual time) against a
// modemsim process over real UDP on 127.0.0.1, through the test's relay.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "apply_fixture.h"
#include "sim_harness.h"
#include "sim_state.h"

class ApplyE2ETest : public ApplyWizardTest {
 protected:
  // The modem's wireless settings before the wizard: a WPA2 network of its own.
  static constexpr const char* kModemConfig =
      "saved.wireless.wlChannel=11\n"
      "saved.wireless.wlSsid=Attic\n"
      "saved.wireless.wlKeyBit=0\n"
      "saved.wireless.wlWpaPsk=modem-passphrase\n"
      "saved.wireless.wlWep=disabled\n"
      "saved.wireless.wlWpa=aes\n"
      "saved.wireless.wlAuthMode=psk2\n"
      "saved.wireless.wlCountryCode=DE\n"
      "saved.wireless.wlKeyNumber=1\n";

  void StartSim(std::vector<std::string> extra = {}) {
    const auto folder = cd_.root() / "sim";
    std::filesystem::create_directories(folder);
    stateFile_ = (folder / "state.txt").string();
    cd_.Write("sim/config.txt", modemConfig);
    std::vector<std::string> args = {
        "--bind",       "127.0.0.1", "--port",   "0",
        "--reboot-ms",  "0",         "--config", (folder / "config.txt").string(),
        "--state-file", stateFile_,  "--log",    (folder / "sim.log").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    std::string error;
    sim_ = quillon::modemsim::SimProcess::Start(MODEMSIM_EXE, args, error);
    ASSERT_TRUE(sim_) << error;
    peer->RelayTo(sim_->port());
    // The simulator is another process: on a busy machine its reply may take longer than the
    // loop's default wait before virtual time moves on, and a late reply costs a resend.
    backend().SetSocketGraceMs(15);
  }

  // Ends the simulator (it writes its state on the way out) and reads what it kept.
  std::map<std::string, std::string> StopSim() {
    if (!sim_) return {};
    const auto code = sim_->Stop();
    EXPECT_EQ(code, 0);
    sim_.reset();
    return test_support::ReadSimState(stateFile_);
  }

  // Runs the software link page from its layout until it leaves it; false when it never did.
  bool RunSoftwareLinkPage() {
    main().routines.collectSettings = nullptr;
    main().currentPage = app::PAGE_CHECK_SW_LINK;
    main().showPage();
    return backend().RunUntil([this] { return main().currentPage != app::PAGE_CHECK_SW_LINK; },
                              2 * 3600 * 1000);
  }

  void TearDown() override {
    ApplyWizardTest::TearDown();
    if (sim_) sim_->Stop();
  }

  // The modem's saved configuration at the start; a test may change it before StartSim.
  std::string modemConfig = kModemConfig;
  std::unique_ptr<quillon::modemsim::SimProcess> sim_;
  std::string stateFile_;
};
