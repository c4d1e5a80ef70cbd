#include "platform/win32/adapter_facts.h"

#include <winsock2.h>
// The IP Helper headers need the socket types first.
#include <iphlpapi.h>

namespace platform::win32 {
namespace {

// CTL_CODE(FILE_DEVICE_PHYSICAL_NETCARD, 0, METHOD_OUT_DIRECT, FILE_ANY_ACCESS): a query of the
// adapter's driver through the device every network driver has under its GUID.
constexpr DWORD kNdisQueryGlobalStats = 0x00170002;
constexpr DWORD kOidGenPhysicalMedium = 0x00010202;

// The medium the driver names, where it answers. Before Windows Vista this alone tells a wireless
// card, which the IP Helper types as Ethernet. The device is only opened for queries.
std::optional<std::uint32_t> PhysicalMedium(const std::string& guid) {
  if (guid.size() < 3 || guid.front() != '{' || guid.find_first_of("\\/:") != std::string::npos)
    return std::nullopt;
  const std::string device = "\\\\.\\" + guid;
  HANDLE handle = ::CreateFileA(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  DWORD oid = kOidGenPhysicalMedium;
  DWORD medium = 0;
  DWORD returned = 0;
  const BOOL ok = ::DeviceIoControl(handle, kNdisQueryGlobalStats, &oid, sizeof(oid), &medium,
                                    sizeof(medium), &returned, nullptr);
  ::CloseHandle(handle);
  if (!ok || returned != sizeof(medium)) return std::nullopt;
  return medium;
}

std::optional<std::uint32_t> OperStatus(std::uint32_t index) {
  MIB_IFROW row{};
  row.dwIndex = index;
  if (::GetIfEntry(&row) != NO_ERROR) return std::nullopt;
  return row.dwOperStatus;
}

}  // namespace

// The size is asked for first and may grow between the calls when an adapter appears.
std::vector<unsigned char> AdapterInfoBuffer() {
  ULONG size = 16 * sizeof(IP_ADAPTER_INFO);
  std::vector<unsigned char> buffer;
  for (int attempt = 0; attempt < 4; ++attempt) {
    buffer.assign(size, 0);
    const DWORD rc = ::GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (rc == ERROR_SUCCESS) return buffer;
    if (rc != ERROR_BUFFER_OVERFLOW) break;
  }
  return {};
}

std::vector<IpHelperAdapter> IpHelperAdapterFacts() {
  return IpHelperAdapterFacts(AdapterInfoBuffer());
}

std::vector<IpHelperAdapter> IpHelperAdapterFacts(const std::vector<unsigned char>& buffer) {
  std::vector<IpHelperAdapter> adapters;
  if (buffer.empty()) return adapters;
  for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); info;
       info = info->Next) {
    IpHelperAdapter adapter;
    adapter.index = info->Index;
    adapter.guid = info->AdapterName;
    adapter.description = info->Description;
    adapter.facts.type = info->Type;
    adapter.facts.operStatus = OperStatus(info->Index);
    adapter.facts.physicalMedium = PhysicalMedium(adapter.guid);
    adapters.push_back(std::move(adapter));
  }
  return adapters;
}

std::optional<AdapterFacts> FactsOf(const WmiAdapterIdentity& adapter,
                                    const std::vector<IpHelperAdapter>& adapters) {
  std::vector<IpInterface> interfaces;
  for (const auto& known : adapters) interfaces.push_back({known.index, known.guid});
  const std::optional<std::uint32_t> index = MatchIpInterface(adapter, interfaces);
  if (!index) return std::nullopt;
  for (const auto& known : adapters)
    if (known.index == *index) return known.facts;
  return std::nullopt;
}

}  // namespace platform::win32
