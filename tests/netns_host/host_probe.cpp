// Runs one host service for real in the calling network namespace:
//   host_probe renew     the wizard's DHCP renewal; exits with its result
//   host_probe renew-and-wait  the renewal, then waits for a signal as a running wizard would
//   host_probe adapters  the adapter list, one "name address/mask gateway" line per adapter
//   host_probe start     takes the single-instance lock as the wizard does first at start
//   host_probe renew-late IFNAME  asks systemd-networkd for the adapter's fresh configuration,
//                        then stops until SIGCONT before it waits for the outcome
#include <net/if.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/winutilities.h"
#include "platform/network_adapters.h"
#include "platform/posix/networkd.h"
#include "platform/process.h"

namespace {

std::string Dotted(std::uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
         std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

int ListAdapters() {
  for (const auto& adapter : platform::ListNetworkAdapters()) {
    std::uint32_t mask = adapter.addresses.empty() ? 0 : adapter.addresses.front().mask;
    std::printf("%s %s/%s %s\n", adapter.name.c_str(), Dotted(adapter.FirstAddress()).c_str(),
                Dotted(mask).c_str(), Dotted(adapter.gateway).c_str());
  }
  return 0;
}

// A wizard descheduled on a loaded machine may look only after the daemon has given up the lease
// and taken it again; the caller continues the probe once the daemon's log shows the new lease.
int RenewLate(const char* interfaceName) {
  namespace posix = platform::posix;
  const auto bus = posix::SystemBus::Connect();
  const auto networkd = bus ? posix::NetworkdClient::Connect(*bus) : nullptr;
  const unsigned index = ::if_nametoindex(interfaceName);
  const auto ownership =
      networkd && index != 0 ? networkd->ManagedLink(index, 5000) : posix::LinkOwnership();
  const auto reconfiguration =
      ownership.link.empty() ? nullptr : networkd->StartReconfigure(ownership.link, 5000);
  if (!reconfiguration) return 2;
  std::raise(SIGSTOP);
  const bool leased = reconfiguration->Wait(10000);
  std::printf("renewal seen: %s\n", leased ? "yes" : "no");
  return leased ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "renew") == 0) {
    int result = host::RenewAllDhcpLeases();
    std::printf("RenewAllDhcpLeases: %d\n", result);
    return result;
  }
  if (argc == 2 && std::strcmp(argv[1], "renew-and-wait") == 0) {
    std::printf("RenewAllDhcpLeases: %d\n", host::RenewAllDhcpLeases());
    std::fflush(stdout);
    for (;;) ::pause();
  }
  if (argc == 2 && std::strcmp(argv[1], "adapters") == 0) return ListAdapters();
  if (argc == 3 && std::strcmp(argv[1], "renew-late") == 0) return RenewLate(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "start") == 0)
    return platform::CreateNamedMutex("Norvane")->alreadyExisted() ? 1 : 0;
  std::fprintf(stderr, "usage: %s renew|renew-and-wait|adapters|start|renew-late IFNAME\n",
               argv[0]);
  return 64;
}
