#include "platform/posix/networkd.h"

#include <algorithm>
#include <chrono>
#include <cstring>

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
  std::unique_ptr<LinkReconfiguration> started(new LinkReconfiguration(bus_, link));
  // The watch is in place before the request, and sd-bus keeps what it hears until Wait reads
  // it: a lease given up and taken again before the wizard looks is seen all the same.
  BusMessage reply;
  std::uint64_t answer = 0;
  if (sd_bus_match_signal(bus_.raw(), &started->watch_, kNetworkd, link.c_str(),
                          "org.freedesktop.DBus.Properties", "PropertiesChanged",
                          &LinkReconfiguration::OnPropertiesChanged, started.get()) < 0 ||
      sd_bus_call_method(bus_.raw(), kNetworkd, link.c_str(), kNetworkdLink, "Reconfigure", nullptr,
                         reply.out(), "") < 0 ||
      sd_bus_message_get_cookie(reply.get(), &answer) < 0 ||
      !sd_bus_message_get_sender(reply.get()))
    return nullptr;
  started->daemon_ = sd_bus_message_get_sender(reply.get());
  started->answer_ = answer;
  return started;
}

bool NetworkdClient::Reconfigure(const std::string& link, int timeoutMs) {
  const auto reconfiguration = StartReconfigure(link);
  return reconfiguration && reconfiguration->Wait(timeoutMs);
}

LinkReconfiguration::~LinkReconfiguration() {
  sd_bus_slot_unref(watch_);
}

int LinkReconfiguration::OnPropertiesChanged(sd_bus_message* message, void* self, sd_bus_error*) {
  static_cast<LinkReconfiguration*>(self)->Hear(message);
  return 0;
}

void LinkReconfiguration::Hear(sd_bus_message* message) {
  // What the daemon said before it answered is of the configuration being replaced, such as the
  // end of an earlier one. Serials only compare within one connection of the daemon.
  const char* sender = sd_bus_message_get_sender(message);
  std::uint64_t serial = 0;
  const char* interface = nullptr;
  if (outcome_ != Outcome::kPending || !sender || daemon_ != sender ||
      sd_bus_message_get_cookie(message, &serial) < 0 || serial < answer_ ||
      sd_bus_message_read_basic(message, 's', &interface) <= 0 ||
      std::strcmp(interface, kNetworkdLink) != 0 ||
      sd_bus_message_enter_container(message, 'a', "{sv}") <= 0)
    return;
  while (outcome_ == Outcome::kPending && sd_bus_message_enter_container(message, 'e', "sv") > 0) {
    const char* name = nullptr;
    const char* value = nullptr;
    if (sd_bus_message_read_basic(message, 's', &name) <= 0) return;
    const bool ipv4 = std::strcmp(name, "IPv4AddressState") == 0;
    if (ipv4 || std::strcmp(name, "AdministrativeState") == 0) {
      if (sd_bus_message_read(message, "v", "s", &value) <= 0) return;
    } else if (sd_bus_message_skip(message, "v") < 0) {
      return;
    }
    if (sd_bus_message_exit_container(message) < 0) return;
    if (value) Note(ipv4, value);
  }
}

void LinkReconfiguration::Note(bool ipv4, const std::string& state) {
  // The fresh configuration drops the lease first; the address that is routable again after
  // that is the new lease's. A link still busy with other work (an IPv6 router that never
  // answers, say) is done for us then.
  if (ipv4 && state == "routable") {
    if (leaseDropped_) outcome_ = Outcome::kLeased;
  } else if (ipv4) {
    leaseDropped_ = true;
  } else if (state == "failed" || state == "unmanaged" || state == "linger") {
    outcome_ = Outcome::kFailed;
  } else if (state == "configured") {
    configured_ = reconfiguring_;
  } else {
    reconfiguring_ = true;
  }
}

bool LinkReconfiguration::Wait(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (outcome_ == Outcome::kPending) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return false;
    const int processed = sd_bus_process(bus_.raw(), nullptr);
    if (processed < 0) return false;
    if (configured_) {
      // The daemon calls a link configured once any of its dynamic addresses is there: an IPv4
      // one may still be to come, and is the new lease's when it comes.
      configured_ = false;
      if (bus_.StringProperty(kNetworkd, link_, kNetworkdLink, "IPv4AddressState") == "routable")
        return true;
      leaseDropped_ = true;
    }
    if (processed > 0) continue;
    const auto nap = std::min<std::chrono::steady_clock::duration>(left, std::chrono::seconds(1));
    const int woken =
        sd_bus_wait(bus_.raw(), std::chrono::duration_cast<std::chrono::microseconds>(nap).count());
    if (woken < 0) return false;
    // A daemon that went away, and a link that went with it, say nothing more.
    if (woken == 0 && !bus_.StringProperty(kNetworkd, link_, kNetworkdLink, "AdministrativeState"))
      return false;
  }
  return outcome_ == Outcome::kLeased;
}

}  // namespace platform::posix
