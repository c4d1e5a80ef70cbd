// modemctl as a process against modemsim as a process, over real UDP on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"
#include "persistence.h"
#include "process_runner.h"
#include "sim_config.h"
#include "sim_harness.h"

namespace quillon::modem::test {
namespace {

constexpr int kRunLimitMs = 30000;

std::vector<std::string> ResultLines(const std::string& out) {
  std::vector<std::string> results;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with("result: ")) results.push_back(line.substr(8));
  return results;
}

class Modemctl : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    folder_ = std::filesystem::temp_directory_path() / ("modemctl_e2e_" + std::to_string(stamp));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    sim_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  void StartSim(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {
        "--bind", "127.0.0.1",   "--port", "0",     "--state-file",
        state(),  "--reboot-ms", "0",      "--log", (folder_ / "sim.log").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    std::string error;
    sim_ = modemsim::SimProcess::Start(MODEMSIM_EXE, args, error);
    ASSERT_TRUE(sim_) << error;
  }
  ProcessOutput Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), {"--dest", "127.0.0.1", "--port", std::to_string(sim_->port())});
    return RunProcess(MODEMCTL_EXE, args, kRunLimitMs);
  }
  std::string state() const { return (folder_ / "state.txt").string(); }

  std::filesystem::path folder_;
  std::unique_ptr<modemsim::SimProcess> sim_;
};

struct CtlCase {
  std::vector<std::string> args;
  std::vector<std::string> results;
  std::vector<std::string> lines;
};

TEST_F(Modemctl, DrivesEveryRequest) {
  StartSim();
  const CtlCase cases[] = {
      {{"1"}, {"1 1"}, {"token:QR-5120G"}},
      {{"--linerate-after-discovery", "1"}, {"2 1"}, {"token:lineRateUp"}},
      {{"--linerate-after-discovery", "--pvc1-after-linerate", "1"},
       {"3 1"},
       {"vpi=8 vci=35 protocol=0 encap=0"}},
      {{"1,2,3,5"}, {"1 1", "2 1", "3 1", "5 1"}, {"wlAuthMode=open"}},
      {{"--set", "connectionType=3", "--set", "vpi=0", "--set", "vci=100", "--set",
        "wlSecurity=WEP128", "--set", "wlKey=0123456789abcdef0123456789", "--set", "wlKeyNumber=2",
        "--set", "wlSsid=attic", "--set", "wlCountryCode=FR", "--set", "wlChannel=3", "1,4,6,7"},
       {"1 1", "4 1", "6 1", "7 1"},
       {}},
      {{"--no-dns-after-wan-up", "1,8"}, {"1 1", "9 1"}, {"WanStatus is Up"}},
  };
  for (const CtlCase& c : cases) {
    const ProcessOutput run = Ctl(c.args);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(ResultLines(run.out), c.results) << run.out;
    for (const std::string& line : c.lines)
      EXPECT_NE(run.out.find(line + "\n"), std::string::npos) << line << "\n" << run.out;
  }
  // What the set steps carried is what the modem saved.
  std::optional<std::string> text = modemsim::ReadWholeFile(state());
  ASSERT_TRUE(text);
  modemsim::SimConfig factory, saved;
  ASSERT_FALSE(modemsim::ApplyConfigText(*text, factory, saved));
  EXPECT_EQ(saved.pvc1.protocol, 3u);
  EXPECT_EQ(saved.pvc1.vci, 100u);
  EXPECT_EQ(saved.wireless.wlKeyBit, "0");
  EXPECT_EQ(saved.wireless.wlKey, "0123456789abcdef0123456789");
  EXPECT_EQ(saved.wireless.wlKeyNumber, "2");
  EXPECT_EQ(saved.wireless.wlSsid, "attic");
  EXPECT_EQ(saved.wireless.wlCountryCode, "FR");
}

TEST_F(Modemctl, StopsAtTheFirstFailureWithTheSettingsFilesTimeouts) {
  StartSim({"--drop-first", "1000"});
  const std::string settings = (folder_ / "dslutility.ini").string();
  std::ofstream(settings) << "DefaultTimeout=1\r\nDiscoverTimeout=1\r\n";
  const ProcessOutput run = Ctl({"--settings", settings, "1,4"});
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_EQ(ResultLines(run.out), (std::vector<std::string>{"1 0"}));
  EXPECT_NE(run.out.find("STATE_DISCOVERY timeout\nverdict: failed, no reply\nresult: 1 0\n"),
            std::string::npos)
      << run.out;
  EXPECT_GE(run.elapsedMs, 2900);
  EXPECT_LT(run.elapsedMs, 8000);
}

TEST_F(Modemctl, RejectsBadUsage) {
  StartSim();
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"9"},
                                             {"0"},
                                             {"1,x"},
                                             {"1,"},
                                             {"1", "2"},
                                             {"--set", "nope=1", "1"},
                                             {"--set", "vpi=abc", "1"},
                                             {"--set", "vpi", "1"},
                                             {"--port", "70000", "1"},
                                             {"--settings", "/nonexistent/file.ini", "1"},
                                             {"--bogus", "1"}}) {
    const ProcessOutput run = RunProcess(MODEMCTL_EXE, args, kRunLimitMs);
    std::string joined;
    for (const std::string& a : args) joined += a + " ";
    EXPECT_EQ(run.exitCode, 2) << joined << "\n" << run.out;
    EXPECT_TRUE(ResultLines(run.out).empty()) << joined;
  }
  const ProcessOutput help = RunProcess(MODEMCTL_EXE, {"--help"}, kRunLimitMs);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: modemctl"), std::string::npos);
}

}  // namespace
}  // namespace quillon::modem::test
