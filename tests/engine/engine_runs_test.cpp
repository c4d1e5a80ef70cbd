// Every run the wizard makes, against the firmware simulator as a separate process over real UDP
// on 127.0.0.1, with the engine in virtual time.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "engine_harness.h"
#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"
#include "persistence.h"
#include "sim_config.h"
#include "sim_harness.h"

namespace quillon::modem::test {
namespace {

struct Step {
  int32_t state;
  bool lineRateAfterDiscovery = false;
  bool pvc1AfterLineRate = false;
  bool dnsAfterWanUp = false;
  int32_t endState = 0;  // the state the run ends in
  int32_t result = kSessionSucceeded;
};

struct RunCase {
  std::string name;
  std::vector<std::string> simArgs;
  std::vector<Step> steps;
  std::vector<std::string> expectedLines;  // each appears in the log
};

std::string UniqueFolder(const std::string& name) {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto folder = std::filesystem::temp_directory_path() /
                      ("engine_runs_" + name + "_" + std::to_string(stamp));
  std::filesystem::create_directories(folder);
  return folder.string();
}

// A simulator on 127.0.0.1 that keeps its state file and log in the folder; later arguments
// override the reboot time.
std::unique_ptr<modemsim::SimProcess> StartSim(const std::string& folder,
                                               const std::vector<std::string>& more) {
  std::vector<std::string> args = {"--bind",       "127.0.0.1",           "--port",      "0",
                                   "--state-file", folder + "/state.txt", "--reboot-ms", "0",
                                   "--log",        folder + "/sim.log"};
  args.insert(args.end(), more.begin(), more.end());
  std::string error;
  auto sim = modemsim::SimProcess::Start(MODEMSIM_EXE, args, error);
  EXPECT_TRUE(sim) << error;
  return sim;
}

// The settings the wizard would hand over before applying them.
ModemSettings WizardSettings() {
  ModemSettings s;
  s.connectionType = kConnectionPppoe;
  s.vpi = 1;
  s.vci = 32;
  s.encapsulation = 0;
  s.pppUserName = "alice@isp.example";
  s.pppPassword = "s3cret";
  s.wlChannel = 11;
  s.wlSsid = "garden";
  s.wlKey = "correct horse";
  s.wlSecurity = kSecurityPsk2;
  s.wlCountryCode = "DE";
  s.wlKeyNumber = 1;
  return s;
}

class EngineRuns : public ::testing::TestWithParam<RunCase> {
 protected:
  void SetUp() override {
    folder_ = UniqueFolder(GetParam().name);
    sim_ = StartSim(folder_, GetParam().simArgs);
    ASSERT_TRUE(sim_);
    rig_.backend.SetSocketGraceMs(50);
    rig_.resolver->SucceedFrom(0, 0xC6336401);
  }
  void TearDown() override {
    sim_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::optional<modemsim::SimConfig> SavedConfig() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      if (const auto text = modemsim::ReadWholeFile(folder_ + "/state.txt")) {
        modemsim::SimConfig factory, saved;
        if (!modemsim::ApplyConfigText(*text, factory, saved)) return saved;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
  }

  std::string folder_;
  std::unique_ptr<modemsim::SimProcess> sim_;
  EngineRig rig_;
};

TEST_P(EngineRuns, EndsAsTheWizardExpects) {
  const RunCase& c = GetParam();
  TfrmModemConnect& engine = *rig_.engine;
  engine.modemSettings = WizardSettings();
  for (const Step& step : c.steps) {
    engine.queryLineRateAfterDiscovery = step.lineRateAfterDiscovery;
    engine.queryPvc1AfterLineRate = step.pvc1AfterLineRate;
    engine.testDnsAfterWanUp = step.dnsAfterWanUp;
    rig_.Start(step.state, sim_->port());
    ASSERT_TRUE(rig_.RunUntilDone()) << "start state " << step.state;
    ASSERT_EQ(engine.sessionResult, step.result) << "start state " << step.state;
    ASSERT_EQ(engine.state, step.endState) << "start state " << step.state;
  }
  for (const std::string& line : c.expectedLines)
    EXPECT_GE(rig_.CountLog(line), 1) << "missing log line: " << line;
}

const Step kEthernetCheck{STATE_DISCOVERY, false, false, false, STATE_DISCOVERY};
const Step kDslCheck{STATE_DISCOVERY, true, false, false, STATE_QUERY_LINERATE};
const Step kHwCheck{STATE_DISCOVERY, true, true, false, STATE_QUERY_PVC1};

INSTANTIATE_TEST_SUITE_P(
    Wizard, EngineRuns,
    ::testing::Values(
        RunCase{"EthernetCheck", {}, {kEthernetCheck}, {"token:QR-5120G", "token:tulip"}},
        RunCase{"DslCheck", {}, {kDslCheck}, {"token:lineRateUp", "token:0"}},
        RunCase{"DslCheckLineDown",
                {"--line-down"},
                {{STATE_DISCOVERY, true, false, false, STATE_QUERY_LINERATE, kSessionFailed}},
                {"ADSL is down", "STATE_QUERY_LINERATE timeout"}},
        RunCase{"HardwareCheck",
                {},
                {kHwCheck,
                 {STATE_QUERY_PVC1, true, true, false, STATE_QUERY_PVC1},
                 {STATE_QUERY_WIRELESS, true, true, false, STATE_QUERY_WIRELESS}},
                {"wlAuthMode=open"}},
        RunCase{"ApplySettings",
                {},
                {{STATE_DISCOVERY, true, false, false, STATE_QUERY_LINERATE},
                 {STATE_SET_PVC1, true, false, true, STATE_SET_PVC1},
                 {STATE_SET_WIRELESS, true, false, true, STATE_SET_WIRELESS},
                 {STATE_CMD_SAVEREBOOT, true, false, true, STATE_CMD_SAVEREBOOT},
                 {STATE_QUERY_WANSTATUS, true, false, true, STATE_WAN_UP}},
                {"WanStatus is Up", "Ping www.example.com", "DNS Result: 198.51.100.1"}},
        RunCase{"WanComesUpAfterPolls",
                {"--wan-up-polls", "4"},
                {kEthernetCheck, {STATE_QUERY_WANSTATUS, false, false, false, STATE_WAN_UP}},
                {"WanStatus is Up"}},
        RunCase{
            "WanNeverUp",
            {"--wan-up-polls", "100"},
            {kEthernetCheck,
             {STATE_QUERY_WANSTATUS, false, false, false, STATE_QUERY_WANSTATUS, kSessionFailed}},
            {"STATE_QUERY_WANSTATUS timeout"}},
        // A token the wizard does not read may be longer than the table keeps.
        RunCase{"LongFirmwareVersion",
                {"--firmware-version", std::string(130, 'v')},
                {kHwCheck},
                {"token:QR-5120G"}},
        RunCase{"FirstRequestsLost", {"--drop-first", "2"}, {kHwCheck}, {}},
        RunCase{"DuplicatedReplies", {"--duplicates", "3"}, {kHwCheck}, {}},
        // Each reply carries the number of the send before: the first is refused, the answer
        // to the first send, which comes after the resend, completes the step.
        RunCase{"StaleSequenceNumbers", {"--stale-seq", "1"}, {kEthernetCheck}, {"token:QR-5120G"}},
        RunCase{"ForeignModem",
                {"--foreign-mac", "1"},
                // Its discovery reply names another MAC, which the requests then carry and the
                // modem ignores.
                {{STATE_DISCOVERY, true, true, false, STATE_QUERY_LINERATE, kSessionFailed}},
                {"STATE_QUERY_LINERATE timeout"}},
        RunCase{"MalformedTokens",
                {"--malformed-tokens", "1"},
                {{STATE_DISCOVERY, false, false, false, STATE_DISCOVERY, kSessionFailed}},
                {"STATE_DISCOVERY receive error", "STATE_DISCOVERY timeout"}},
        RunCase{"TruncatedRecords",
                {"--truncate-records", "1"},
                {{STATE_DISCOVERY, true, true, false, STATE_QUERY_PVC1, kSessionFailed}},
                {"STATE_QUERY_PVC1 timeout"}},
        RunCase{
            "NoReturnAfterReboot",
            {"--no-return-after-reboot"},
            {kEthernetCheck,
             {STATE_CMD_SAVEREBOOT, false, false, false, STATE_CMD_SAVEREBOOT},
             {STATE_QUERY_WANSTATUS, false, false, false, STATE_QUERY_WANSTATUS, kSessionFailed}},
            {"STATE_QUERY_WANSTATUS timeout"}}),
    [](const ::testing::TestParamInfo<RunCase>& param) { return param.param.name; });

TEST(EngineRunsSaved, AppliedSettingsAreWhatTheModemSaved) {
  const std::string folder = UniqueFolder("saved");
  auto sim = StartSim(folder, {});
  ASSERT_TRUE(sim);
  EngineRig rig;
  rig.backend.SetSocketGraceMs(50);
  TfrmModemConnect& engine = *rig.engine;
  const ModemSettings wanted = WizardSettings();
  engine.modemSettings = wanted;
  for (const int32_t state :
       {STATE_DISCOVERY, STATE_SET_PVC1, STATE_SET_WIRELESS, STATE_CMD_SAVEREBOOT}) {
    rig.Start(state, sim->port());
    ASSERT_TRUE(rig.RunUntilDone());
    ASSERT_EQ(engine.sessionResult, kSessionSucceeded) << state;
  }
  // Read back through the engine's own queries after the reboot.
  engine.modemSettings = ModemSettings{};
  rig.Start(STATE_QUERY_PVC1, sim->port());
  ASSERT_TRUE(rig.RunUntilDone());
  rig.Start(STATE_QUERY_WIRELESS, sim->port());
  ASSERT_TRUE(rig.RunUntilDone());
  ASSERT_EQ(engine.sessionResult, kSessionSucceeded);
  EXPECT_EQ(engine.modemSettings.connectionType, wanted.connectionType);
  EXPECT_EQ(engine.modemSettings.vpi, wanted.vpi);
  EXPECT_EQ(engine.modemSettings.vci, wanted.vci);
  EXPECT_EQ(engine.modemSettings.pppUserName, wanted.pppUserName);
  EXPECT_EQ(engine.modemSettings.pppPassword, wanted.pppPassword);
  EXPECT_EQ(engine.modemSettings.wlSecurity, wanted.wlSecurity);
  EXPECT_EQ(engine.modemSettings.wlKey, wanted.wlKey);
  EXPECT_EQ(engine.modemSettings.wlSsid, wanted.wlSsid);
  EXPECT_EQ(engine.modemSettings.wlCountryCode, wanted.wlCountryCode);
  // And in the simulator's saved configuration, byte for byte as the records carried them.
  sim->Send(modemsim::SimSignal::kWriteState);
  std::optional<modemsim::SimConfig> saved;
  for (int i = 0; i < 500 && !saved; ++i) {
    if (const auto text = modemsim::ReadWholeFile(folder + "/state.txt")) {
      modemsim::SimConfig factory, config;
      if (!modemsim::ApplyConfigText(*text, factory, config)) saved = config;
    }
    if (!saved) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->pvc1, Pvc1RecordFromSettings(wanted));
  EXPECT_EQ(saved->wireless, *WirelessRecordFromSettings(wanted));
  sim.reset();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

// A modem that answers later than one resend interval still completes each step, and the resend
// of save-and-reboot, which reaches it while it reboots, saves nothing a second time.
TEST(EngineRunsSlowModem, SaveAndRebootCompletesWithOneReboot) {
  const std::string folder = UniqueFolder("slow");
  auto sim = StartSim(folder, {"--reboot-ms", "1500", "--delay-ms", "600"});
  ASSERT_TRUE(sim);
  EngineRig rig;
  // Each resend goes out after 400 ms of silence, so every reply is one resend late.
  rig.backend.SetSocketGraceMs(400);
  for (const int32_t state : {STATE_DISCOVERY, STATE_CMD_SAVEREBOOT}) {
    rig.Start(state, sim->port());
    ASSERT_TRUE(rig.RunUntilDone());
    ASSERT_EQ(rig.engine->sessionResult, kSessionSucceeded) << state;
  }
  // A second save would have been written before the acknowledgement of the first came in.
  sim->Send(modemsim::SimSignal::kWriteState);
  std::string counters;
  for (int i = 0; i < 300 && counters.empty(); ++i) {
    const std::string text = modemsim::ReadWholeFile(folder + "/state.txt").value_or("");
    const size_t at = text.find("counters.saveReboots=");
    if (at != std::string::npos) counters = text.substr(at, text.find('\n', at) - at);
    if (counters.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(counters, "counters.saveReboots=1");
  sim.reset();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace quillon::modem::test
