#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/files.h"
#include "platform/shell.h"
#include "win32_test_support.h"

namespace {

bool AppearsWithin(const std::string& path, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (platform::FileExists(path)) return true;
    ::Sleep(50);
  }
  return platform::FileExists(path);
}

// The started program runs in the working folder it was given, with the given command line.
TEST(Shell, AProgramIsStartedInItsWorkingFolder) {
  win32_test::TemporaryFolder folder;
  const int code =
      platform::ShellOpen(win32_test::TestFolder() + "platform_win32_probe.exe",
                          "touch started.txt", folder.path(), platform::ShowMode::kHidden);
  EXPECT_TRUE(platform::ShellSucceeded(code)) << code;
  EXPECT_GT(code, 32);
  EXPECT_TRUE(AppearsWithin(folder.path() + "started.txt", 20000));
}

TEST(Shell, MissingFilesAndFoldersAreClassicErrorCodes) {
  win32_test::TemporaryFolder folder;
  const int missingFile =
      platform::ShellOpen(folder.path() + "cpydrv.exe", "", "", platform::ShowMode::kNormal);
  EXPECT_EQ(missingFile, platform::kShellFileNotFound);
  const int missingFolder =
      platform::ShellOpen(folder.path() + "Docs\\Manual.pdf", "", "", platform::ShowMode::kNormal);
  EXPECT_FALSE(platform::ShellSucceeded(missingFolder));
  EXPECT_TRUE(missingFolder == platform::kShellFileNotFound ||
              missingFolder == platform::kShellPathNotFound)
      << missingFolder;
}

}  // namespace
