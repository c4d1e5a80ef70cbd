#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>
// The IP Helper headers need the socket types first.
#include <iphlpapi.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "platform/icmp_echo.h"
#include "platform/name_lookup.h"
#include "platform/network_adapters.h"
#include "platform/socket_poll.h"
#include "platform/udp_socket.h"
#include "platform/win32/name_lookup_win32.h"

// Loopback only: nothing here sends to another address, and no broadcast is ever sent; the
// broadcast permission is checked on the socket itself.
namespace {

using platform::Ipv4Endpoint;
using platform::kLoopbackAddress;

class OpenSocket {
 public:
  explicit OpenSocket(bool broadcast = true, std::uint16_t port = 0)
      : opened_(platform::OpenUdpSocket({kLoopbackAddress, port}, broadcast)) {}
  ~OpenSocket() { platform::CloseSocket(opened_.socket); }
  OpenSocket(const OpenSocket&) = delete;
  OpenSocket& operator=(const OpenSocket&) = delete;
  platform::SocketHandle handle() const { return opened_.socket; }
  int error() const { return opened_.error; }
  Ipv4Endpoint endpoint() const {
    return platform::LocalEndpoint(handle()).value_or(Ipv4Endpoint{});
  }

 private:
  platform::UdpOpenResult opened_;
};

int BroadcastOption(platform::SocketHandle socket) {
  BOOL value = FALSE;
  int size = sizeof value;
  ::getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_BROADCAST,
               reinterpret_cast<char*>(&value), &size);
  return value;
}

int Send(const OpenSocket& from, const std::string& text, const Ipv4Endpoint& to) {
  return platform::SendDatagram(from.handle(), reinterpret_cast<const std::uint8_t*>(text.data()),
                                text.size(), to);
}

bool WaitFor(const OpenSocket& socket) {
  return platform::WaitReadable({socket.handle()}, 5000).front();
}

TEST(Udp, LoopbackDatagramsArriveWithTheirSender) {
  OpenSocket a, b;
  ASSERT_NE(a.handle(), platform::kNoSocket) << a.error();
  ASSERT_NE(b.handle(), platform::kNoSocket) << b.error();
  EXPECT_EQ(a.endpoint().address, kLoopbackAddress);
  EXPECT_NE(a.endpoint().port, 0);
  ASSERT_EQ(Send(a, "discover", b.endpoint()), 8);
  ASSERT_TRUE(WaitFor(b));
  std::array<std::uint8_t, 64> buffer{};
  Ipv4Endpoint from;
  const int length = platform::ReceiveDatagram(b.handle(), buffer.data(), buffer.size(), &from);
  ASSERT_EQ(length, 8);
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + length), "discover");
  EXPECT_EQ(from, a.endpoint());
}

TEST(Udp, SocketsAreNonBlockingAndSayWouldBlockByTheWinsockCode) {
  OpenSocket a;
  EXPECT_EQ(platform::WouldBlockError(), WSAEWOULDBLOCK);
  std::array<std::uint8_t, 16> buffer{};
  EXPECT_EQ(platform::ReceiveDatagram(a.handle(), buffer.data(), buffer.size(), nullptr),
            -WSAEWOULDBLOCK);
  EXPECT_FALSE(platform::WaitReadable({a.handle()}, 0).front());
}

TEST(Udp, BroadcastIsAllowedOnlyWhenAsked) {
  OpenSocket withBroadcast(true), without(false);
  EXPECT_NE(BroadcastOption(withBroadcast.handle()), 0);
  EXPECT_EQ(BroadcastOption(without.handle()), 0);
}

// A program the wizard starts must not hold its sockets. Windows before 7 SP1 refuses the flag
// that says so; run through the old-Windows launcher (QUILLON_WINE_VERSION), the library there
// refuses it too, and the socket is still made and still kept from children.
TEST(Udp, SocketsAreNotInheritedAlsoWhereTheNoInheritFlagIsRefused) {
  OpenSocket socket;
  ASSERT_NE(socket.handle(), platform::kNoSocket) << socket.error();
  DWORD flags = HANDLE_FLAG_INHERIT;
  ASSERT_TRUE(::GetHandleInformation(reinterpret_cast<HANDLE>(socket.handle()), &flags));
  EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
  if (std::getenv("QUILLON_WINE_VERSION") == nullptr) return;
  EXPECT_EQ(::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT),
            INVALID_SOCKET);
  EXPECT_EQ(::WSAGetLastError(), WSAEINVAL) << "the launcher's library refuses the flag";
}

