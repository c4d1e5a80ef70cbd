#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "host/temp_env.h"
#include "platform/drive_path.h"
#include "platform/windows.h"

namespace {

using host_testing::ScopedEnv;
using host_testing::TempFolder;

TEST(DrivePath, DriveNamesMapToTheDrivesFolder) {
  ScopedEnv driveC("QUILLON_C_DRIVE", "/srv/c/");
  ScopedEnv driveD("QUILLON_D_DRIVE", "/srv/d");
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\ChkNIC.txt", "/srv/c/ChkNIC.txt"},
      {"C:Setup.log", "/srv/c/Setup.log"},
      {"c:\\Program Files\\a.txt", "/srv/c/Program Files/a.txt"},
      {"C:\\\\x", "/srv/c/x"},
      {"C:", "/srv/c"},
      {"D:\\f.txt", "/srv/d/f.txt"},
      {"Setup.log", "Setup.log"},
      {"/tmp/C:x", "/tmp/C:x"},
      {"1:x", "1:x"},
      {"", ""},
  };
  for (const auto& [name, path] : cases) EXPECT_EQ(platform::LocalDrivePath(name), path) << name;
}

// Drive C defaults to a private folder of the program's state folder; one that another local user
// made first, where the shared state folder let them, is not used.
TEST(DrivePath, DriveCDefaultsToAPrivateFolderNoOtherUserMade) {
  TempFolder shared;
  ASSERT_EQ(::chmod(shared.path().c_str(), 01777), 0);
  ScopedEnv driveC("QUILLON_C_DRIVE", "");
  ScopedEnv state("XDG_STATE_HOME", shared.path().string() + "/root");
  const std::string folder = shared.path().string() + "/root/quillon/c";
  EXPECT_EQ(platform::LocalDrivePath("C:\\ChkNIC.txt"), folder + "/ChkNIC.txt");
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  ScopedEnv otherState("XDG_STATE_HOME", shared.path().string() + "/other");
  ASSERT_EQ(std::system(("setpriv --reuid=nobody --regid=nogroup --clear-groups mkdir -p " +
                         shared.path().string() + "/other/quillon/c")
                            .c_str()),
            0);
  EXPECT_EQ(platform::LocalDrivePath("C:\\ChkNIC.txt"), "");
}

// A window here is a FIFO named after its title that its program reads.
class FifoWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  }
  void TearDown() override {
    if (reader >= 0) ::close(reader);
  }
  platform::WindowService& windows = platform::SystemWindows();
  TempFolder runtime;
  ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.path().string()};
  std::string folder = runtime.path().string() + "/norvane-windows";
  std::string fifo = folder + "/Utility Window";
  int reader = -1;
};

TEST_F(FifoWindow, AWindowIsOpenWhileItsProgramListens) {
  EXPECT_EQ(windows.FindTopLevelWindow("Utility Window"), 0u);  // left behind, nobody reads
  EXPECT_EQ(windows.FindTopLevelWindow("Other Window"), 0u);
  reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const platform::WindowHandle window = windows.FindTopLevelWindow("Utility Window");
  ASSERT_NE(window, 0u);
  EXPECT_EQ(windows.FindTopLevelWindow("Utility Window"), window);

  ASSERT_TRUE(windows.SendCommand(window, 32772));
  char line[64] = {};
  ASSERT_EQ(::read(reader, line, sizeof line - 1), 17);
  EXPECT_STREQ(line, "WM_COMMAND 32772\n");

  // The program ended: the command is not delivered, and nothing takes the sender down.
  ::close(reader);
  reader = -1;
  EXPECT_FALSE(windows.SendCommand(window, 32772));
  EXPECT_FALSE(windows.SendCommand(window + 100, 32772));
  EXPECT_FALSE(windows.SendCommand(0, 32772));
}

}  // namespace
