// The per-user file registry behind the registry service on this system.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/posix/registry_store.h"
#include "platform/registry.h"
#include "temp_env.h"

namespace {

using host_testing::ScopedEnv;
using host_testing::TempFolder;
using platform::RegistryRoot;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  TempFolder temp_;
  ScopedEnv config_{"XDG_CONFIG_HOME", (temp_.path() / "config").string()};
  ScopedEnv machine_{"QUILLON_MACHINE_REGISTRY", (temp_.path() / "machine").string()};
  platform::RegistryService& registry_ = platform::SystemRegistry();
};

TEST_F(RegistryStoreTest, ValuesRoundTripInOneFilePerKeyUnderTheConfigFolder) {
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon", "Ssid",
                                  "home"));
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon",
                                  "Channel", "11"));
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon", "Ssid",
                                  "office"));

  const auto file = temp_.path() / "config/norvane-registry/HKCU/Software/Norvane/Quillon.reg";
  EXPECT_EQ(ReadFile(file), "Ssid=office\nChannel=11\n");
  EXPECT_EQ(
      registry_.ReadText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon", "Ssid", 100),
      "office");
  // The machine root is a different tree.
  EXPECT_FALSE(registry_.KeyExists(RegistryRoot::kLocalMachine, "Software\\Norvane\\Quillon"));
  EXPECT_TRUE(registry_.KeyExists(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon"));
  // A key that only holds other keys exists too, as it does when a deeper key is created.
  EXPECT_TRUE(registry_.KeyExists(RegistryRoot::kCurrentUser, "Software\\Norvane"));
  EXPECT_FALSE(registry_.KeyExists(RegistryRoot::kCurrentUser, "Software\\Other"));
}

TEST_F(RegistryStoreTest, TheWirelessKeyIsStoredPrivately) {
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon",
                                  "SecKey", "secret"));
  struct stat st {};
  const auto folder = temp_.path() / "config/norvane-registry/HKCU/Software/Norvane";
  ASSERT_EQ(::stat((folder / "Quillon.reg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(RegistryStoreTest, AnyEightBitTextSurvivesTheRoundTrip) {
  const std::string texts[] = {
      "",
      "a=b",
      "=",
      "back\\slash",
      "line\nbreak",
      "cr\rlf\r\n",
      "\\n literally",
      "trailing\\",
      "caf\xe9 \xff",
      "  blanks  ",
      "#not a comment",
      "x=y=z",
  };
  for (const auto& text : texts) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "K", text, text));
    ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "K", "after", "unchanged"));
    EXPECT_EQ(registry_.ReadText(RegistryRoot::kCurrentUser, "K", text, 1000), text);
    EXPECT_EQ(registry_.ReadText(RegistryRoot::kCurrentUser, "K", "after", 1000), "unchanged");
  }
}

TEST_F(RegistryStoreTest, ATextIsStoredUpToItsFirstNul) {
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "K", "v", std::string("ab\0cd", 5)));
  EXPECT_EQ(registry_.ReadText(RegistryRoot::kCurrentUser, "K", "v", 100), "ab");
}

TEST_F(RegistryStoreTest, AValueMustFitTheBufferWithItsTerminatingNul) {
  const std::string key = "Software\\Vendor";
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kLocalMachine, key, "99", std::string(99, 'x')));
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kLocalMachine, key, "100", std::string(100, 'x')));
  EXPECT_EQ(registry_.ReadText(RegistryRoot::kLocalMachine, key, "99", 100), std::string(99, 'x'));
  EXPECT_EQ(registry_.ReadText(RegistryRoot::kLocalMachine, key, "100", 100), std::nullopt);
  EXPECT_EQ(registry_.ReadText(RegistryRoot::kLocalMachine, key, "100", 101),
            std::string(100, 'x'));
  EXPECT_EQ(registry_.ReadText(RegistryRoot::kLocalMachine, key, "missing", 100), std::nullopt);
  EXPECT_EQ(registry_.ReadText(RegistryRoot::kLocalMachine, "Software\\None", "99", 100),
            std::nullopt);
  EXPECT_TRUE(std::filesystem::exists(temp_.path() / "machine/HKLM/Software/Vendor.reg"));
}

