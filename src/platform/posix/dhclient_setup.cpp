#include "platform/posix/dhclient_setup.h"

namespace platform::posix {

const char* const kDhclientConfig =
    "# Written by the setup wizard for its own DHCP client runs.\n"
    "timeout 10;\n"
    "retry 60;\n"
    "initial-interval 1;\n"
    "request subnet-mask, broadcast-address, routers, domain-name-servers;\n";

// Only the address, its mask and broadcast, and a default route are applied. Name resolution is
// left alone, and so is an existing default route of another adapter: "add" fails quietly where
// "replace" would take the PC's route away from it.
const char* const kDhclientScript =
    "#!/bin/sh\n"
    "# Written by the setup wizard: applies a lease's address and default route, nothing else.\n"
    "PATH=/usr/sbin:/usr/bin:/sbin:/bin\n"
    "export PATH\n"
    "drop_old() {\n"
    "  [ -n \"$old_ip_address\" ] || return 0\n"
    "  ip -4 addr del \"$old_ip_address${old_subnet_mask:+/$old_subnet_mask}\" "
    "dev \"$interface\" 2>/dev/null\n"
    "  return 0\n"
    "}\n"
    "case \"$reason\" in\n"
    "  PREINIT)\n"
    "    ip link set dev \"$interface\" up\n"
    "    ;;\n"
    "  BOUND|RENEW|REBIND|REBOOT)\n"
    "    if [ \"$old_ip_address\" != \"$new_ip_address\" ]; then drop_old; fi\n"
    "    ip -4 addr replace \"$new_ip_address${new_subnet_mask:+/$new_subnet_mask}\" "
    "${new_broadcast_address:+broadcast $new_broadcast_address} dev \"$interface\" "
    "${new_dhcp_lease_time:+valid_lft $new_dhcp_lease_time preferred_lft "
    "$new_dhcp_lease_time} || exit 1\n"
    "    for router in $new_routers; do\n"
    "      ip -4 route add default via \"$router\" dev \"$interface\" proto dhcp 2>/dev/null\n"
    "      break\n"
    "    done\n"
    "    ;;\n"
    "  EXPIRE|FAIL|RELEASE|STOP)\n"
    "    drop_old\n"
    "    ;;\n"
    "  TIMEOUT)\n"
    "    # A remembered lease is not trusted without a server that confirms it.\n"
    "    exit 1\n"
    "    ;;\n"
    "esac\n"
    "exit 0\n";

DhclientFiles DhclientFilesFor(const std::string& stateFolder, const std::string& interfaceName) {
  std::string base = stateFolder;
  if (!base.empty() && base.back() != '/') base += '/';
  return {base + "dhclient.conf", base + "dhclient-script", base + interfaceName + ".pid",
          base + interfaceName + ".leases"};
}

namespace {

std::vector<std::string> Dhclient(const std::string& dhclient, const char* mode,
                                  const DhclientFiles& files, const std::string& interfaceName) {
  return {dhclient,        "-4",  mode,          "-cf",
          files.config,    "-pf", files.pidFile, "-lf",
          files.leaseFile, "-sf", files.script,  interfaceName};
}

}  // namespace

std::vector<std::string> DhclientReleaseCommand(const std::string& dhclient,
                                                const DhclientFiles& files,
                                                const std::string& interfaceName) {
  return Dhclient(dhclient, "-r", files, interfaceName);
}

std::vector<std::string> DhclientRenewCommand(const std::string& dhclient,
                                              const DhclientFiles& files,
                                              const std::string& interfaceName) {
  return Dhclient(dhclient, "-1", files, interfaceName);
}

bool IsClientOfPidFile(std::string_view commandLine, const std::string& pidFile) {
  std::vector<std::string_view> arguments;
  while (!commandLine.empty()) {
    const std::size_t end = commandLine.find('\0');
    arguments.push_back(commandLine.substr(0, end));
    if (end == std::string_view::npos) break;
    commandLine.remove_prefix(end + 1);
  }
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
    if (arguments[i] == "-pf" && arguments[i + 1] == pidFile) return true;
  return false;
}

std::vector<std::string> FlushStaticAddressesCommand(const std::string& ip,
                                                     const std::string& interfaceName) {
  return {ip, "-4", "addr", "flush", "dev", interfaceName, "permanent"};
}

std::vector<std::string> ListStaticAddressesCommand(const std::string& ip) {
  return {ip, "-4", "-o", "addr", "show", "permanent"};
}

std::vector<std::string> InterfacesInAddressListing(std::string_view listing) {
  // "4: eth0    inet 192.0.2.5/24 brd ... scope global eth0\       valid_lft forever ..."
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < listing.size()) {
    std::size_t end = listing.find('\n', start);
    if (end == std::string_view::npos) end = listing.size();
    std::string_view line = listing.substr(start, end - start);
    start = end + 1;
    std::size_t colon = line.find(": ");
    if (colon == std::string_view::npos) continue;
    std::size_t first = line.find_first_not_of(' ', colon + 2);
    if (first == std::string_view::npos) continue;
    std::size_t last = line.find_first_of(" \t", first);
    std::string name(line.substr(first, last == std::string_view::npos ? last : last - first));
    name = name.substr(0, name.find('@'));
    if (name.empty()) continue;
    bool seen = false;
    for (const auto& known : names) seen = seen || known == name;
    if (!seen) names.push_back(name);
  }
  return names;
}

// Only the adapter cabled to the modem can take a lease from it. Every other adapter keeps its
// addresses as they are: a bridge's is the gateway of the containers or virtual machines behind
// it, and a client started on an unplugged or wireless adapter would only wait out its time-out.
AdapterMedium MediumOf(const InterfaceFacts& facts) {
  if (facts.kind == "wlan") return AdapterMedium::kWireless;
  if (facts.kind == "bridge" && facts.cardPort && facts.ethernet && facts.broadcast &&
      !facts.enslaved)
    return AdapterMedium::kWired;
  constexpr std::string_view kVirtual[] = {"bridge", "bond",   "team",   "tun",      "vxlan",
                                           "geneve", "gretap", "erspan", "wireguard"};
  for (const std::string_view kind : kVirtual)
    if (facts.kind == kind) return AdapterMedium::kVirtual;
  if (facts.loopback || facts.pointToPoint || !facts.broadcast || !facts.ethernet || facts.enslaved)
    return AdapterMedium::kVirtual;
  return AdapterMedium::kWired;
}

bool IsDhcpCandidate(const InterfaceFacts& facts) {
  return facts.up && facts.carrier && facts.kind != "bridge" &&
         MediumOf(facts) == AdapterMedium::kWired;
}

std::string DeviceKindInUevent(std::string_view uevent) {
  constexpr std::string_view kKey = "DEVTYPE=";
  size_t start = 0;
  while (start < uevent.size()) {
    size_t end = uevent.find('\n', start);
    if (end == std::string_view::npos) end = uevent.size();
    const std::string_view line = uevent.substr(start, end - start);
    if (line.substr(0, kKey.size()) == kKey) return std::string(line.substr(kKey.size()));
    start = end + 1;
  }
  return {};
}

}  // namespace platform::posix
