#include "platform/posix/networkd.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform::posix {
namespace {

constexpr const char* kNetworkd = "org.freedesktop.network1";
constexpr const char* kNetworkdLink = "org.freedesktop.network1.Link";
// A daemon restarted by its service manager is back on the bus well within this.
constexpr auto kRestartGrace = std::chrono::seconds(3);

// The value of a key of a flat JSON object: a string's text or a number's digits.
std::string_view ValueOf(std::string_view object, std::string_view key) {
  const std::string quoted = "\"" + std::string(key) + "\":";
  std::size_t at = object.find(quoted);
  if (at == std::string_view::npos) return {};
  at += quoted.size();
  while (at < object.size() && object[at] == ' ') ++at;
  if (at < object.size() && object[at] == '"') {
    const std::size_t end = object.find('"', at + 1);
    return end == std::string_view::npos ? std::string_view() : object.substr(at + 1, end - at - 1);
  }
  std::size_t end = at;
  while (end < object.size() && object[end] >= '0' && object[end] <= '9') ++end;
  return object.substr(at, end - at);
}

std::uint64_t Number(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) value = value * 10 + static_cast<std::uint64_t>(c - '0');
  return value;
}

// The end of a DHCPv4 address's lifetime, for one object of Describe's address list; a lease
// given up already is still listed while the kernel removes it.
std::optional<std::uint64_t> LeaseEnd(std::string_view address) {
  if (ValueOf(address, "Family") != "2" || ValueOf(address, "ConfigSource") != "DHCPv4" ||
      ValueOf(address, "ConfigState") != "configured")
    return std::nullopt;
  // Later versions spell the key with a capital S; an address without one never ends.
  auto end = ValueOf(address, "ValidLifetimeUsec");
  if (end.empty()) end = ValueOf(address, "ValidLifetimeUSec");
  return end.empty() ? std::numeric_limits<std::uint64_t>::max() : Number(end);
}

std::optional<std::string> Describe(SystemBus& bus, const std::string& link,
                                    std::chrono::steady_clock::time_point deadline,
                                    BusError* error) {
  BusMessage call;
  BusMessage reply;
  const char* json = nullptr;
  if (!bus.NewCall(call, kNetworkd, link, kNetworkdLink, "Describe") ||
      bus.Call(call, deadline, reply, error) < 0 ||
      sd_bus_message_read_basic(reply.get(), 's', &json) <= 0 || !json)
    return std::nullopt;
  return std::string(json);
}

std::chrono::steady_clock::time_point After(int timeoutMs) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
}

}  // namespace

LinkDescription ParseLinkDescription(std::string_view json) {
  LinkDescription description;
  description.administrativeState = std::string(ValueOf(json, "AdministrativeState"));
  constexpr std::string_view kList = "\"Addresses\":[";
  const std::size_t list = json.find(kList);
  if (list == std::string_view::npos) return description;
  // Address objects hold arrays of numbers and no objects; strings may hold brackets.
  int depth = 0;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = list + kList.size(); i < json.size(); ++i) {
    const char c = json[i];
    if (quoted) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '{' || c == '[') {
      if (depth++ == 0) start = i;
    } else if (c == '}' || c == ']') {
      if (depth-- == 0) break;
      if (depth == 0 && c == '}') {
        const auto end = LeaseEnd(json.substr(start, i + 1 - start));
        if (end && (!description.newestLease || *end > *description.newestLease))
          description.newestLease = end;
      }
    }
  }
  return description;
}

std::unique_ptr<NetworkdClient> NetworkdClient::Connect(SystemBus& bus) {
  if (!bus.HasOwner(kNetworkd)) return nullptr;
  return std::unique_ptr<NetworkdClient>(new NetworkdClient(bus));
}

LinkOwnership NetworkdClient::ManagedLink(std::uint32_t interfaceIndex, int timeoutMs) {
  const auto deadline = After(timeoutMs);
  LinkOwnership ownership;
  BusMessage call;
  BusMessage reply;
  BusError error;
  const char* name = nullptr;
  const char* link = nullptr;
  if (!bus_.NewCall(call, kNetworkd, "/org/freedesktop/network1",
                    "org.freedesktop.network1.Manager", "GetLinkByIndex") ||
      sd_bus_message_append(call.get(), "i", static_cast<std::int32_t>(interfaceIndex)) < 0 ||
      bus_.Call(call, deadline, reply, &error) < 0 ||
      sd_bus_message_read(reply.get(), "so", &name, &link) <= 0 || !link) {
    // A link it has not seen is not its; a daemon that is gone configures nothing.
    if (sd_bus_error_has_name(error.out(), "org.freedesktop.network1.NoSuchLink") ||
        !bus_.HasOwner(kNetworkd))
      return ownership;
    ownership.kind = LinkOwnership::Kind::kUnanswered;
    ownership.why = error.text().empty() ? "no answer" : error.text();
    return ownership;
  }
  const auto description = Describe(bus_, link, deadline, &error);
  if (!description) {
    ownership.kind = LinkOwnership::Kind::kUnanswered;
    ownership.why = error.text().empty() ? "no answer" : error.text();
    return ownership;
  }
  // "unmanaged" links have no file of its; "pending" ones are not looked at yet.
  const std::string state = ParseLinkDescription(*description).administrativeState;
  if (state.empty() || state == "unmanaged" || state == "pending") return ownership;
  ownership.kind = LinkOwnership::Kind::kConfigured;
  ownership.link = link;
  return ownership;
}

