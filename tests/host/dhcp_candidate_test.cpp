// Which Windows adapters the DHCP renewal may touch: the choice alone, from the facts the IP
// Helper and the adapter's driver give. It builds and runs on every platform.
#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/dhcp_candidate.h"

namespace {

using platform::win32::AdapterFacts;
using platform::win32::CandidacyOf;
using platform::win32::DhcpCandidacy;

TEST(WindowsDhcpCandidate, OnlyAWiredAdapterWithItsCableInIsRenewed) {
  constexpr std::uint32_t kEthernet = 6, kOperational = 5;
  const AdapterFacts wired{kEthernet, kOperational, std::nullopt};
  EXPECT_EQ(CandidacyOf(wired), DhcpCandidacy::kCandidate);
  auto with = [&](auto change) {
    AdapterFacts facts = wired;
    change(facts);
    return CandidacyOf(facts);
  };
  // Drivers that name their medium: unspecified, 802.3, or a wired kind the modem might sit on.
  for (const std::uint32_t medium : {0u, 5u, 14u})
    EXPECT_EQ(with([&](AdapterFacts& f) { f.physicalMedium = medium; }), DhcpCandidacy::kCandidate)
        << medium;
  EXPECT_EQ(with([](AdapterFacts& f) { f.operStatus = 4; }), DhcpCandidacy::kCandidate);

  EXPECT_EQ(CandidacyOf(std::nullopt), DhcpCandidacy::kUnknownAdapter);
  // 802.11 as Vista and later type it, loopback, PPP, a tunnel, other.
  for (const std::uint32_t type : {71u, 24u, 23u, 131u, 1u})
    EXPECT_EQ(with([&](AdapterFacts& f) { f.type = type; }), DhcpCandidacy::kNotEthernet) << type;
  // Wireless cards that call themselves Ethernet, as before Vista, told apart by their driver.
  for (const std::uint32_t medium : {1u, 8u, 9u, 10u})
    EXPECT_EQ(with([&](AdapterFacts& f) { f.physicalMedium = medium; }), DhcpCandidacy::kWireless)
        << medium;
  // Disabled, unreachable, cable out, connecting; and no state at all.
  for (const std::uint32_t status : {0u, 1u, 2u, 3u})
    EXPECT_EQ(with([&](AdapterFacts& f) { f.operStatus = status; }), DhcpCandidacy::kNotConnected)
        << status;
  EXPECT_EQ(with([](AdapterFacts& f) { f.operStatus.reset(); }), DhcpCandidacy::kLinkUnknown);
}

}  // namespace
