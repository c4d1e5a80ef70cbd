#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/os_version.h"
#include "platform/system_info.h"
#include "win32_test_support.h"

namespace {

TEST(System, TheVersionIsAWindowsVersion) {
  const auto version = platform::CurrentWindowsVersion();
  ASSERT_TRUE(version.has_value());
  EXPECT_GE(version->major, 4);
  EXPECT_GE(version->minor, 0);
  EXPECT_EQ(win32_test::RunProbe("version"), version->major * 100 + version->minor)
      << "another program without settings of its own sees the same";
}

// Wine lets a per-program setting choose the version a program is told, the way a compatibility
// mode does on Windows; the version routine must report what the system says, not its own idea.
TEST(System, TheVersionFollowsTheSystemsCompatibilitySetting) {
  if (!win32_test::UnderWine()) GTEST_SKIP() << "the per-program version setting is Wine's";
  // A copy of the probe under a name of its own: the setting must not reach the probe that
  // another test runs at the same time.
  const std::string name = win32_test::UniqueName("platform_win32_probe_compat") + ".exe";
  const std::string copy = win32_test::TestFolder() + name;
  ASSERT_TRUE(::CopyFileA((win32_test::TestFolder() + "platform_win32_probe.exe").c_str(),
                          copy.c_str(), FALSE));
  win32_test::WineVersionSetting setting(name);
  ASSERT_TRUE(setting.ready());
  struct Case {
    const char* setting;
    int expected;
  };
  for (const Case& c : {Case{"winxp", 501}, Case{"win2k", 500}}) {
    setting.Set(c.setting);
    EXPECT_EQ(win32_test::RunProgram(copy, "version"), c.expected) << c.setting;
  }
  ::DeleteFileA(copy.c_str());
}

TEST(System, TheLanguageNameIsThePrimaryLanguageOnly) {
  const std::string name = platform::SystemDefaultLanguageName();
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find('('), std::string::npos) << name << ": no country part";
  char full[250] = {};
  ASSERT_GT(::VerLanguageNameA(::GetSystemDefaultLangID(), full, sizeof full), 0u);
  EXPECT_EQ(std::string(full).rfind(name, 0), 0u) << full << " starts with " << name;
}

}  // namespace
