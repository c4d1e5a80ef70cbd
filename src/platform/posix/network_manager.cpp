#include "platform/posix/network_manager.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace platform::posix {
namespace {

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr const char* kManagerPath = "/org/freedesktop/NetworkManager";
constexpr const char* kManager = "org.freedesktop.NetworkManager";
constexpr const char* kDevice = "org.freedesktop.NetworkManager.Device";
constexpr const char* kActive = "org.freedesktop.NetworkManager.Connection.Active";
constexpr const char* kSettings = "org.freedesktop.NetworkManager.Settings.Connection";
constexpr const char* kDhcp4Config = "org.freedesktop.NetworkManager.DHCP4Config";

// NMActiveConnectionState
constexpr std::uint32_t kActivated = 2;
constexpr std::uint32_t kDeactivated = 4;

// The IPv4 settings that fix an address; a connection switched to DHCP drops them.
bool FixesTheAddress(const char* key) {
  for (const char* fixed : {"method", "addresses", "address-data", "gateway"})
    if (std::strcmp(key, fixed) == 0) return true;
  return false;
}

// Copies one group of settings (a{sv}) from `from` to `to`; in the IPv4 group the address comes
// from DHCP instead.
bool CopyGroup(sd_bus_message* from, sd_bus_message* to, bool ipv4) {
  if (sd_bus_message_enter_container(from, 'a', "{sv}") <= 0 ||
      sd_bus_message_open_container(to, 'a', "{sv}") < 0)
    return false;
  int entered;
  while ((entered = sd_bus_message_enter_container(from, 'e', "sv")) > 0) {
    const char* key = nullptr;
    if (sd_bus_message_read_basic(from, 's', &key) <= 0) return false;
    if (ipv4 && FixesTheAddress(key)) {
      if (sd_bus_message_skip(from, "v") < 0) return false;
    } else if (sd_bus_message_open_container(to, 'e', "sv") < 0 ||
               sd_bus_message_append_basic(to, 's', key) < 0 ||
               sd_bus_message_copy(to, from, false) < 0 || sd_bus_message_close_container(to) < 0) {
      return false;
    }
    if (sd_bus_message_exit_container(from) < 0) return false;
  }
  if (entered < 0) return false;
  if (ipv4 && sd_bus_message_append(to, "{sv}", "method", "s", "auto") < 0) return false;
  return sd_bus_message_exit_container(from) >= 0 && sd_bus_message_close_container(to) >= 0;
}

// Copies a connection's settings (a{sa{sv}}) with its IPv4 address taken by DHCP.
bool CopyWithAutomaticIpv4(sd_bus_message* from, sd_bus_message* to) {
  if (sd_bus_message_enter_container(from, 'a', "{sa{sv}}") <= 0 ||
      sd_bus_message_open_container(to, 'a', "{sa{sv}}") < 0)
    return false;
  bool sawIpv4 = false;
  int entered;
  while ((entered = sd_bus_message_enter_container(from, 'e', "sa{sv}")) > 0) {
    const char* group = nullptr;
    if (sd_bus_message_read_basic(from, 's', &group) <= 0) return false;
    const bool ipv4 = std::strcmp(group, "ipv4") == 0;
    sawIpv4 = sawIpv4 || ipv4;
    if (sd_bus_message_open_container(to, 'e', "sa{sv}") < 0 ||
        sd_bus_message_append_basic(to, 's', group) < 0 || !CopyGroup(from, to, ipv4) ||
        sd_bus_message_close_container(to) < 0 || sd_bus_message_exit_container(from) < 0)
      return false;
  }
  if (entered < 0) return false;
  if (!sawIpv4 && sd_bus_message_append(to, "{sa{sv}}", "ipv4", 1, "method", "s", "auto") < 0)
    return false;
  return sd_bus_message_exit_container(from) >= 0 && sd_bus_message_close_container(to) >= 0;
}

}  // namespace

std::unique_ptr<NetworkManagerClient> NetworkManagerClient::Connect(SystemBus& bus) {
  if (!bus.HasOwner(kService)) return nullptr;
  return std::unique_ptr<NetworkManagerClient>(new NetworkManagerClient(bus));
}

std::optional<std::string> NetworkManagerClient::ManagedDevice(const std::string& interfaceName) {
  BusMessage reply;
  const char* device = nullptr;
  if (sd_bus_call_method(bus_.raw(), kService, kManagerPath, kManager, "GetDeviceByIpIface",
                         nullptr, reply.out(), "s", interfaceName.c_str()) < 0 ||
      sd_bus_message_read_basic(reply.get(), 'o', &device) <= 0 || !device)
    return std::nullopt;
  if (bus_.BoolProperty(kService, device, kDevice, "Managed") != true) return std::nullopt;
  return std::string(device);
}

std::string NetworkManagerClient::SettingsOf(const std::string& device) {
  auto active = bus_.ObjectProperty(kService, device, kDevice, "ActiveConnection");
  if (!active || *active == "/") return "/";
  return bus_.ObjectProperty(kService, *active, kActive, "Connection").value_or("/");
}