TEST(Udp, ATakenPortIsAWinsockError) {
  OpenSocket first;
  OpenSocket second(true, first.endpoint().port);
  EXPECT_EQ(second.handle(), platform::kNoSocket);
  EXPECT_EQ(second.error(), WSAEADDRINUSE);
}

TEST(Udp, ALongDatagramIsCutToTheBuffer) {
  OpenSocket a, b;
  ASSERT_EQ(Send(a, std::string(100, 'z'), b.endpoint()), 100);
  ASSERT_TRUE(WaitFor(b));
  std::array<std::uint8_t, 10> buffer{};
  EXPECT_EQ(platform::ReceiveDatagram(b.handle(), buffer.data(), buffer.size(), nullptr), 10);
  EXPECT_EQ(buffer.back(), 'z');
}

// A datagram to a port nobody listens on draws a port-unreachable report; it must neither fail
// the next receive nor get in the way of the datagrams that follow.
TEST(Udp, APortNobodyListensOnDoesNotBreakTheSocket) {
  Ipv4Endpoint closed;
  {
    OpenSocket gone;
    closed = gone.endpoint();
  }
  OpenSocket a, b;
  ASSERT_EQ(Send(a, "hello?", closed), 6);
  platform::WaitReadable({a.handle()}, 300);
  std::array<std::uint8_t, 16> buffer{};
  EXPECT_EQ(platform::ReceiveDatagram(a.handle(), buffer.data(), buffer.size(), nullptr),
            -WSAEWOULDBLOCK);
  ASSERT_EQ(Send(b, "reply", a.endpoint()), 5);
  ASSERT_TRUE(WaitFor(a));
  EXPECT_EQ(platform::ReceiveDatagram(a.handle(), buffer.data(), buffer.size(), nullptr), 5);
}

TEST(Udp, PollingSaysWhichSocketHasData) {
  OpenSocket a, b, c;
  ASSERT_EQ(Send(a, "x", c.endpoint()), 1);
  ASSERT_TRUE(WaitFor(c));
  EXPECT_EQ(platform::WaitReadable({a.handle(), b.handle(), c.handle()}, 0),
            (std::vector<bool>{false, false, true}));
  EXPECT_EQ(platform::PollReadable({platform::kNoSocket, c.handle()}, 0),
            (std::vector<bool>{false, true}));
}

