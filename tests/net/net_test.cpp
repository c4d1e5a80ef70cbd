// The socket and lookup components over loopback on the headless backend, and the echo and
// resolver plumbing with injected services. Nothing here leaves 127.0.0.1 or asks the host's DNS.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "net/ipv4_text.h"
#include "net/name_lookup.h"
#include "net/net_errors.h"
#include "net/pinger.h"
#include "net/udp_socket.h"
#include "ui/headless/headless_backend.h"

namespace {

using net::kNetOk;

TEST(DottedQuad, ParsesOnlyFourDecimalParts) {
  const std::pair<const char*, std::optional<uint32_t>> cases[] = {
      {"0.0.0.0", 0u},
      {"255.255.255.255", 0xFFFFFFFFu},
      {"198.51.100.1", 0xC6336401u},
      {"127.000.0.01", 0x7F000001u},
      {"", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1.2.3.4.5", std::nullopt},
      {"256.1.1.1", std::nullopt},
      {"1.2.3.4 ", std::nullopt},
      {" 1.2.3.4", std::nullopt},
      {"1..2.3", std::nullopt},
      {"1.2.3.-4", std::nullopt},
      {"+1.2.3.4", std::nullopt},
      {"1000.1.1.1", std::nullopt},
      {"example.com", std::nullopt},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(net::ParseDottedQuad(text), expected) << text;
  EXPECT_EQ(net::FormatDottedQuad(0xC6336401u), "198.51.100.1");
  EXPECT_EQ(net::FormatDottedQuad(0xFFFFFFFFu), "255.255.255.255");
}

TEST(PortText, IsDecimalUpTo65535) {
  EXPECT_EQ(net::ParsePort("0"), 0);
  EXPECT_EQ(net::ParsePort("65002"), 65002);
  EXPECT_EQ(net::ParsePort("65535"), 65535);
  for (const char* bad : {"", "65536", "-1", "1 ", "0x10", "999999"})
    EXPECT_FALSE(net::ParsePort(bad)) << bad;
}

class UdpSocketTest : public ::testing::Test {
 protected:
  // A socket bound to an ephemeral loopback port.
  void OpenOnLoopback(net::UdpSocket& socket, uint16_t destination = 9) {
    socket.Addr = "127.0.0.1";
    socket.Port = std::to_string(destination);
    socket.LocalAddr = "127.0.0.1";
    socket.LocalPort = "0";
    ASSERT_TRUE(socket.Open());
  }
  uint16_t PortOf(const net::UdpSocket& socket) { return socket.localEndpoint()->port; }

  std::unique_ptr<ui::Application> app = ui::headless::MakeHeadlessApplication();
  ui::headless::HeadlessBackend& backend = ui::headless::Headless(*app);
  net::UdpSocket receiver{backend};
  net::UdpSocket sender{backend};
};

TEST_F(UdpSocketTest, DataEventsArriveOnTheUiThreadAndReadAtMostTheBuffer) {
  OpenOnLoopback(receiver);
  OpenOnLoopback(sender, PortOf(receiver));
  std::vector<int> lengths;
  std::vector<platform::Ipv4Endpoint> senders;
  const auto uiThread = std::this_thread::get_id();
  receiver.onDataAvailable = [&](int error) {
    EXPECT_EQ(error, 0);
    EXPECT_EQ(std::this_thread::get_id(), uiThread);
    std::vector<uint8_t> buffer(1024);
    platform::Ipv4Endpoint from;
    lengths.push_back(receiver.ReceiveFrom(buffer.data(), buffer.size(), &from));
    senders.push_back(from);
  };
  const std::vector<uint8_t> small(22, 0x41), large(1500, 0x42);
  EXPECT_EQ(sender.Send(small.data(), small.size()), 22);
  EXPECT_EQ(sender.Send(large.data(), large.size()), 1500);
  EXPECT_TRUE(lengths.empty()) << "events wait for the loop";
  backend.RunUntil([&] { return lengths.size() == 2; }, 1000);
  EXPECT_EQ(lengths, (std::vector<int>{22, 1024}));
  ASSERT_EQ(senders.size(), 2u);
  EXPECT_EQ(senders[0], (platform::Ipv4Endpoint{platform::kLoopbackAddress, PortOf(sender)}));
}

TEST_F(UdpSocketTest, ADatagramNobodyReadsIsDroppedOnce) {
  OpenOnLoopback(receiver);
  OpenOnLoopback(sender, PortOf(receiver));
  int events = 0;
  receiver.onDataAvailable = [&](int) { ++events; };
  const uint8_t byte = 1;
  for (int i = 0; i < 3; ++i) sender.Send(&byte, 1);
  backend.RunFor(50);
  EXPECT_EQ(events, 3);
}

TEST_F(UdpSocketTest, SendToAndRedirectChooseTheDestination) {
  net::UdpSocket third(backend);
  OpenOnLoopback(receiver);
  OpenOnLoopback(third);
  int atReceiver = 0, atThird = 0;
  receiver.onDataAvailable = [&](int) {
    uint8_t b[4];
    if (receiver.ReceiveFrom(b, sizeof b) >= 0) ++atReceiver;
  };
  third.onDataAvailable = [&](int) {
    uint8_t b[4];
    if (third.ReceiveFrom(b, sizeof b) >= 0) ++atThird;
  };
  sender.Addr = "255.255.255.255";
  sender.Port = "65002";
  sender.LocalAddr = "127.0.0.1";
  sender.redirect = platform::Ipv4Endpoint{platform::kLoopbackAddress, PortOf(receiver)};
  ASSERT_TRUE(sender.Open());
  const uint8_t byte = 7;
  sender.Send(&byte, 1);
  sender.SendTo(&byte, 1, {platform::kLoopbackAddress, PortOf(third)});
  backend.RunUntil([&] { return atReceiver + atThird == 2; }, 1000);
  EXPECT_EQ(atReceiver, 1);
  EXPECT_EQ(atThird, 1);
}

TEST_F(UdpSocketTest, OpenFailuresRaiseTheErrorEvent) {
  OpenOnLoopback(receiver);
  struct Case {
    std::string addr, port, proto, localAddr, localPort;
    int error;  // 0: any OS error
  };
  const std::string taken = std::to_string(PortOf(receiver));
  const Case cases[] = {
      {"modem", "65002", "udp", "0.0.0.0", "0", net::kNetBadAddress},
      {"127.0.0.1", "65536", "udp", "0.0.0.0", "0", net::kNetBadPort},
      {"127.0.0.1", "65002", "tcp", "0.0.0.0", "0", net::kNetBadProtocol},
      {"127.0.0.1", "65002", "udp", "0.0.0.0.0", "0", net::kNetBadAddress},
      {"127.0.0.1", "65002", "udp", "127.0.0.1", taken, 0},
  };
  for (const Case& c : cases) {
    net::UdpSocket socket(backend);
    socket.Addr = c.addr;
    socket.Port = c.port;
    socket.Proto = c.proto;
    socket.LocalAddr = c.localAddr;
    socket.LocalPort = c.localPort;
    std::vector<int> errors;
    socket.onError = [&](int error) { errors.push_back(error); };
    EXPECT_FALSE(socket.Open()) << c.addr << " " << c.localPort;
    EXPECT_FALSE(socket.isOpen());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(c.error != 0 ? errors[0] == c.error : errors[0] != 0, true) << errors[0];
    const uint8_t byte = 0;
    EXPECT_LT(socket.Send(&byte, 1), 0);
  }
  net::UdpSocket udpInCapitals(backend);
  udpInCapitals.Addr = "127.0.0.1";
  udpInCapitals.Port = "9";
  udpInCapitals.Proto = "UDP";
  udpInCapitals.LocalAddr = "127.0.0.1";
  EXPECT_TRUE(udpInCapitals.Open());
}

// Resolves from a table; optionally waits for a release first.
class TableResolver : public net::NameResolver {
 public:
  net::ResolveResult Resolve(const std::string& host) override {
    std::unique_lock lock(mu_);
    asked_.push_back(host);
    released_.wait_for(lock, std::chrono::seconds(5), [&] { return !hold_; });
    if (host == "modem.example") return {kNetOk, 0xC6336401u};
    return {net::kNetHostNotFound, 0};
  }
  void Hold(bool hold) {
    std::lock_guard lock(mu_);
    hold_ = hold;
    released_.notify_all();
  }
  std::vector<std::string> asked() {
    std::lock_guard lock(mu_);
    return asked_;
  }

 private:
  std::mutex mu_;
  std::condition_variable released_;
  bool hold_ = false;
  std::vector<std::string> asked_;
};

class NameLookupTest : public ::testing::Test {
 protected:
  std::unique_ptr<ui::Application> app = ui::headless::MakeHeadlessApplication();
  ui::headless::HeadlessBackend& backend = ui::headless::Headless(*app);
  std::shared_ptr<TableResolver> resolver = std::make_shared<TableResolver>();
};

TEST_F(NameLookupTest, CompletesOnTheUiThreadWithADottedQuad) {
  net::AsyncNameLookup lookup(backend, resolver);
  std::vector<int> errors;
  std::vector<std::string> results;
  const auto uiThread = std::this_thread::get_id();
  lookup.onDnsLookupDone = [&](int error) {
    EXPECT_EQ(std::this_thread::get_id(), uiThread);
    errors.push_back(error);
    results.push_back(lookup.DnsResult());
  };
  lookup.DnsLookup("modem.example");
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(lookup.busy());
  backend.ProcessPending();
  lookup.DnsLookup("nowhere.example");
  backend.ProcessPending();
  EXPECT_EQ(errors, (std::vector<int>{kNetOk, net::kNetHostNotFound}));
  EXPECT_EQ(results, (std::vector<std::string>{"198.51.100.1", ""}));
  EXPECT_FALSE(lookup.busy());
}

TEST_F(NameLookupTest, ALaterLookupOrACancelSilencesTheEarlierOne) {
  net::AsyncNameLookup lookup(backend, resolver);
  std::vector<std::string> results;
  lookup.onDnsLookupDone = [&](int) { results.push_back(lookup.DnsResult()); };
  lookup.DnsLookup("nowhere.example");
  lookup.DnsLookup("modem.example");
  backend.ProcessPending();
  EXPECT_EQ(results, (std::vector<std::string>{"198.51.100.1"}));
  lookup.DnsLookup("modem.example");
  lookup.Cancel();
  backend.ProcessPending();
  EXPECT_EQ(results.size(), 1u);
  EXPECT_EQ(resolver->asked().size(), 3u);
}

TEST_F(NameLookupTest, DestroyingTheComponentMidLookupReportsNothing) {
  int reports = 0;
  resolver->Hold(true);
  {
    net::AsyncNameLookup lookup(backend, resolver);
    lookup.onDnsLookupDone = [&](int) { ++reports; };
    lookup.DnsLookup("modem.example");
    std::thread release([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      resolver->Hold(false);
    });
    release.detach();
  }
  backend.ProcessPending();
  EXPECT_EQ(reports, 0);
}

TEST(DeadlineResolver, GivesUpOnASlowResolverAtItsDeadline) {
  auto slow = std::make_shared<TableResolver>();
  slow->Hold(true);
  net::DeadlineResolver bounded(slow, std::chrono::milliseconds(200));
  const auto start = std::chrono::steady_clock::now();
  const net::ResolveResult result = bounded.Resolve("modem.example");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.error, net::kNetTimedOut);
  EXPECT_GE(waited, std::chrono::milliseconds(200));
  EXPECT_LT(waited, std::chrono::milliseconds(2000));
  slow->Hold(false);
  EXPECT_EQ(bounded.Resolve("modem.example").address, 0xC6336401u);
  EXPECT_EQ(bounded.Resolve("nowhere.example").error, net::kNetHostNotFound);
}

class RecordingEcho : public net::EchoService {
 public:
  int Echo(uint32_t address, int dataSize, int timeoutMs, int ttl) override {
    calls.push_back({static_cast<int>(address & 0xFF), dataSize, timeoutMs, ttl});
    return address == 0xC6336401u ? kNetOk : net::kNetTimedOut;
  }
  std::vector<std::array<int, 4>> calls;
};

TEST(PingerTest, PingsADottedQuadDirectlyAndANameAfterResolvingIt) {
  auto resolver = std::make_shared<TableResolver>();
  auto echo = std::make_shared<RecordingEcho>();
  net::Pinger ping(resolver, echo);
  struct Case {
    std::string address;
    int error;
    size_t lookups;
    size_t echoes;
  };
  const Case cases[] = {
      {"198.51.100.1", kNetOk, 0, 1},
      {"198.51.100.2", net::kNetTimedOut, 0, 2},
      {"modem.example", kNetOk, 1, 3},
      {"nowhere.example", net::kNetHostNotFound, 2, 3},
      {" 198.51.100.1", net::kNetHostNotFound, 3, 3},
  };
  for (const Case& c : cases) {
    ping.Address = c.address;
    EXPECT_EQ(ping.Ping(), c.error) << c.address;
    EXPECT_EQ(ping.ErrorCode(), c.error) << c.address;
    EXPECT_EQ(resolver->asked().size(), c.lookups) << c.address;
    EXPECT_EQ(echo->calls.size(), c.echoes) << c.address;
  }
  EXPECT_EQ(echo->calls.front(), (std::array<int, 4>{1, 56, 4000, 64}));
  ping.Size = 32;
  ping.Timeout = 250;
  ping.TTL = 3;
  ping.Address = "198.51.100.1";
  ping.Ping();
  EXPECT_EQ(echo->calls.back(), (std::array<int, 4>{1, 32, 250, 3}));
}

}  // namespace
