#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_adapter/adapter_fakes.h"
#include "host/bkitlib.h"
#include "host/host_fakes.h"
#include "host/temp_env.h"
#include "host/thwlandriver.h"
#include "platform/drive_path.h"
#include "platform/registry.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace {

using adapter_testing::FakeWindows;
using adapter_testing::ScriptedShell;
using host::THWlanDriverThread;
using host_testing::RecordingRegistry;
using host_testing::ScopedEnv;
using host_testing::TempFolder;

// The driver worker on the headless clock, with the shell, the registry and the windows replaced,
// and drive C a private folder.
class DriverThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(cd.path() / host::kInstallerFolder);
    std::ofstream(cd.path() / host::kInstallerFolder / host::kInstallerProgram) << "installer";
    shell.Script("ipconfig.exe", [](const auto&) { return platform::kShellFileNotFound; });
    shell.Script(host::kUtilityName, [](const auto&) { return platform::kShellStarted; });
  }

  std::unique_ptr<THWlanDriverThread> Start() {
    auto thread = std::make_unique<THWlanDriverThread>(backend);
    thread->sourceFolder = cd.path().string() + "/";
    thread->Resume();
    return thread;
  }
  // Runs one worker to its result; elapsed is the virtual time it took.
  std::int32_t Run() {
    const std::int64_t t0 = app->clock().NowMs();
    auto thread = Start();
    EXPECT_TRUE(backend.RunUntil([&] { return thread->result != 0; }, 600000));
    elapsed = app->clock().NowMs() - t0;
    return thread->result;
  }
  // The installer writes its log when it is started.
  void InstallerWrites(std::optional<std::string> log) {
    shell.Script(host::kInstallerProgram, [this, log](const auto&) {
      if (log) std::ofstream(LogPath(), std::ios::binary) << *log;
      return platform::kShellStarted;
    });
  }
  std::string LogPath() const { return platform::LocalDrivePath(host::kInstallerLog); }
  // The adapter software as installed: its uninstall record names a folder with the utility.
  void SoftwareInstalled(bool withUtility) {
    registry.values[{platform::RegistryRoot::kLocalMachine, host::kAdapterUninstallKey}]
                   [host::kInstallLocationValue] = utility.path().string();
    if (withUtility) std::ofstream(utility.path() / host::kUtilityProgram) << "utility";
  }

  std::unique_ptr<ui::Application> app = ui::headless::MakeHeadlessApplication();
  ui::headless::HeadlessBackend& backend = ui::headless::Headless(*app);
  TempFolder drive, cd, utility;
  ScopedEnv driveC{"QUILLON_C_DRIVE", drive.path().string()};
  ScriptedShell shell{app->clock()};
  platform::ScopedShell shellScope{shell};
  RecordingRegistry registry;
  platform::ScopedRegistry registryScope{registry};
  FakeWindows windows{app->clock()};
  platform::ScopedWindows windowsScope{windows};
  std::int64_t elapsed = 0;
};

struct LogCase {
  const char* what;
  std::optional<std::string> log;
  std::int32_t result;
};

TEST_F(DriverThreadTest, TheInstallersLogDecides) {
  const LogCase cases[] = {
      {"success among other lines, blanks around",
       "[Setup]\r\nProduct=KXU-300\r\n  ResultCode=0  \r\n", 1},
      {"an error code", "[Result]\nResultCode=-3\n", 2},
      {"no result line", "[Setup]\nProduct=KXU-300\n", 2},
      {"a result line without a number", "ResultCode=\n", 2},
      {"no log at all", std::nullopt, 2},
  };
  for (const LogCase& c : cases) {
    SCOPED_TRACE(c.what);
    InstallerWrites(c.log);
    EXPECT_EQ(Run(), c.result);
    // 50 s for the installer, then 20 s after reading the log, or four more checks 5 s apart.
    EXPECT_EQ(elapsed, 70000);
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
  }
  const auto starts = shell.CallsOf(host::kInstallerProgram);
  ASSERT_EQ(starts.size(), std::size(cases));
  const platform::ShellRequest& request = starts.front().request;
  EXPECT_EQ(request.file, host::InstallerPath(cd.path().string() + "/"));
  EXPECT_EQ(request.parameters, "/s /L0009 /f2C:Setup.log");
  EXPECT_EQ(request.workingFolder, "");
  EXPECT_EQ(request.showMode, platform::ShowMode::kMinimized);
  EXPECT_EQ(request.verb, "");
}

TEST_F(DriverThreadTest, ALogThatComesLateIsFoundByALaterCheck) {
  InstallerWrites(std::nullopt);
  const std::int64_t t0 = app->clock().NowMs();
  auto thread = Start();
  ASSERT_TRUE(backend.RunUntil([&] { return app->clock().NowMs() >= t0 + 62000; }, 70000));
  std::ofstream(LogPath()) << "ResultCode=0\n";
  ASSERT_TRUE(backend.RunUntil([&] { return thread->result != 0; }, 60000));
  EXPECT_EQ(thread->result, 1);
  EXPECT_EQ(app->clock().NowMs() - t0, 65000 + 20000);
}

