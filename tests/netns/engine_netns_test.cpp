// Runs only inside the PC namespace that engine_netns.sh builds (the modem at 198.51.100.1 on
// TEST-NET-2): ICMP echo by ping and raw socket, the internet test thread against the modem, and
// the system resolver with a deadline. It refuses to run in the machine's own namespace.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "modem/workers/thwlanlink.h"
#include "net/name_resolver.h"
#include "net/net_errors.h"
#include "net/pinger.h"
#include "platform/icmp_echo.h"
#include "ui/headless/headless_backend.h"

namespace {

constexpr uint32_t kModem = 0xC6336401;   // 198.51.100.1
constexpr uint32_t kNobody = 0xC633644D;  // 198.51.100.77, on the link but unused

// True inside the namespace the script named in QUILLON_NETNS_PC (ip netns keeps a handle of
// each named namespace under /run/netns).
bool InTestNamespace() {
  const char* name = std::getenv("QUILLON_NETNS_PC");
  if (name == nullptr || *name == '\0') return false;
  struct stat mine = {};
  struct stat named = {};
  if (stat("/proc/self/ns/net", &mine) != 0) return false;
  if (stat((std::string("/run/netns/") + name).c_str(), &named) != 0) return false;
  return mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

void SetPingGroupRange(const char* range) {
  std::ofstream("/proc/sys/net/ipv4/ping_group_range") << range;
}

platform::EchoResult Echo(uint32_t address, platform::EchoSocket kind, int timeoutMs = 1000) {
  platform::EchoRequest request;
  request.address = address;
  request.timeoutMs = timeoutMs;
  request.socket = kind;
  return platform::SendIcmpEcho(request);
}

TEST(NetnsEcho, RawSocketWhenPingSocketsAreRefused) {
  SetPingGroupRange("1 0");
  EXPECT_EQ(Echo(kModem, platform::EchoSocket::kPingOnly).status, platform::EchoStatus::kNoSocket);
  const platform::EchoResult viaRaw = Echo(kModem, platform::EchoSocket::kAuto);
  EXPECT_EQ(viaRaw.status, platform::EchoStatus::kReply);
  EXPECT_TRUE(viaRaw.raw);
  EXPECT_EQ(Echo(kNobody, platform::EchoSocket::kRawOnly, 300).status,
            platform::EchoStatus::kTimedOut);
}

TEST(NetnsEcho, PingSocketWhenTheGroupRangeAllowsIt) {
  SetPingGroupRange("0 2147483647");
  const platform::EchoResult viaPing = Echo(kModem, platform::EchoSocket::kAuto);
  EXPECT_EQ(viaPing.status, platform::EchoStatus::kReply);
  EXPECT_FALSE(viaPing.raw);
  EXPECT_EQ(Echo(kNobody, platform::EchoSocket::kPingOnly, 300).status,
            platform::EchoStatus::kTimedOut);
  platform::EchoRequest big;
  big.address = kModem;
  big.dataSize = 1400;
  big.ttl = 1;
  EXPECT_EQ(platform::SendIcmpEcho(big).status, platform::EchoStatus::kReply);
  SetPingGroupRange("1 0");
}

TEST(NetnsInternetStatus, TheThreadFindsTheModemAfterAnAddressThatIsSilent) {
  auto app = ui::headless::MakeHeadlessApplication();
  auto& backend = ui::headless::Headless(*app);
  net::Pinger pinger(std::make_shared<net::SystemNameResolver>(),
                     std::make_shared<net::SystemEchoService>());
  pinger.Timeout = 300;
  quillon::modem::THWlanInternetStatusThread thread(backend);
  thread.addressList = "198.51.100.77;198.51.100.1";
  thread.pinger = &pinger;
  thread.Resume();
  ASSERT_TRUE(backend.RunUntil([&] { return thread.status != 0; }, 600000));
  EXPECT_EQ(thread.status, 1);
}

// Run with the namespace's resolv.conf naming the modem's DNS server.
TEST(NetnsResolver, LiveServerAnswers) {
  const net::ResolveResult result = net::DefaultNameResolver()->Resolve("www.example.com");
  EXPECT_EQ(result.error, net::kNetOk);
  EXPECT_EQ(result.address, kModem);
  EXPECT_EQ(net::DefaultNameResolver()->Resolve("nowhere.invalid").error, net::kNetHostNotFound);
}

// Run with the namespace's resolv.conf naming a server that does not exist.
TEST(NetnsResolver, DeadServerIsCutOffAtTheDeadline) {
  const auto start = std::chrono::steady_clock::now();
  const net::ResolveResult result = net::DefaultNameResolver()->Resolve("www.example.com");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.error, net::kNetTimedOut);
  EXPECT_GE(waited, net::kDefaultLookupDeadline);
  EXPECT_LT(waited, net::kDefaultLookupDeadline + std::chrono::seconds(1));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!InTestNamespace()) {
    std::fprintf(stderr, "refusing to run outside the test's own network namespace\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
