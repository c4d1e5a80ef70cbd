// Which Windows adapters the DHCP renewal may touch: the choice alone, from the facts the IP
// Helper and the adapter's driver give. It builds and runs on every platform.
#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/dhcp_candidate.h"

namespace {

using platform::AdapterMedium;
using platform::win32::AdapterFacts;
using platform::win32::CandidacyOf;
using platform::win32::DhcpCandidacy;

// Wireless LAN and WAN, native 802.11, Bluetooth, WiMAX, UWB.
constexpr std::uint32_t kWirelessMedia[] = {1, 8, 9, 10, 12, 13};

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
  for (const std::uint32_t medium : kWirelessMedia)
    EXPECT_EQ(with([&](AdapterFacts& f) { f.physicalMedium = medium; }), DhcpCandidacy::kWireless)
        << medium;
  // Disabled, unreachable, cable out, connecting; and no state at all.
  for (const std::uint32_t status : {0u, 1u, 2u, 3u})
    EXPECT_EQ(with([&](AdapterFacts& f) { f.operStatus = status; }), DhcpCandidacy::kNotConnected)
        << status;
  EXPECT_EQ(with([](AdapterFacts& f) { f.operStatus.reset(); }), DhcpCandidacy::kLinkUnknown);
}

// The discovery asks cables first, radios next, and never a link the PC makes itself.
TEST(WindowsAdapterMedium, CableRadioOrTheSystemsOwnLink) {
  using platform::win32::LinkUp;
  using platform::win32::MediumOf;
  constexpr std::uint32_t kEthernet = 6;
  EXPECT_EQ(MediumOf({kEthernet, 5, std::nullopt}), AdapterMedium::kWired);
  EXPECT_EQ(MediumOf({kEthernet, 5, 0}), AdapterMedium::kWired);
  EXPECT_EQ(MediumOf({71, 5, std::nullopt}), AdapterMedium::kWireless);
  for (const std::uint32_t medium : kWirelessMedia)
    EXPECT_EQ(MediumOf({kEthernet, 5, medium}), AdapterMedium::kWireless) << medium;
  for (const std::uint32_t type : {24u, 23u, 131u, 1u})
    EXPECT_EQ(MediumOf({type, 5, std::nullopt}), AdapterMedium::kVirtual) << type;
  EXPECT_TRUE(LinkUp({kEthernet, 5, std::nullopt}));
  EXPECT_TRUE(LinkUp({kEthernet, 4, std::nullopt}));
  EXPECT_TRUE(LinkUp({kEthernet, std::nullopt, std::nullopt}));
  for (const std::uint32_t status : {0u, 1u, 2u, 3u})
    EXPECT_FALSE(LinkUp({kEthernet, status, std::nullopt})) << status;
}

}  // namespace
