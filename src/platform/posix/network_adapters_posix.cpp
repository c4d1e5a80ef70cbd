#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/network_adapters.h"
#include "platform/posix/interface_list.h"
#include "platform/posix/route_table.h"

namespace platform {
namespace {

std::uint32_t HostOrder(const sockaddr* address) {
  if (!address || address->sa_family != AF_INET) return 0;
  return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

std::string RouteTable() {
  std::ifstream in("/proc/net/route");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// An alias label ("eth0:1") names another address of the same adapter.
std::string AdapterName(const char* interfaceName) {
  std::string name = interfaceName;
  return name.substr(0, name.find(':'));
}

NetworkAdapter& AdapterNamed(std::vector<NetworkAdapter>& adapters, const std::string& name) {
  for (auto& adapter : adapters)
    if (adapter.name == name) return adapter;
  NetworkAdapter& adapter = adapters.emplace_back();
  adapter.name = name;
  adapter.index = ::if_nametoindex(name.c_str());
  return adapter;
}

// Every interface but loopback is listed, with or without an IPv4 address, the way the other
// platform lists an adapter without an address as 0.0.0.0. Linux keeps an interface's addresses
// and routes when its link loses carrier, where the other platform reports a disconnected medium
// with neither; an unplugged cable must read as unplugged, so an interface without carrier is
// listed without them.
class PosixNetworkAdapters : public NetworkAdapterService {
 public:
  std::vector<NetworkAdapter> List() override {
    std::vector<NetworkAdapter> adapters;
    std::vector<std::string> withoutCarrier;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return adapters;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
      if (!entry->ifa_name || (entry->ifa_flags & IFF_LOOPBACK) || !entry->ifa_addr) continue;
      int family = entry->ifa_addr->sa_family;
      if (family != AF_INET && family != AF_PACKET) continue;
      NetworkAdapter& adapter = AdapterNamed(adapters, AdapterName(entry->ifa_name));
      if (!(entry->ifa_flags & IFF_RUNNING)) {
        withoutCarrier.push_back(adapter.name);
        if (family == AF_INET) continue;
      }
      if (family == AF_INET) {
        adapter.addresses.push_back({HostOrder(entry->ifa_addr), HostOrder(entry->ifa_netmask)});
      } else {
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        if (link->sll_halen == adapter.mac.size())
          std::copy_n(link->sll_addr, adapter.mac.size(), adapter.mac.begin());
      }
    }
    ::freeifaddrs(list);
    const auto routes = posix::ParseDefaultRoutes(RouteTable());
    for (auto& adapter : adapters) {
      const bool carrier = std::find(withoutCarrier.begin(), withoutCarrier.end(), adapter.name) ==
                           withoutCarrier.end();
      adapter.gateway = carrier ? posix::FirstGatewayOf(routes, adapter.name) : 0;
      adapter.connected = carrier;
      // A link without a link-layer address (a tunnel's) has no facts: it is none of the cables.
      adapter.medium = AdapterMedium::kVirtual;
    }
    for (const posix::InterfaceFacts& facts : posix::ListInterfaces())
      for (auto& adapter : adapters)
        if (adapter.name == facts.name) adapter.medium = posix::MediumOf(facts);
    std::stable_sort(adapters.begin(), adapters.end(),
                     [](const auto& a, const auto& b) { return a.index < b.index; });
    return adapters;
  }
};

}  // namespace

NetworkAdapterService& SystemNetworkAdapters() {
  static PosixNetworkAdapters adapters;
  return adapters;
}

}  // namespace platform
