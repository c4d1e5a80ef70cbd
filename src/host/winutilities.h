#pragma once

#include <cstdint>

namespace host {

// The operating-system kind for a platform version: 1 Windows 2000, 2 XP, 3 Server 2003,
// 4 Windows 95 (and NT 4.0), 5 Me, 6 98, 7 Vista; 0 for every other version.
std::uint8_t VersionCodeFor(int major, int minor);

// The kind of the running system; 0 where the system is not Windows.
std::uint8_t PlatformVersionCode();

// Switches every IP-enabled adapter to DHCP where it has a static address, then releases and
// renews its lease, adapter by adapter. Returns 1 when the system's configuration services refuse
// the process, else 0, also when an adapter's step failed: the caller does not look further.
int RenewAllDhcpLeases();

}  // namespace host