TEST_F(RegistryStoreTest, KeyPathsThatCouldLeaveTheStoreAreRefused) {
  const std::string bad[] = {
      "",
      "\\Software",
      "Software\\",
      "Software\\\\Norvane",
      "..",
      "Soft\\..",
      "a\\.\\b",
      "etc/passwd",
      "Software\\x.reg",
      "x.REG",
      std::string("nul\0x", 5),
  };
  for (const auto& key : bad) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(registry_.WriteText(RegistryRoot::kCurrentUser, key, "v", "t"));
    EXPECT_FALSE(registry_.KeyExists(RegistryRoot::kCurrentUser, key));
    EXPECT_EQ(registry_.ReadText(RegistryRoot::kCurrentUser, key, "v", 100), std::nullopt);
  }
  EXPECT_FALSE(std::filesystem::exists(temp_.path() / "config/norvane-registry/HKCU/etc"));
  EXPECT_FALSE(std::filesystem::exists(temp_.path() / "config/norvane-registry/HKCU.reg"));
}

TEST_F(RegistryStoreTest, AStoreThatCannotBeCreatedRefusesEveryWrite) {
  std::ofstream(temp_.path() / "plainfile") << "in the way";
  ScopedEnv blocked("XDG_CONFIG_HOME", (temp_.path() / "plainfile" / "config").string());
  EXPECT_FALSE(registry_.WriteText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon", "Ssid",
                                   "home"));
}

TEST_F(RegistryStoreTest, ARelativeConfigFolderIsIgnoredForTheHomeOne) {
  TempFolder home;
  ScopedEnv homeEnv("HOME", home.path().string());
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
  ASSERT_TRUE(registry_.WriteText(RegistryRoot::kCurrentUser, "K", "v", "t"));
  EXPECT_TRUE(std::filesystem::exists(home.path() / ".config/norvane-registry/HKCU/K.reg"));
}

// Run as root with another user's environment, the store lies in that user's folders: links they
// lay there must not make root write, or read, any other file.
TEST_F(RegistryStoreTest, AStoreInAnotherUsersFolderIsNeitherWrittenNorReadThroughLinks) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the folder to another user";
  const auto victim = temp_.path() / "victim";
  std::ofstream(victim) << "Ssid=kept\n";
  const auto folder = temp_.path() / "config/norvane-registry/HKCU/Software/Norvane";
  std::filesystem::create_directories(folder);
  for (auto part = folder; part != temp_.path(); part = part.parent_path())
    ASSERT_EQ(::chown(part.c_str(), 65534, 65534), 0);
  std::filesystem::create_symlink(victim, folder / "Quillon.reg");
  std::filesystem::create_symlink(victim,
                                  folder / ("Quillon.reg.tmp" + std::to_string(::getpid())));
  EXPECT_FALSE(registry_.WriteText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon", "Ssid",
                                   "overwritten"));
  EXPECT_EQ(ReadFile(victim), "Ssid=kept\n");
  EXPECT_FALSE(
      registry_.ReadText(RegistryRoot::kCurrentUser, "Software\\Norvane\\Quillon", "Ssid", 100));
}

TEST(RegistryFileFormat, ParsesWhatItWritesAndSkipsLinesWithoutSeparator) {
  platform::posix::RegistryValues values = {{"a", "1"}, {"b=c", "x\\y\nz"}, {"", "default"}};
  EXPECT_EQ(platform::posix::ParseRegistryValues(platform::posix::FormatRegistryValues(values)),
            values);
  EXPECT_EQ(platform::posix::ParseRegistryValues("junk\r\nk=v\r\n\nk=w\n"),
            (platform::posix::RegistryValues{{"k", "w"}}));
}

}  // namespace
