#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app_adapter/adapter_fakes.h"
#include "host/bkitlib.h"
#include "host/temp_env.h"
#include "host/thwlandriver.h"
#include "platform/drive_path.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/windows.h"

// The stand-ins of the sample edition started as the wizard starts them on this system, through
// the real shell, with drive C, the registry and the runtime folder private to the test.
namespace {

using adapter_testing::ReadFile;
using host_testing::ScopedEnv;
using host_testing::TempFolder;

const std::string kData = QUILLON_TEST_DATA_DIR "/";

bool Eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 200; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class StandIns : public ::testing::Test {
 protected:
  TempFolder root;
  ScopedEnv driveC{"QUILLON_C_DRIVE", (root.path() / "c").string()};
  ScopedEnv machine{"QUILLON_MACHINE_REGISTRY", (root.path() / "hklm").string()};
  ScopedEnv user{"XDG_CONFIG_HOME", (root.path() / "config").string()};
  ScopedEnv runtime{"XDG_RUNTIME_DIR", root.path().string()};
  ScopedEnv quick{"QUILLON_KXU_SETUP_SECONDS", "0"};
  ScopedEnv bounded{"QUILLON_WIRELESSCM_SECONDS", "30"};
};

TEST_F(StandIns, TheDetectionScriptReportsASimulatedAdapter) {
  ScopedEnv adapter("QUILLON_SIMULATE_ADAPTER", "1");
  const std::string report = platform::LocalDrivePath("C:\\ChkNIC.txt");
  ASSERT_TRUE(platform::ShellSucceeded(platform::ShellOpen(
      "ChkNIC.bat", "", kData + "Language/ChkNIC", platform::ShowMode::kHidden, "")));
  ASSERT_TRUE(Eventually([&] { return platform::FileExists(report); }));
  EXPECT_NE(ReadFile(report).find("matching device(s) found"), std::string::npos);
}

TEST_F(StandIns, TheInstallerInstallsTheUtilityAndReportsIt) {
  const std::string log = platform::LocalDrivePath(host::kInstallerLog);
  ASSERT_TRUE(platform::ShellSucceeded(platform::ShellOpen(host::InstallerPath(kData),
                                                           host::kInstallerParameters, "",
                                                           platform::ShowMode::kMinimized, "")));
  ASSERT_TRUE(Eventually([&] { return platform::FileExists(log); }));
  EXPECT_TRUE(host::InstallerLogReportsSuccess(Lines(log)));
  ASSERT_TRUE(host::isAdapterSoftwareInstalled());
  const std::string folder = host::adapterInstallLocation();
  EXPECT_TRUE(platform::FileExists(folder + "/" + host::kUtilityProgram));

  // Started by the name the wizard uses, the utility opens its window; command 32772 closes it.
  ASSERT_TRUE(platform::ShellSucceeded(
      platform::ShellOpen(host::kUtilityName, "", folder, platform::ShowMode::kHidden, "open")));
  auto& windows = platform::SystemWindows();
  platform::WindowHandle window = 0;
  ASSERT_TRUE(
      Eventually([&] { return (window = windows.FindTopLevelWindow(host::kUtilityTitle)); }));
  EXPECT_TRUE(windows.SendCommand(window, host::kUtilityCloseCommand));
  ASSERT_TRUE(Eventually([&] { return windows.FindTopLevelWindow(host::kUtilityTitle) == 0; }));
  const std::string utilityLog = platform::LocalDrivePath("C:\\wirelesscm.log");
  EXPECT_NE(ReadFile(utilityLog).find("closed by command 32772"), std::string::npos);

  // "-w" takes over the profile the wizard recorded, with the texts as they were written.
  auto& registry = platform::CurrentRegistry();
  ASSERT_TRUE(registry.WriteText(platform::RegistryRoot::kCurrentUser, host::kProfileKey, "Ssid",
                                 "Home Net=1\\x"));
  ASSERT_TRUE(platform::ShellSucceeded(
      platform::ShellOpen(host::kUtilityName, "-w", folder, platform::ShowMode::kHidden, "open")));
  EXPECT_TRUE(
      Eventually([&] { return ReadFile(utilityLog).find("took over") != std::string::npos; }));
  EXPECT_NE(ReadFile(utilityLog).find("SSID Home Net=1\\x,"), std::string::npos)
      << ReadFile(utilityLog);
}

// A second local user who made drive C's folders first and swaps the installed utility for a
// program of theirs must not get it run by the wizard, which runs as root.
TEST_F(StandIns, AUtilityAnotherUserCouldReplaceIsNotStarted) {
  const std::string shared = (root.path() / "shared").string();
  ASSERT_EQ(::mkdir(shared.c_str(), 01777), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  ScopedEnv sharedDrive{"QUILLON_C_DRIVE", shared + "/c"};
  const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c ";
  ASSERT_EQ(std::system((asNobody + "'mkdir -p \"" + shared +
                         "/c/Program Files/Norvane/KXU-300\" && chmod -R 777 \"" + shared + "/c\"'")
                            .c_str()),
            0);
  const std::string log = platform::LocalDrivePath(host::kInstallerLog);
  ASSERT_TRUE(platform::ShellSucceeded(platform::ShellOpen(host::InstallerPath(kData),
                                                           host::kInstallerParameters, "",
                                                           platform::ShowMode::kMinimized, "")));
  ASSERT_TRUE(Eventually([&] { return platform::FileExists(log); }));
  const std::string folder = host::adapterInstallLocation();
  const std::string marker = shared + "/ran-as-root";
  ASSERT_EQ(std::system((asNobody + "'printf \"#!/bin/sh\\ntouch " + marker + "\\n\" >\"" + folder +
                         "/x\" && chmod 755 \"" + folder + "/x\" && mv -f \"" + folder + "/x\" \"" +
                         folder + "/wirelesscm.exe\"'")
                            .c_str()),
            0);
  EXPECT_EQ(
      platform::ShellOpen(host::kUtilityName, "-w", folder, platform::ShowMode::kHidden, "open"),
      platform::kShellAccessDenied);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(platform::FileExists(marker));
}

TEST_F(StandIns, AFailingInstallationInstallsNothing) {
  ScopedEnv fail("QUILLON_KXU_SETUP_RESULT", "-3");
  const std::string log = platform::LocalDrivePath(host::kInstallerLog);
  ASSERT_TRUE(platform::ShellSucceeded(platform::ShellOpen(host::InstallerPath(kData),
                                                           host::kInstallerParameters, "",
                                                           platform::ShowMode::kMinimized, "")));
  ASSERT_TRUE(Eventually([&] { return platform::FileExists(log); }));
  EXPECT_FALSE(host::InstallerLogReportsSuccess(Lines(log)));
  EXPECT_FALSE(host::isAdapterSoftwareInstalled());
}

}  // namespace
