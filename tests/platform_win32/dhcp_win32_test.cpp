#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/dhcp.h"
#include "platform/win32/dhcp_fallback.h"

// The lease methods themselves are never called here: they would reach the machine's real
// adapters. The decisions around them are pure and tested as such; the read-only part of the
// management interface (the adapter query) runs for real.
namespace {

using platform::win32::AfterLeaseMethod;
using platform::win32::IpInterface;
using platform::win32::LeaseStep;
using platform::win32::MatchIpInterface;
using platform::win32::WmiAdapterIdentity;

constexpr std::int32_t Code(std::uint32_t value) {
  return static_cast<std::int32_t>(value);
}

TEST(DhcpFallback, OnlyAMissingMethodSendsTheRequestToTheIpHelper) {
  struct Case {
    std::uint32_t hresult;
    std::optional<std::uint32_t> returnValue;
    LeaseStep expected;
  };
  const Case cases[] = {
      {0x00000000, 0, LeaseStep::kDone},  // accepted
      {0x00000000, 1, LeaseStep::kDone},  // accepted, restart needed
      {0x00000000, std::nullopt, LeaseStep::kDone},
      {0x00000000, 64, LeaseStep::kFailed},              // the method ran and refused
      {0x00000000, 84, LeaseStep::kFailed},              // IP not enabled on the adapter
      {0x8004102E, std::nullopt, LeaseStep::kIpHelper},  // invalid method (Wine)
      {0x80041055, std::nullopt, LeaseStep::kIpHelper},  // method not implemented
      {0x8004100C, std::nullopt, LeaseStep::kIpHelper},  // not supported
      {0x80041002, std::nullopt, LeaseStep::kFailed},    // object not found
      {0x80070005, std::nullopt, LeaseStep::kFailed},    // access denied
      {0x80041003, std::nullopt, LeaseStep::kFailed},    // access denied by the provider
  };
  for (const Case& c : cases)
    EXPECT_EQ(AfterLeaseMethod(Code(c.hresult), c.returnValue), c.expected)
        << std::hex << c.hresult;
}

// COM security set first by another component of the process used to end the renewal with
// nothing renewed; the IP Helper renews then. Wine accepts every security call, so this choice
// cannot be met there from outside.
TEST(DhcpFallback, SecuritySetElsewhereRenewsThroughTheIpHelper) {
  using platform::win32::RenewalService;
  using platform::win32::ServiceAfterSecurity;
  EXPECT_EQ(ServiceAfterSecurity(0, false), RenewalService::kManagementInterface);
  EXPECT_EQ(ServiceAfterSecurity(Code(0x80010119), true), RenewalService::kManagementInterface);
  EXPECT_EQ(ServiceAfterSecurity(Code(0x80010119), false), RenewalService::kIpHelper);
  EXPECT_EQ(ServiceAfterSecurity(Code(0x80004005), false), RenewalService::kIpHelper);
}

TEST(DhcpFallback, TheIpHelperInterfaceIsFoundByTheSurestTie) {
  const std::vector<IpInterface> interfaces = {
      {7, "\\DEVICE\\TCPIP_{11111111-2222-3333-4444-555555555555}"},
      {12, "\\DEVICE\\TCPIP_{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}"},
  };
  struct Case {
    WmiAdapterIdentity adapter;
    std::optional<std::uint32_t> expected;
  };
  const Case cases[] = {
      // The interface index wins over a configuration number that names another interface.
      {{7, 12, ""}, 12},
      {{1, 7, "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}"}, 7},
      // A known interface index that is not listed is no match, whatever else fits.
      {{7, 99, ""}, std::nullopt},
      // The GUID, in any letter case.
      {{3, std::nullopt, "{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}"}, 12},
      {{12, std::nullopt, "{11111111-2222-3333-4444-555555555555}"}, 7},
      // Without a matching GUID the configuration number is taken as the interface, as Wine
      // numbers them and gives GUIDs of its own.
      {{12, std::nullopt, "{00000012-0000-0000-0000-000000000000}"}, 12},
      {{7, std::nullopt, ""}, 7},
      {{8, std::nullopt, "{99999999-2222-3333-4444-555555555555}"}, std::nullopt},
      {{8, std::nullopt, ""}, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchIpInterface(c.adapter, interfaces), c.expected)
        << c.adapter.index << " " << c.adapter.settingId;
  EXPECT_EQ(MatchIpInterface({7, std::nullopt, ""}, {}), std::nullopt);
}

// Security for COM is set once per process; a second renewal in the same run must still get a
// session rather than give up.
TEST(DhcpSession, SessionsOpenAgainAndListAdaptersWithoutChangingThem) {
  for (int run = 0; run < 2; ++run) {
    auto session = platform::SystemDhcp().OpenSession();
    ASSERT_NE(session, nullptr) << "run " << run;
    const auto adapters = session->Adapters();
    for (std::size_t i = 0; i < adapters.size(); ++i) {
      EXPECT_FALSE(adapters[i].name.empty());
      for (std::size_t j = i + 1; j < adapters.size(); ++j)
        EXPECT_NE(adapters[i].index, adapters[j].index);
    }
  }
}

TEST(DhcpSession, NothingIsDoneBeforeTheAdaptersAreListed) {
  auto session = platform::SystemDhcp().OpenSession();
  ASSERT_NE(session, nullptr);
  const platform::DhcpAdapter unknown{"none", 0xFFFFFF, true};
  EXPECT_FALSE(session->ReleaseLease(unknown));
  EXPECT_FALSE(session->RenewLease(unknown));
  EXPECT_FALSE(session->EnableDhcp(unknown));
}

}  // namespace
