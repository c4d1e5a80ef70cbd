#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/registry.h"
#include "win32_test_support.h"

namespace {

using platform::RegistryRoot;

// Every test works below a key of its own and removes it, from both registry views, at the end.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override { key_ = "Software\\" + win32_test::UniqueName("QuillonPlatformTest"); }
  void TearDown() override {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) DeleteTree(root, view);
  }

  void DeleteTree(HKEY root, REGSAM view) {
    HKEY parent = nullptr;
    if (::RegOpenKeyExA(root, "Software", 0, KEY_ALL_ACCESS | view, &parent) != ERROR_SUCCESS)
      return;
    const std::string leaf = key_.substr(key_.find('\\') + 1);
    ::RegDeleteTreeA(parent, leaf.c_str());
    ::RegDeleteKeyExA(parent, leaf.c_str(), view, 0);
    ::RegCloseKey(parent);
  }

  // The value as the registry holds it, read past our own service.
  static bool RawValue(HKEY root, const std::string& key, const std::string& name, REGSAM view,
                       DWORD& type, std::string& data) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
      return false;
    char buffer[512] = {};
    DWORD size = sizeof buffer;
    const LONG rc = ::RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(handle);
    data.assign(buffer, size);
    return rc == ERROR_SUCCESS;
  }

  platform::RegistryService& registry() { return platform::SystemRegistry(); }
  std::string key_;
};

TEST_F(Registry, TextValuesWrittenReadBackAsTextWithTheirNul) {
  const std::string profile = key_ + "\\Norvane\\Quillon";
  ASSERT_TRUE(registry().WriteText(RegistryRoot::kCurrentUser, profile, "Ssid", "HomeNet"));
  ASSERT_TRUE(registry().WriteText(RegistryRoot::kCurrentUser, profile, "SecKey", ""));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, profile, "Ssid", 100), "HomeNet");
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, profile, "SecKey", 100), "");
  EXPECT_TRUE(registry().KeyExists(RegistryRoot::kCurrentUser, profile));
  EXPECT_TRUE(registry().KeyExists(RegistryRoot::kCurrentUser, key_ + "\\Norvane"));

  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(RawValue(HKEY_CURRENT_USER, profile, "Ssid", 0, type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::string("HomeNet", 8)) << "stored with its terminating NUL";

  // Writing again replaces the value.
  ASSERT_TRUE(registry().WriteText(RegistryRoot::kCurrentUser, profile, "Ssid", "Other"));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, profile, "Ssid", 100), "Other");
}

TEST_F(Registry, ATextIsStoredUpToItsFirstNul) {
  ASSERT_TRUE(
      registry().WriteText(RegistryRoot::kCurrentUser, key_, "Key", std::string("abc\0def", 7)));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, key_, "Key", 100), "abc");
}

TEST_F(Registry, AValueMustFitTheBufferWithItsNul) {
  const std::string text(99, 'x');
  ASSERT_TRUE(registry().WriteText(RegistryRoot::kCurrentUser, key_, "InstallLocation", text));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, key_, "InstallLocation", 100), text);
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, key_, "InstallLocation", 99),
            std::nullopt);
  ASSERT_TRUE(registry().WriteText(RegistryRoot::kCurrentUser, key_, "InstallLocation",
                                   std::string(120, 'y')));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, key_, "InstallLocation", 100),
            std::nullopt);
}

TEST_F(Registry, MissingKeysAndValuesAreFailures) {
  EXPECT_FALSE(registry().KeyExists(RegistryRoot::kCurrentUser, key_));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, key_, "Ssid", 100), std::nullopt);
  ASSERT_TRUE(registry().WriteText(RegistryRoot::kCurrentUser, key_, "Ssid", "x"));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, key_, "Channel", 100), std::nullopt);
  EXPECT_FALSE(registry().KeyExists(RegistryRoot::kCurrentUser, key_ + "\\Missing"));
  EXPECT_FALSE(registry().KeyExists(RegistryRoot::kCurrentUser, ""));
  EXPECT_FALSE(registry().WriteText(RegistryRoot::kCurrentUser, "", "Ssid", "x"));
}

TEST_F(Registry, NumbersAreNotText) {
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  const DWORD number = 11;
  ::RegSetValueExA(handle, "Channel", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
  ::RegCloseKey(handle);
  EXPECT_EQ(registry().ReadText(RegistryRoot::kCurrentUser, key_, "Channel", 100), std::nullopt);
}

// The machine's keys are those a 32-bit program sees, where 32-bit installers record themselves.
TEST_F(Registry, MachineKeysLiveInTheThirtyTwoBitView) {
  ASSERT_TRUE(registry().WriteText(RegistryRoot::kLocalMachine, key_, "InstallLocation",
                                   "C:\\Program Files\\Adapter"));
  EXPECT_TRUE(registry().KeyExists(RegistryRoot::kLocalMachine, key_));
  EXPECT_EQ(registry().ReadText(RegistryRoot::kLocalMachine, key_, "InstallLocation", 100),
            "C:\\Program Files\\Adapter");
  DWORD type = 0;
  std::string data;
  EXPECT_TRUE(RawValue(HKEY_LOCAL_MACHINE, key_, "InstallLocation", KEY_WOW64_32KEY, type, data));
  // 64-bit Windows keeps a 32-bit program's machine records apart; 32-bit Windows has one view.
  BOOL wow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &wow64);
  const bool oneView = sizeof(void*) == 4 && !wow64;
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, key_, "InstallLocation", KEY_WOW64_64KEY, type, data),
            oneView);
  EXPECT_FALSE(registry().KeyExists(RegistryRoot::kCurrentUser, key_)) << "roots are separate";
}

}  // namespace
