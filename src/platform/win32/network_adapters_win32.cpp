#include <winsock2.h>
// The IP Helper headers need the socket types first.
#include <iphlpapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/network_adapters.h"
#include "platform/win32/adapter_facts.h"

namespace platform {
namespace {

// 0 for an empty or malformed text, as for "0.0.0.0". inet_addr is what every Windows has; its
// answer for malformed text is the same as for the all-ones mask, which is told apart by name.
std::uint32_t ParseAddress(const char* text) {
  const unsigned long address = ::inet_addr(text);
  if (address == INADDR_NONE) return std::strcmp(text, "255.255.255.255") == 0 ? 0xFFFFFFFFu : 0;
  return ntohl(address);
}

NetworkAdapter FromInfo(const IP_ADAPTER_INFO& info) {
  NetworkAdapter adapter;
  adapter.name = info.AdapterName;
  adapter.index = info.Index;
  if (info.AddressLength == adapter.mac.size())
    std::copy_n(info.Address, adapter.mac.size(), adapter.mac.begin());
  // An adapter without an address is listed with "0.0.0.0", which stands for no address.
  for (const IP_ADDR_STRING* entry = &info.IpAddressList; entry; entry = entry->Next) {
    const std::uint32_t address = ParseAddress(entry->IpAddress.String);
    if (address != 0) adapter.addresses.push_back({address, ParseAddress(entry->IpMask.String)});
  }
  for (const IP_ADDR_STRING* entry = &info.GatewayList; entry; entry = entry->Next) {
    adapter.gateway = ParseAddress(entry->IpAddress.String);
    if (adapter.gateway != 0) break;
  }
  return adapter;
}

class IpHelperAdapters final : public NetworkAdapterService {
 public:
  std::vector<NetworkAdapter> List() override {
    std::vector<NetworkAdapter> adapters;
    const std::vector<unsigned char> buffer = win32::AdapterInfoBuffer();
    if (buffer.empty()) return adapters;
    const std::vector<win32::IpHelperAdapter> facts = win32::IpHelperAdapterFacts(buffer);
    for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); info;
         info = info->Next) {
      if (info->Type == MIB_IF_TYPE_LOOPBACK) continue;
      NetworkAdapter& adapter = adapters.emplace_back(FromInfo(*info));
      for (const win32::IpHelperAdapter& known : facts) {
        if (known.index != info->Index) continue;
        adapter.medium = win32::MediumOf(known.facts);
        adapter.connected = win32::LinkUp(known.facts);
      }
    }
    return adapters;
  }
};

}  // namespace

NetworkAdapterService& SystemNetworkAdapters() {
  static IpHelperAdapters adapters;
  return adapters;
}

}  // namespace platform
