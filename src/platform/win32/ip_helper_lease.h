#pragma once

#include <vector>

#include "platform/win32/dhcp_fallback.h"

namespace platform::win32 {

enum class LeaseAction { kRelease, kRenew };

// The IP Helper's interfaces (the adapters that use IPv4); empty when it cannot list them.
std::vector<IpInterface> IpHelperInterfaces();

// Releases or renews the DHCP lease of the IP Helper interface that is this adapter; false when
// no interface matches or the system refused.
bool IpHelperLease(const WmiAdapterIdentity& adapter, LeaseAction action);

}  // namespace platform::win32