std::optional<std::string> NetworkManagerClient::Ipv4Method(const std::string& settings) {
  BusMessage reply;
  if (sd_bus_call_method(bus_.raw(), kService, settings.c_str(), kSettings, "GetSettings", nullptr,
                         reply.out(), "") < 0)
    return std::nullopt;
  sd_bus_message* m = reply.get();
  if (sd_bus_message_enter_container(m, 'a', "{sa{sv}}") <= 0) return std::nullopt;
  while (sd_bus_message_enter_container(m, 'e', "sa{sv}") > 0) {
    const char* group = nullptr;
    if (sd_bus_message_read_basic(m, 's', &group) <= 0) return std::nullopt;
    if (std::strcmp(group, "ipv4") != 0) {
      if (sd_bus_message_skip(m, "a{sv}") < 0 || sd_bus_message_exit_container(m) < 0)
        return std::nullopt;
      continue;
    }
    if (sd_bus_message_enter_container(m, 'a', "{sv}") <= 0) return std::nullopt;
    while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
      const char* key = nullptr;
      const char* method = nullptr;
      if (sd_bus_message_read_basic(m, 's', &key) <= 0) return std::nullopt;
      if (std::strcmp(key, "method") == 0) {
        if (sd_bus_message_read(m, "v", "s", &method) <= 0 || !method) return std::nullopt;
        return std::string(method);
      }
      if (sd_bus_message_skip(m, "v") < 0 || sd_bus_message_exit_container(m) < 0)
        return std::nullopt;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

bool NetworkManagerClient::UsesAutomaticAddressing(const std::string& device) {
  const std::string settings = SettingsOf(device);
  return settings == "/" || Ipv4Method(settings).value_or("auto") == "auto";
}

bool NetworkManagerClient::SwitchToAutomatic(const std::string& device) {
  const std::string settings = SettingsOf(device);
  if (settings == "/") return true;
  BusMessage current;
  BusMessage update;
  BusMessage reply;
  BusError error;
  return sd_bus_call_method(bus_.raw(), kService, settings.c_str(), kSettings, "GetSettings",
                            nullptr, current.out(), "") >= 0 &&
         sd_bus_message_new_method_call(bus_.raw(), update.out(), kService, settings.c_str(),
                                        kSettings, "Update") >= 0 &&
         CopyWithAutomaticIpv4(current.get(), update.get()) &&
         sd_bus_call(bus_.raw(), update.get(), 0, error.out(), reply.out()) >= 0;
}

std::optional<std::string> NetworkManagerClient::Activate(const std::string& device) {
  BusMessage reply;
  const char* active = nullptr;
  if (sd_bus_call_method(bus_.raw(), kService, kManagerPath, kManager, "ActivateConnection",
                         nullptr, reply.out(), "ooo", SettingsOf(device).c_str(), device.c_str(),
                         "/") >= 0 &&
      sd_bus_message_read_basic(reply.get(), 'o', &active) > 0 && active)
    return std::string(active);
  // A device without a connection it may use (the wired one deleted, say) gets a new one that
  // leases its address, as the manager's own default wired connection does.
  BusMessage added;
  const char* settings = nullptr;
  if (sd_bus_call_method(bus_.raw(), kService, kManagerPath, kManager, "AddAndActivateConnection",
                         nullptr, added.out(), "a{sa{sv}}oo", 2, "connection", 1, "type", "s",
                         "802-3-ethernet", "ipv4", 1, "method", "s", "auto", device.c_str(),
                         "/") >= 0 &&
      sd_bus_message_read(added.get(), "oo", &settings, &active) > 0 && active)
    return std::string(active);
  return std::nullopt;
}

// An activated connection may hold only addresses of its own, with its DHCP still asking (IPv4
// may fail where IPv6 is up); the server's options name the address it leased.
bool NetworkManagerClient::HoldsLease(const std::string& active) {
  const auto config = bus_.ObjectProperty(kService, active, kActive, "Dhcp4Config");
  BusMessage options;
  if (!config || *config == "/" ||
      sd_bus_get_property(bus_.raw(), kService, config->c_str(), kDhcp4Config, "Options", nullptr,
                          options.out(), "a{sv}") < 0 ||
      sd_bus_message_enter_container(options.get(), 'a', "{sv}") <= 0)
    return false;
  while (sd_bus_message_enter_container(options.get(), 'e', "sv") > 0) {
    const char* key = nullptr;
    if (sd_bus_message_read_basic(options.get(), 's', &key) <= 0) return false;
    if (std::strcmp(key, "ip_address") == 0) return true;
    if (sd_bus_message_skip(options.get(), "v") < 0 ||
        sd_bus_message_exit_container(options.get()) < 0)
      return false;
  }
  return false;
}

bool NetworkManagerClient::Reactivate(const std::string& device, int timeoutMs) {
  const auto active = Activate(device);
  if (!active) return false;
  const std::string& activePath = *active;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const auto state = bus_.Uint32Property(kService, activePath, kActive, "State");
    if (!state || *state == kDeactivated) return false;
    if (*state == kActivated && HoldsLease(activePath)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

}  // namespace platform::posix
