#include "platform/win32/dhcp_candidate.h"

namespace platform::win32 {
namespace {

constexpr std::uint32_t kEthernet = 6;  // IF_TYPE_ETHERNET_CSMACD, MIB_IF_TYPE_ETHERNET
constexpr std::uint32_t kIeee80211 = 71;
// A LAN adapter with its cable in is "operational"; "connected" is the word of WAN links, which
// a few drivers use for their LAN too.
constexpr std::uint32_t kOperConnected = 4;
constexpr std::uint32_t kOperOperational = 5;

// Before Windows Vista a wireless card calls itself Ethernet; only its driver tells the medium.
bool IsWireless(std::uint32_t medium) {
  // WirelessLan, WirelessWan, Native802_11, Bluetooth, WiMax, UWB
  constexpr std::uint32_t kWireless[] = {1, 8, 9, 10, 12, 13};
  for (const std::uint32_t wireless : kWireless)
    if (medium == wireless) return true;
  return false;
}

}  // namespace

// Only the adapter cabled to the modem can take a lease from it. Switching any other adapter to
// DHCP would drop the address the user gave it, and releasing its lease cuts what it connects.
DhcpCandidacy CandidacyOf(const std::optional<AdapterFacts>& facts) {
  if (!facts) return DhcpCandidacy::kUnknownAdapter;
  if (facts->type != kEthernet) return DhcpCandidacy::kNotEthernet;
  if (facts->physicalMedium && IsWireless(*facts->physicalMedium)) return DhcpCandidacy::kWireless;
  if (!facts->operStatus) return DhcpCandidacy::kLinkUnknown;
  if (*facts->operStatus != kOperOperational && *facts->operStatus != kOperConnected)
    return DhcpCandidacy::kNotConnected;
  return DhcpCandidacy::kCandidate;
}

AdapterMedium MediumOf(const AdapterFacts& facts) {
  if (facts.type == kIeee80211) return AdapterMedium::kWireless;
  if (facts.type != kEthernet) return AdapterMedium::kVirtual;
  if (facts.physicalMedium && IsWireless(*facts.physicalMedium)) return AdapterMedium::kWireless;
  return AdapterMedium::kWired;
}

bool LinkUp(const AdapterFacts& facts) {
  return !facts.operStatus || *facts.operStatus == kOperOperational ||
         *facts.operStatus == kOperConnected;
}

std::string_view Describe(DhcpCandidacy candidacy) {
  switch (candidacy) {
    case DhcpCandidacy::kCandidate:
      return "a wired adapter with its cable connected";
    case DhcpCandidacy::kUnknownAdapter:
      return "not among the IP Helper's adapters";
    case DhcpCandidacy::kNotEthernet:
      return "not an Ethernet adapter";
    case DhcpCandidacy::kWireless:
      return "a wireless adapter";
    case DhcpCandidacy::kNotConnected:
      return "no cable connected, or switched off";
    case DhcpCandidacy::kLinkUnknown:
      return "its link state is unknown";
  }
  return "unknown";
}

}  // namespace platform::win32
