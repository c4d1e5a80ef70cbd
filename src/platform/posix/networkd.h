#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/posix/system_bus.h"

namespace platform::posix {

class LinkReconfiguration;

// systemd-networkd, driven over its D-Bus interface. It configures each adapter from the
// administrator's files, so the way an adapter takes its address stays theirs; what the wizard
// asks of it is a fresh configuration, which gives up the lease and asks for a new one.
class NetworkdClient {
 public:
  // nullptr when systemd-networkd does not run (it is never started for us). The bus outlives
  // the client.
  static std::unique_ptr<NetworkdClient> Connect(SystemBus& bus);

  // Its object for the adapter, when it configures the adapter.
  std::optional<std::string> ManagedLink(std::uint32_t interfaceIndex);

  // Asks for the adapter's fresh configuration; nullptr when the daemon refuses.
  std::unique_ptr<LinkReconfiguration> StartReconfigure(const std::string& link);

  // Configures the adapter afresh and waits until it is configured with a usable IPv4 address
  // or timeoutMs has passed.
  bool Reconfigure(const std::string& link, int timeoutMs);

 private:
  explicit NetworkdClient(SystemBus& bus) : bus_(bus) {}
  SystemBus& bus_;
};

// One fresh configuration that the wizard asked of the daemon, and what the daemon has said of the
// link since it answered.
class LinkReconfiguration {
 public:
  ~LinkReconfiguration();
  LinkReconfiguration(const LinkReconfiguration&) = delete;
  LinkReconfiguration& operator=(const LinkReconfiguration&) = delete;

  // Whether the link is configured with a usable IPv4 address by this configuration before
  // timeoutMs has passed.
  bool Wait(int timeoutMs);

 private:
  friend class NetworkdClient;
  LinkReconfiguration(SystemBus& bus, std::string link) : bus_(bus), link_(std::move(link)) {}
  static int OnPropertiesChanged(sd_bus_message* message, void* self, sd_bus_error* error);
  void Hear(sd_bus_message* message);
  void Note(bool ipv4, const std::string& state);

  enum class Outcome { kPending, kLeased, kFailed };
  SystemBus& bus_;
  std::string link_;
  sd_bus_slot* watch_ = nullptr;
  std::string daemon_;          // the unique name of the daemon that answered the request
  std::uint64_t answer_ = 0;    // the serial of its answer
  bool reconfiguring_ = false;  // after the answer, a state of a configuration under way
  bool leaseDropped_ = false;   // the link's IPv4 address stopped being routable
  bool configured_ = false;     // the fresh configuration is done; is its IPv4 address usable?
  Outcome outcome_ = Outcome::kPending;
};

}  // namespace platform::posix
