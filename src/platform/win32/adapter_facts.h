#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/dhcp_candidate.h"
#include "platform/win32/dhcp_fallback.h"

namespace platform::win32 {

// The IP Helper's adapter list (GetAdaptersInfo) as one buffer; empty when the system cannot
// give it.
std::vector<unsigned char> AdapterInfoBuffer();

// One adapter of the IP Helper's list, with what decides whether the DHCP renewal may touch it.
struct IpHelperAdapter {
  std::uint32_t index = 0;  // the interface index
  std::string guid;  // "{...}": the adapter's name there, the management interface's SettingID
  std::string description;
  AdapterFacts facts;
};

// Every adapter the IP Helper lists, with its type, link state and physical medium.
std::vector<IpHelperAdapter> IpHelperAdapterFacts();
// The same for a list already taken with AdapterInfoBuffer.
std::vector<IpHelperAdapter> IpHelperAdapterFacts(const std::vector<unsigned char>& buffer);

// The facts of the IP Helper adapter that a management-interface configuration describes; none
// when it is not among them.
std::optional<AdapterFacts> FactsOf(const WmiAdapterIdentity& adapter,
                                    const std::vector<IpHelperAdapter>& adapters);

}  // namespace platform::win32