TEST_F(DriverThreadTest, AMissingInstallerFailsAtOnceAndAnOldLogIsNotTaken) {
  std::filesystem::remove(cd.path() / host::kInstallerFolder / host::kInstallerProgram);
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(elapsed, 0);
  EXPECT_TRUE(shell.calls().empty());

  // A log left over from an interrupted run says success; this run's installer writes none.
  std::ofstream(cd.path() / host::kInstallerFolder / host::kInstallerProgram) << "installer";
  InstallerWrites(std::nullopt);
  std::ofstream(LogPath()) << "ResultCode=0\n";
  EXPECT_EQ(Run(), 2);
}

TEST(InstallerLog, TheFirstResultLineDecides) {
  const std::pair<std::vector<std::string>, bool> cases[] = {
      {{"[Result]", "ResultCode=0"}, true},
      {{"\t ResultCode = 0 "}, true},
      {{"ResultCode=0", "ResultCode=-3"}, true},
      {{"ResultCode=-3", "ResultCode=0"}, false},
      {{"Last=1 ResultCode=0"}, true},
      {{"ResultCode=-3"}, false},
      {{"ResultCode=99999999999999999999"}, false},
      {{"ResultCode=none"}, false},
      {{"ResultCode: 0"}, false},
      {{"resultcode=0"}, false},
      {{}, false},
  };
  for (const auto& [lines, success] : cases) {
    SCOPED_TRACE(lines.empty() ? "(empty)" : lines.front());
    EXPECT_EQ(host::InstallerLogReportsSuccess(lines), success);
  }
}

TEST_F(DriverThreadTest, RestartClosesTheUtilityAndStartsItToTakeOverTheProfile) {
  SoftwareInstalled(true);
  windows.SetOpen(true);
  const std::int64_t t0 = app->clock().NowMs();
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(elapsed, 10000 + 5000 + 30000 + 10000 + 30000 + 10000);
  EXPECT_EQ(windows.titles(), std::vector<std::string>{"Norvane KXU-300 Wireless G USB Adapter"});
  const auto commands = windows.commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].window, FakeWindows::kUtility);
  EXPECT_EQ(commands[0].id, 32772);
  EXPECT_EQ(commands[0].atMs - t0, 15000);

  const auto calls = shell.calls();
  ASSERT_EQ(calls.size(), 3u);
  const std::string folder = utility.path().string();
  const struct {
    const char* file;
    const char* parameters;
    std::string folder;
    const char* verb;
    std::int64_t atMs;
  } expected[] = {{"ipconfig.exe", "/release all", "", "", 45000},
                  {"wirelesscm", "-w", folder, "open", 55000},
                  {"wirelesscm", "", folder, "open", 85000}};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(calls[i].request.file, expected[i].file);
    EXPECT_EQ(calls[i].request.parameters, expected[i].parameters);
    EXPECT_EQ(calls[i].request.workingFolder, expected[i].folder);
    EXPECT_EQ(calls[i].request.verb, expected[i].verb);
    EXPECT_EQ(calls[i].request.showMode, platform::ShowMode::kHidden);
    EXPECT_EQ(calls[i].atMs - t0, expected[i].atMs);
  }
  EXPECT_FALSE(THWlanDriverThread::RestartUnderWay());
}

TEST_F(DriverThreadTest, RestartWithoutAnOpenUtilityGoesOnWithoutTheCommand) {
  SoftwareInstalled(true);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(elapsed, 90000);
  EXPECT_TRUE(windows.commands().empty());
  EXPECT_EQ(shell.CallsOf("wirelesscm").size(), 2u);
}

TEST_F(DriverThreadTest, RestartFailsWhenTheUtilityCannotBeStarted) {
  SoftwareInstalled(true);
  shell.Script(host::kUtilityName, [](const auto&) { return platform::kShellAccessDenied; });
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(elapsed, 90000);
  EXPECT_EQ(shell.CallsOf("wirelesscm").size(), 1u);
}

TEST_F(DriverThreadTest, AMissingUtilityFailsAndLeavesTheNextRestartFree) {
  SoftwareInstalled(false);
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(elapsed, 40000);
  EXPECT_TRUE(shell.calls().empty());
  EXPECT_FALSE(THWlanDriverThread::RestartUnderWay());
  // The next attempt looks for the utility again instead of failing at its first step.
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(elapsed, 40000);
}

TEST_F(DriverThreadTest, OnlyOneRestartRunsAtATime) {
  SoftwareInstalled(true);
  const std::int64_t t0 = app->clock().NowMs();
  auto first = Start();
  auto second = Start();
  ASSERT_TRUE(backend.RunUntil([&] { return first->result != 0 && second->result != 0; }, 200000));
  // The one that lost the race fails as soon as it looks, after its first wait.
  const bool firstWon = first->result == 1;
  EXPECT_EQ((firstWon ? second : first)->result, 2);
  EXPECT_EQ((firstWon ? first : second)->result, 1);
  EXPECT_EQ(shell.CallsOf("wirelesscm").size(), 2u);
  EXPECT_EQ(app->clock().NowMs() - t0, 90000);
}

TEST_F(DriverThreadTest, ATerminatedRestartEndsAtItsNextWaitAndFreesTheMark) {
  SoftwareInstalled(true);
  auto thread = Start();
  ASSERT_TRUE(backend.RunUntil([] { return THWlanDriverThread::RestartUnderWay(); }, 20000));
  thread->Terminate();
  ASSERT_TRUE(backend.RunUntil([&] { return thread->Finished(); }, 1000));
  EXPECT_EQ(thread->result, 0);
  EXPECT_FALSE(THWlanDriverThread::RestartUnderWay());
  EXPECT_TRUE(shell.calls().empty());
}

}  // namespace
