#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/system_info.h"

namespace {

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("quillon-platform-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(PlatformTest, TheNamedMutexIsSeenByASecondOwnerUntilTheFirstLetsGo) {
  auto first = platform::CreateNamedMutex("Norvane");
  EXPECT_FALSE(first->alreadyExisted());
  {
    auto second = platform::CreateNamedMutex("Norvane");
    EXPECT_TRUE(second->alreadyExisted());
  }
  auto other = platform::CreateNamedMutex("SomethingElse");
  EXPECT_FALSE(other->alreadyExisted());
  first.reset();
  auto again = platform::CreateNamedMutex("Norvane");
  EXPECT_FALSE(again->alreadyExisted());
}

TEST_F(PlatformTest, FileAndFolderExistenceTellTheKindsApart) {
  const auto file = folder_ / "setup.ini";
  std::ofstream(file) << "[Profile]\n";
  EXPECT_TRUE(platform::FileExists(file.string()));
  EXPECT_FALSE(platform::DirectoryExists(file.string()));
  EXPECT_TRUE(platform::DirectoryExists(folder_.string()));
  EXPECT_FALSE(platform::FileExists(folder_.string()));
  EXPECT_FALSE(platform::FileExists((folder_ / "missing").string()));
  EXPECT_FALSE(platform::DirectoryExists(""));
  EXPECT_FALSE(platform::FileExists(""));
}

TEST_F(PlatformTest, ExecutablePathNamesThisTestBinary) {
  const std::filesystem::path exe = platform::ExecutablePath();
  EXPECT_TRUE(exe.is_absolute());
  EXPECT_EQ(exe.filename(), "platform_tests");
  EXPECT_TRUE(platform::FileExists(exe.string()));
}

TEST_F(PlatformTest, SystemLanguageComesFromTheLocaleSettingsInTheirOrder) {
  struct Case {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* name;
  };
  for (const Case& c :
       {Case{nullptr, nullptr, "de_DE.UTF-8", "German"},
        Case{"ru_RU.KOI8-R", nullptr, "de_DE.UTF-8", "Russian"},
        Case{nullptr, "el_GR", "de_DE", "Greek"}, Case{nullptr, nullptr, "C", "English"},
        Case{nullptr, nullptr, nullptr, "English"},
        Case{nullptr, nullptr, "pt_BR.UTF-8@euro", "Portuguese"},
        Case{nullptr, nullptr, "xx_YY", "Language xx"}}) {
    auto set = [](const char* var, const char* value) {
      if (value)
        setenv(var, value, 1);
      else
        unsetenv(var);
    };
    set("LC_ALL", c.lcAll);
    set("LC_MESSAGES", c.lcMessages);
    set("LANG", c.lang);
    EXPECT_EQ(platform::SystemDefaultLanguageName(), c.name) << (c.lang ? c.lang : "(no LANG)");
  }
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
}

}  // namespace