// Only a numeric address is looked up: under Wine even "localhost" goes to the build machine's
// resolver when its hosts file does not list it, and nothing may leave the machine. The lookup
// runs on a helper thread with a deadline of our own, as the wizard runs it.
TEST(NameLookup, LoopbackResolvesOffTheCallingThread) {
  auto lookup = std::async(std::launch::async, [] { return platform::LookupIpv4("127.0.0.1"); });
  ASSERT_EQ(lookup.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  const platform::LookupResult result = lookup.get();
  EXPECT_EQ(result.status, platform::LookupStatus::kOk);
  EXPECT_EQ(result.address, kLoopbackAddress);
  // Windows 2000 has no getaddrinfo; its lookup gives the same answer.
  const platform::LookupResult older = platform::win32::LookupIpv4ByHostName("127.0.0.1");
  EXPECT_EQ(older.status, platform::LookupStatus::kOk);
  EXPECT_EQ(older.address, kLoopbackAddress);
}

TEST(IcmpEcho, LoopbackAnswers) {
  platform::EchoRequest request;
  request.address = kLoopbackAddress;
  request.timeoutMs = 3000;
  for (int size : {0, 32, 1400}) {
    request.dataSize = size;
    const platform::EchoResult result = platform::SendIcmpEcho(request);
    EXPECT_EQ(result.status, platform::EchoStatus::kReply) << size << " error " << result.error;
    EXPECT_FALSE(result.raw);
  }
}

TEST(IcmpEcho, NonsenseRequestsAreRefusedBeforeAnythingIsSent) {
  for (auto change : {+[](platform::EchoRequest& r) { r.ttl = 0; },
                      +[](platform::EchoRequest& r) { r.ttl = 256; },
                      +[](platform::EchoRequest& r) { r.dataSize = -1; },
                      +[](platform::EchoRequest& r) { r.dataSize = 70000; },
                      +[](platform::EchoRequest& r) { r.timeoutMs = -1; }}) {
    platform::EchoRequest request;
    request.address = kLoopbackAddress;
    change(request);
    EXPECT_EQ(platform::SendIcmpEcho(request).status, platform::EchoStatus::kBadRequest);
  }
}

bool IsContiguousMask(std::uint32_t mask) {
  return (~mask & (~mask + 1)) == 0;
}

// Which adapters a machine has is its own affair; what is listed must be well formed.
TEST(Adapters, TheListIsWellFormedAndLeavesLoopbackOut) {
  const auto adapters = platform::SystemNetworkAdapters().List();
  for (const auto& adapter : adapters) {
    SCOPED_TRACE(adapter.name);
    EXPECT_FALSE(adapter.name.empty());
    EXPECT_NE(adapter.index, 0u);
    for (const auto& address : adapter.addresses) {
      EXPECT_NE(address.address, 0u) << "no address is listed as none, not as 0.0.0.0";
      EXPECT_NE(address.address >> 24, 127u) << "loopback";
      EXPECT_TRUE(IsContiguousMask(address.mask)) << std::hex << address.mask;
    }
    EXPECT_EQ(adapter.FirstAddress(),
              adapter.addresses.empty() ? 0u : adapter.addresses.front().address);
    EXPECT_NE(adapter.gateway >> 24, 127u);
  }
  for (std::size_t i = 0; i < adapters.size(); ++i)
    for (std::size_t j = i + 1; j < adapters.size(); ++j)
      EXPECT_NE(adapters[i].index, adapters[j].index);
}

struct AddressView {
  std::array<std::uint8_t, 6> mac{};
  std::vector<std::uint32_t> ipv4;
};

// The same machine seen through the newer adapter call, IPv4 adapters other than loopback only.
std::map<std::uint32_t, AddressView> AdaptersByNewerCall() {
  std::map<std::uint32_t, AddressView> views;
  ULONG size = 64 * 1024;
  std::vector<unsigned char> buffer(size);
  auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
  if (::GetAdaptersAddresses(AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST, nullptr,
                             first, &size) != ERROR_SUCCESS)
    return views;
  for (auto* entry = first; entry; entry = entry->Next) {
    if (entry->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
    AddressView& view = views[entry->IfIndex];
    if (entry->PhysicalAddressLength == 6) std::copy_n(entry->PhysicalAddress, 6, view.mac.begin());
    for (auto* unicast = entry->FirstUnicastAddress; unicast; unicast = unicast->Next) {
      const auto* address = reinterpret_cast<const sockaddr_in*>(unicast->Address.lpSockaddr);
      if (address->sin_family == AF_INET) view.ipv4.push_back(ntohl(address->sin_addr.s_addr));
    }
  }
  return views;
}

TEST(Adapters, TheListAgreesWithTheNewerAdapterCall) {
  const auto views = AdaptersByNewerCall();
  const auto adapters = platform::SystemNetworkAdapters().List();
  bool anyWithAddress = false;
  for (const auto& [index, view] : views) anyWithAddress = anyWithAddress || !view.ipv4.empty();
  if (anyWithAddress) {
    EXPECT_FALSE(adapters.empty());
  }
  for (const auto& adapter : adapters) {
    SCOPED_TRACE(adapter.name);
    const auto view = views.find(adapter.index);
    ASSERT_NE(view, views.end());
    EXPECT_EQ(adapter.mac, view->second.mac);
    for (const auto& address : adapter.addresses)
      EXPECT_NE(std::find(view->second.ipv4.begin(), view->second.ipv4.end(), address.address),
                view->second.ipv4.end());
  }
}

}  // namespace
