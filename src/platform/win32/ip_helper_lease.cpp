#include "platform/win32/ip_helper_lease.h"

#include <winsock2.h>
// The IP Helper headers need the socket types first.
#include <iphlpapi.h>

#include <vector>

namespace platform::win32 {
namespace {

// The interface list as one buffer; the size is asked for first and may grow between the calls.
std::vector<unsigned char> InterfaceInfoBuffer() {
  ULONG size = sizeof(IP_INTERFACE_INFO);
  std::vector<unsigned char> buffer;
  for (int attempt = 0; attempt < 4; ++attempt) {
    buffer.assign(size, 0);
    const DWORD rc = ::GetInterfaceInfo(reinterpret_cast<IP_INTERFACE_INFO*>(buffer.data()), &size);
    if (rc == NO_ERROR) return buffer;
    if (rc != ERROR_INSUFFICIENT_BUFFER) break;
  }
  return {};
}

std::string Narrow(const WCHAR* text) {
  std::string narrow;
  for (; *text != 0; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
  return narrow;
}

// GUIDs and device names are plain ASCII, so a lossy narrowing compares them safely.
std::vector<IpInterface> InterfacesIn(const std::vector<unsigned char>& buffer) {
  std::vector<IpInterface> interfaces;
  if (buffer.empty()) return interfaces;
  const auto* info = reinterpret_cast<const IP_INTERFACE_INFO*>(buffer.data());
  for (LONG i = 0; i < info->NumAdapters; ++i)
    interfaces.push_back({info->Adapter[i].Index, Narrow(info->Adapter[i].Name)});
  return interfaces;
}

}  // namespace

std::vector<IpInterface> IpHelperInterfaces() {
  return InterfacesIn(InterfaceInfoBuffer());
}

bool IpHelperLease(const WmiAdapterIdentity& adapter, LeaseAction action) {
  std::vector<unsigned char> buffer = InterfaceInfoBuffer();
  if (buffer.empty()) return false;
  auto* info = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.data());
  const std::optional<std::uint32_t> index = MatchIpInterface(adapter, InterfacesIn(buffer));
  if (!index) return false;
  for (LONG i = 0; i < info->NumAdapters; ++i) {
    IP_ADAPTER_INDEX_MAP& entry = info->Adapter[i];
    if (entry.Index != *index) continue;
    const DWORD rc =
        action == LeaseAction::kRelease ? ::IpReleaseAddress(&entry) : ::IpRenewAddress(&entry);
    return rc == NO_ERROR;
  }
  return false;
}

}  // namespace platform::win32
