#include "host/winutilities.h"

#include "platform/dhcp.h"
#include "platform/os_version.h"

namespace host {

std::uint8_t VersionCodeFor(int major, int minor) {
  struct Entry {
    int major;
    int minor;
    std::uint8_t code;
  };
  static constexpr Entry kTable[] = {
      {5, 0, 1}, {5, 1, 2}, {5, 2, 3}, {4, 0, 4}, {4, 90, 5}, {4, 10, 6}, {6, 0, 7},
  };
  for (const auto& entry : kTable)
    if (entry.major == major && entry.minor == minor) return entry.code;
  return 0;
}

std::uint8_t PlatformVersionCode() {
  auto version = platform::CurrentWindowsVersion();
  return version ? VersionCodeFor(version->major, version->minor) : 0;
}

int RenewAllDhcpLeases() {
  auto session = platform::CurrentDhcp().OpenSession();
  if (!session) return 1;
  // Each step's result is ignored: a failing adapter must not keep the others from a new lease.
  for (const auto& adapter : session->Adapters()) {
    if (!adapter.dhcpEnabled) session->EnableDhcp(adapter);
    session->ReleaseLease(adapter);
    session->RenewLease(adapter);
  }
  return 0;
}

}  // namespace host
