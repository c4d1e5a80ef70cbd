#include "platform/posix/interface_list.h"

#include <dirent.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

namespace platform::posix {
namespace {

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str().substr(0, 4096);
}

bool HasSysEntry(const std::string& name, const char* entry) {
  struct stat st {};
  return ::lstat(("/sys/class/net/" + name + "/" + entry).c_str(), &st) == 0;
}

bool Enslaved(const std::string& name, unsigned flags) {
  return (flags & IFF_SLAVE) || HasSysEntry(name, "master");
}

// Some drivers name no device type; their sysfs entries tell instead.
std::string DeviceKind(const std::string& name) {
  std::string kind = DeviceKindInUevent(ReadSmallFile("/sys/class/net/" + name + "/uevent"));
  if (!kind.empty()) return kind;
  if (HasSysEntry(name, "bridge")) return "bridge";
  if (HasSysEntry(name, "bonding")) return "bond";
  if (HasSysEntry(name, "wireless") || HasSysEntry(name, "phy80211")) return "wlan";
  if (HasSysEntry(name, "tun_flags")) return "tun";
  return {};
}

// Whether a bridge has among its ports a card of the machine's own (a device behind it, which
// veth, tap and other links of software lack) with carrier.
bool HasCardPort(const std::string& bridge) {
  DIR* ports = ::opendir(("/sys/class/net/" + bridge + "/brif").c_str());
  if (!ports) return false;
  bool found = false;
  while (const dirent* port = ::readdir(ports)) {
    const std::string name = port->d_name;
    if (name == "." || name == "..") continue;
    if (HasSysEntry(name, "device") &&
        ReadSmallFile("/sys/class/net/" + name + "/carrier").starts_with('1'))
      found = true;
  }
  ::closedir(ports);
  return found;
}

}  // namespace

std::vector<InterfaceFacts> ListInterfaces() {
  std::vector<posix::InterfaceFacts> interfaces;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return interfaces;
  for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_name || !entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET) continue;
    const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
    InterfaceFacts facts;
    facts.name = entry->ifa_name;
    facts.index = static_cast<std::uint32_t>(link->sll_ifindex);
    facts.up = entry->ifa_flags & IFF_UP;
    facts.loopback = entry->ifa_flags & IFF_LOOPBACK;
    facts.pointToPoint = entry->ifa_flags & IFF_POINTOPOINT;
    facts.broadcast = entry->ifa_flags & IFF_BROADCAST;
    facts.ethernet = link->sll_hatype == ARPHRD_ETHER;
    facts.enslaved = Enslaved(facts.name, entry->ifa_flags);
    facts.carrier = entry->ifa_flags & IFF_RUNNING;
    facts.kind = DeviceKind(facts.name);
    facts.cardPort = facts.kind == "bridge" && HasCardPort(facts.name);
    interfaces.push_back(std::move(facts));
  }
  ::freeifaddrs(list);
  std::stable_sort(interfaces.begin(), interfaces.end(),
                   [](const auto& a, const auto& b) { return a.index < b.index; });
  return interfaces;
}

}  // namespace platform::posix
