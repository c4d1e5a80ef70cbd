#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/posix/system_bus.h"

namespace platform::posix {

class LinkReconfiguration;

// What the daemon says of an adapter.
struct LinkOwnership {
  enum class Kind { kConfigured, kNotConfigured, kUnanswered };
  Kind kind = Kind::kNotConfigured;
  std::string link;  // its object, when it configures the adapter
  std::string why;   // the error, when it did not answer
};

// What Link.Describe says of a link's addresses and state.
struct LinkDescription {
  std::optional<std::uint64_t> newestLease;  // the latest end of a DHCPv4 address's lifetime
  std::string administrativeState;
};
LinkDescription ParseLinkDescription(std::string_view json);

// systemd-networkd, driven over its D-Bus interface. It configures each adapter from the
// administrator's files, so the way an adapter takes its address stays theirs; what the wizard
// asks of it is a fresh configuration, which gives up the lease and asks for a new one.
class NetworkdClient {
 public:
  // nullptr when systemd-networkd does not run (it is never started for us). The bus outlives
  // the client.
  static std::unique_ptr<NetworkdClient> Connect(SystemBus& bus);

  // Whether the daemon configures the adapter; an adapter it did not answer for is its all the
  // same while it runs.
  LinkOwnership ManagedLink(std::uint32_t interfaceIndex, int timeoutMs);

  // Asks for the adapter's fresh configuration; nullptr when the daemon refuses or does not
  // answer within timeoutMs.
  std::unique_ptr<LinkReconfiguration> StartReconfigure(const std::string& link, int timeoutMs);

  // Configures the adapter afresh and waits until it holds a new DHCP lease or timeoutMs has
  // passed.
  bool Reconfigure(const std::string& link, int timeoutMs);

 private:
  explicit NetworkdClient(SystemBus& bus) : bus_(bus) {}
  SystemBus& bus_;
};

// One fresh configuration that the wizard asked of the daemon.
class LinkReconfiguration {
 public:
  ~LinkReconfiguration();
  LinkReconfiguration(const LinkReconfiguration&) = delete;
  LinkReconfiguration& operator=(const LinkReconfiguration&) = delete;

  // Whether the link holds a lease newer than the one it held when asked, before timeoutMs has
  // passed.
  bool Wait(int timeoutMs);

 private:
  friend class NetworkdClient;
  using Clock = std::chrono::steady_clock;
  LinkReconfiguration(SystemBus& bus, std::string link) : bus_(bus), link_(std::move(link)) {}
  static int OnLinkChanged(sd_bus_message* message, void* self, sd_bus_error* error);
  static int OnOwnerChanged(sd_bus_message* message, void* self, sd_bus_error* error);
  enum class Outcome { kPending, kLeased, kFailed };
  Outcome Look(Clock::time_point deadline);

  SystemBus& bus_;
  std::string link_;
  sd_bus_slot* linkWatch_ = nullptr;
  sd_bus_slot* ownerWatch_ = nullptr;
  std::uint64_t leaseBefore_ = 0;               // the end of the newest lease's lifetime when asked
  bool heard_ = false;                          // the link changed since the last look
  std::optional<Clock::time_point> ownerGone_;  // when the daemon left the bus
};

}  // namespace platform::posix
