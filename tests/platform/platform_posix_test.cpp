#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/posix/networkd.h"
#include "platform/posix/udp_frame.h"
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

// What goes out of an adapter without an address: a datagram any receiver's checksums accept.
TEST(UdpFrame, HeadersAndChecksumsAreWhatTheWireExpects) {
  const auto sum16 = [](const std::vector<std::uint8_t>& bytes, size_t from, size_t to,
                        std::uint32_t sum) {
    for (size_t i = from; i < to; i += 2) sum += (bytes[i] << 8) | (i + 1 < to ? bytes[i + 1] : 0);
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return sum;
  };
  for (const size_t length : {size_t{22}, size_t{23}, size_t{454}}) {
    std::vector<std::uint8_t> payload(length);
    for (size_t i = 0; i < length; ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const auto frame = platform::posix::Ipv4UdpFrame({0, 40000}, {0xFFFFFFFF, 65002},
                                                     payload.data(), payload.size());
    ASSERT_EQ(frame.size(), 28 + length);
    EXPECT_EQ(frame[0], 0x45);
    EXPECT_EQ((frame[2] << 8) | frame[3], 28 + length);
    EXPECT_EQ(frame[9], 17);
    EXPECT_EQ(sum16(frame, 0, 20, 0), 0xFFFFu) << "IPv4 header checksum";
    EXPECT_EQ((frame[20] << 8) | frame[21], 40000);
    EXPECT_EQ((frame[22] << 8) | frame[23], 65002);
    EXPECT_EQ((frame[24] << 8) | frame[25], 8 + length);
    const std::uint32_t pseudo = sum16(frame, 12, 20, 17 + 8 + length);
    EXPECT_EQ(sum16(frame, 20, frame.size(), pseudo), 0xFFFFu) << "UDP checksum, " << length;
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), frame.begin() + 28));
  }
}

// The lease a renewal must outlast, read from the daemon's description of the link: only a DHCPv4
// address that is configured counts, not a static one, one being removed, or another family's.
TEST(NetworkdDescription, TheNewestConfiguredDhcpv4LeaseCounts) {
  const std::string json =
      R"({"Index":2,"Name":"eth[0]{x}","AdministrativeState":"configuring",)"
      R"("Addresses":[{"Family":2,"Address":[198,51,100,10],"ConfigSource":"static",)"
      R"("ConfigState":"configured"},)"
      R"({"Family":2,"Address":[198,51,100,128],"ConfigSource":"DHCPv4","ConfigState":)"
      R"("configured","ValidLifetimeUsec":7200000000,"ConfigProvider":[198,51,100,1]},)"
      R"({"Family":2,"Address":[198,51,100,129],"ConfigSource":"DHCPv4","ConfigState":)"
      R"("configured,removing","ValidLifetimeUsec":9900000000},)"
      R"({"Family":10,"Address":[254,128,0,0],"ConfigSource":"DHCPv6","ConfigState":)"
      R"("configured","ValidLifetimeUsec":9990000000}],"OperationalState":"routable"})";
  const auto description = platform::posix::ParseLinkDescription(json);
  EXPECT_EQ(description.administrativeState, "configuring");
  EXPECT_EQ(description.newestLease, std::optional<std::uint64_t>(7200000000));
  // Later versions spell the key with a capital S.
  std::string later = json;
  later.replace(later.find("ValidLifetimeUsec\":72"), 17, "ValidLifetimeUSec");
  EXPECT_EQ(platform::posix::ParseLinkDescription(later).newestLease,
            std::optional<std::uint64_t>(7200000000));
  EXPECT_FALSE(platform::posix::ParseLinkDescription(R"({"AdministrativeState":"unmanaged",)"
                                                     R"("Addresses":[]})")
                   .newestLease);
}

}  // namespace