std::unique_ptr<LinkReconfiguration> NetworkdClient::StartReconfigure(const std::string& link,
                                                                      int timeoutMs) {
  const auto deadline = After(timeoutMs);
  std::unique_ptr<LinkReconfiguration> started(new LinkReconfiguration(bus_, link));
  // The lease held when asked, if any, ends before any lease taken after it.
  const auto before = Describe(bus_, link, deadline, nullptr);
  if (!before) return nullptr;
  started->leaseBefore_ = ParseLinkDescription(*before).newestLease.value_or(0);
  const std::string owner =
      std::string(
          "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
          "member='NameOwnerChanged',arg0='") +
      kNetworkd + "'";
  BusMessage call;
  BusMessage reply;
  if (sd_bus_match_signal(bus_.raw(), &started->linkWatch_, kNetworkd, link.c_str(),
                          "org.freedesktop.DBus.Properties", "PropertiesChanged",
                          &LinkReconfiguration::OnLinkChanged, started.get()) < 0 ||
      sd_bus_add_match(bus_.raw(), &started->ownerWatch_, owner.c_str(),
                       &LinkReconfiguration::OnOwnerChanged, started.get()) < 0 ||
      !bus_.NewCall(call, kNetworkd, link, kNetworkdLink, "Reconfigure") ||
      bus_.Call(call, deadline, reply) < 0)
    return nullptr;
  return started;
}

bool NetworkdClient::Reconfigure(const std::string& link, int timeoutMs) {
  const auto deadline = After(timeoutMs);
  const auto reconfiguration = StartReconfigure(link, timeoutMs);
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return reconfiguration && reconfiguration->Wait(static_cast<int>(left.count()));
}

LinkReconfiguration::~LinkReconfiguration() {
  sd_bus_slot_unref(linkWatch_);
  sd_bus_slot_unref(ownerWatch_);
}

int LinkReconfiguration::OnLinkChanged(sd_bus_message*, void* self, sd_bus_error*) {
  static_cast<LinkReconfiguration*>(self)->heard_ = true;
  return 0;
}

int LinkReconfiguration::OnOwnerChanged(sd_bus_message* message, void* self, sd_bus_error*) {
  auto* reconfiguration = static_cast<LinkReconfiguration*>(self);
  const char* name = nullptr;
  const char* before = nullptr;
  const char* now = nullptr;
  if (sd_bus_message_read(message, "sss", &name, &before, &now) <= 0 || !now) return 0;
  // A new daemon configures the link from the start and takes a lease of its own, later than
  // the one the wizard replaces.
  if (*now)
    reconfiguration->ownerGone_.reset();
  else
    reconfiguration->ownerGone_ = Clock::now();
  reconfiguration->heard_ = true;
  return 0;
}

LinkReconfiguration::Outcome LinkReconfiguration::Look(Clock::time_point deadline) {
  BusError error;
  const auto json = Describe(bus_, link_, deadline, &error);
  if (!json) {
    // The link is gone; other errors pass with the daemon that caused them.
    return sd_bus_error_has_name(error.out(), "org.freedesktop.DBus.Error.UnknownObject")
               ? Outcome::kFailed
               : Outcome::kPending;
  }
  const auto description = ParseLinkDescription(*json);
  const auto& state = description.administrativeState;
  if (state == "failed" || state == "unmanaged" || state == "linger") return Outcome::kFailed;
  return description.newestLease.value_or(0) > leaseBefore_ ? Outcome::kLeased : Outcome::kPending;
}

bool LinkReconfiguration::Wait(int timeoutMs) {
  // The signals only say when to look again: whatever they were, the lease ends later than the
  // one held when the wizard asked only if it was taken since.
  const auto deadline = After(timeoutMs);
  heard_ = true;
  for (;;) {
    const auto now = Clock::now();
    if (now >= deadline || (ownerGone_ && now - *ownerGone_ >= kRestartGrace)) return false;
    if (heard_ && !ownerGone_) {
      heard_ = false;
      const Outcome outcome = Look(deadline);
      if (outcome != Outcome::kPending) return outcome == Outcome::kLeased;
    }
    const int processed = sd_bus_process(bus_.raw(), nullptr);
    if (processed < 0) return false;
    if (processed > 0) continue;
    const auto nap = std::min<Clock::duration>(deadline - Clock::now(), std::chrono::seconds(1));
    const int woken = sd_bus_wait(
        bus_.raw(), static_cast<std::uint64_t>(std::max<std::int64_t>(
                        0, std::chrono::duration_cast<std::chrono::microseconds>(nap).count())));
    if (woken < 0) return false;
    // A lease that made no signal, beside a static address say, is seen all the same.
    if (woken == 0) heard_ = true;
  }
}

}  // namespace platform::posix
