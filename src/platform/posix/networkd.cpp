#include "platform/posix/networkd.h"

#include <chrono>
#include <thread>

namespace platform::posix {
namespace {

constexpr const char* kNetworkd = "org.freedesktop.network1";
constexpr const char* kNetworkdLink = "org.freedesktop.network1.Link";

}  // namespace

std::unique_ptr<NetworkdClient> NetworkdClient::Connect(SystemBus& bus) {
  if (!bus.HasOwner(kNetworkd)) return nullptr;
  return std::unique_ptr<NetworkdClient>(new NetworkdClient(bus));
}

std::optional<std::string> NetworkdClient::ManagedLink(std::uint32_t interfaceIndex) {
  BusMessage reply;
  const char* name = nullptr;
  const char* link = nullptr;
  if (sd_bus_call_method(bus_.raw(), kNetworkd, "/org/freedesktop/network1",
                         "org.freedesktop.network1.Manager", "GetLinkByIndex", nullptr, reply.out(),
                         "i", static_cast<std::int32_t>(interfaceIndex)) < 0 ||
      sd_bus_message_read(reply.get(), "so", &name, &link) <= 0 || !link)
    return std::nullopt;
  // "unmanaged" links have no file of its; "pending" ones are not looked at yet.
  const auto state = bus_.StringProperty(kNetworkd, link, kNetworkdLink, "AdministrativeState");
  if (!state || *state == "unmanaged" || *state == "pending") return std::nullopt;
  return std::string(link);
}

std::unique_ptr<LinkReconfiguration> NetworkdClient::StartReconfigure(const std::string& link) {
  BusMessage reply;
  if (sd_bus_call_method(bus_.raw(), kNetworkd, link.c_str(), kNetworkdLink, "Reconfigure", nullptr,
                         reply.out(), "") < 0)
    return nullptr;
  return std::unique_ptr<LinkReconfiguration>(new LinkReconfiguration(bus_, link));
}

bool NetworkdClient::Reconfigure(const std::string& link, int timeoutMs) {
  const auto reconfiguration = StartReconfigure(link);
  return reconfiguration && reconfiguration->Wait(timeoutMs);
}

bool LinkReconfiguration::Wait(int timeoutMs) {
  // The fresh configuration first drops the lease; a link then still busy with other work (an
  // IPv6 router that never answers, say) is done for us once the new lease is routable.
  bool leaseDropped = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto state = bus_.StringProperty(kNetworkd, link_, kNetworkdLink, "AdministrativeState");
    if (!state || *state == "failed" || *state == "unmanaged") return false;
    const bool routable =
        bus_.StringProperty(kNetworkd, link_, kNetworkdLink, "IPv4AddressState") == "routable";
    if (routable && (leaseDropped || *state == "configured")) return true;
    leaseDropped = leaseDropped || !routable;
  }
  return false;
}

}  // namespace platform::posix
