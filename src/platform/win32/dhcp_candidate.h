#pragma once

// The choice of the adapters the DHCP renewal may touch, apart from the system calls that gather
// what it needs, so that any build can check it.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/network_adapters.h"

namespace platform::win32 {

// What the IP Helper and the adapter's driver tell about one adapter.
struct AdapterFacts {
  std::uint32_t type = 0;                       // IF_TYPE_* (6: Ethernet, 71: 802.11, ...)
  std::optional<std::uint32_t> operStatus;      // MIB_IF_OPER_STATUS_*, when the system gave it
  std::optional<std::uint32_t> physicalMedium;  // NDIS_PHYSICAL_MEDIUM, when the driver answered
};

enum class DhcpCandidacy {
  kCandidate,
  kUnknownAdapter,  // the IP Helper does not list it: nothing is known of its link
  kNotEthernet,
  kWireless,
  kNotConnected,
  kLinkUnknown,
};

// Whether DHCP may be switched on and the lease renewed on the adapter: only one that can be the
// cable to the modem, a wired Ethernet adapter with its medium connected. No facts: the adapter
// is not among the IP Helper's.
DhcpCandidacy CandidacyOf(const std::optional<AdapterFacts>& facts);

// What carries the adapter's link, for finding the modem: a wireless card (by its interface type,
// or before Vista by its driver's medium), an Ethernet card, else a link of the PC's own making
// (dial-up, a tunnel).
AdapterMedium MediumOf(const AdapterFacts& facts);

// Whether the adapter's link can carry datagrams now: its medium connected, or its state not told.
bool LinkUp(const AdapterFacts& facts);

// Why an adapter is left alone, for the log.
std::string_view Describe(DhcpCandidacy candidacy);

}  // namespace platform::win32
