#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network_adapters.h"

namespace platform::posix {

// Everything the DHCP client reads or writes is ours: its configuration, the script it calls
// with each lease, and one pid file and one lease file per interface, all in one private folder.
// The distribution's own client script is never used: it rewrites the host's resolver
// configuration and may rename the host.
struct DhclientFiles {
  std::string config;
  std::string script;
  std::string pidFile;
  std::string leaseFile;
};

DhclientFiles DhclientFilesFor(const std::string& stateFolder, const std::string& interfaceName);

// Sends a release for the interface's lease (when the lease file holds one), lets the script
// remove the address and stops the client that kept the lease.
std::vector<std::string> DhclientReleaseCommand(const std::string& dhclient,
                                                const DhclientFiles& files,
                                                const std::string& interfaceName);
// Asks once for a lease; on success the client stays in the background to keep it.
std::vector<std::string> DhclientRenewCommand(const std::string& dhclient,
                                              const DhclientFiles& files,
                                              const std::string& interfaceName);

// Whether a process's command line (its NUL-separated /proc cmdline) is a client that keeps the
// given pid file: a process that merely took over a stale pid's number never is.
bool IsClientOfPidFile(std::string_view commandLine, const std::string& pidFile);

// Ends the DHCP clients the wizard started, found by the pid files in its private state folder,
// never by name. They end without a release, so the lease and its address stay for their time.
void EndDhcpClients();

// Removes the addresses that were set by hand (permanent ones); leased addresses carry a lifetime.
std::vector<std::string> FlushStaticAddressesCommand(const std::string& ip,
                                                     const std::string& interfaceName);
std::vector<std::string> ListStaticAddressesCommand(const std::string& ip);

// The interface names in the one-line output of the listing command, each once, in order.
std::vector<std::string> InterfacesInAddressListing(std::string_view listing);

extern const char* const kDhclientConfig;
extern const char* const kDhclientScript;

struct InterfaceFacts {
  std::string name;
  std::uint32_t index = 0;
  bool up = false;
  bool loopback = false;
  bool pointToPoint = false;
  bool broadcast = false;
  bool ethernet = false;
  bool enslaved = false;  // a bridge port or bond member: its master carries the address
  bool carrier = false;   // a cable (or a link's other end) is there
  // What the kernel says the device is beyond Ethernet: "bridge", "bond", "wlan", "vxlan",
  // "tun" and so on; empty for a plain Ethernet card or a veth link.
  std::string kind;
  // A bridge one of whose ports is an Ethernet card of the machine's own with carrier, as when
  // virtual machines share the PC's cable: the bridge then carries the cable's traffic.
  bool cardPort = false;
};

// What carries the interface's link: a wireless card, a link of the PC's own making (a bridge
// without a card among its ports, a bond, a tunnel, a member of either, or anything that is no
// Ethernet broadcast link), else a cable.
AdapterMedium MediumOf(const InterfaceFacts& facts);

// Whether the interface can be the cable to the modem, so that DHCP applies to it: a cable,
// up and with carrier, and no bridge (its addressing belongs to whoever set it up).
bool IsDhcpCandidate(const InterfaceFacts& facts);

// The device kind from an interface's sysfs uevent text (its DEVTYPE line), or the empty text.
std::string DeviceKindInUevent(std::string_view uevent);

}  // namespace platform::posix
