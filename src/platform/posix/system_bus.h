#pragma once

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform::posix {

class BusMessage;
class BusError;

// A connection to the D-Bus system bus (DBUS_SYSTEM_BUS_ADDRESS when set), through which the
// machine's network managers are driven. Calls block for at most their time-out.
class SystemBus {
 public:
  // nullptr when there is no system bus to connect to.
  static std::unique_ptr<SystemBus> Connect();
  ~SystemBus();
  SystemBus(const SystemBus&) = delete;
  SystemBus& operator=(const SystemBus&) = delete;

  // Whether a running program holds the well-known name; never starts one.
  bool HasOwner(const char* name);

  // A method call that never starts the service, as the wizard only drives what already runs.
  bool NewCall(BusMessage& call, const char* service, const std::string& path,
               const char* interface, const char* member);
  // Sends the call and waits for its reply no later than the deadline; sd-bus's result.
  int Call(const BusMessage& call, std::chrono::steady_clock::time_point deadline,
           BusMessage& reply, BusError* error = nullptr);

  std::optional<std::string> ObjectProperty(const char* service, const std::string& path,
                                            const char* interface, const char* property);
  std::optional<std::string> StringProperty(const char* service, const std::string& path,
                                            const char* interface, const char* property);
  std::optional<std::uint32_t> Uint32Property(const char* service, const std::string& path,
                                              const char* interface, const char* property);
  std::optional<bool> BoolProperty(const char* service, const std::string& path,
                                   const char* interface, const char* property);

  sd_bus* raw() const { return bus_; }

 private:
  explicit SystemBus(sd_bus* bus) : bus_(bus) {}
  sd_bus* bus_;
};

// Owns one message and frees it, as sd-bus leaves that to the caller.
class BusMessage {
 public:
  BusMessage() = default;
  ~BusMessage() { sd_bus_message_unref(message_); }
  BusMessage(const BusMessage&) = delete;
  BusMessage& operator=(const BusMessage&) = delete;
  sd_bus_message** out() { return &message_; }
  sd_bus_message* get() const { return message_; }

 private:
  sd_bus_message* message_ = nullptr;
};

class BusError {
 public:
  BusError() = default;
  ~BusError() { sd_bus_error_free(&error_); }
  BusError(const BusError&) = delete;
  BusError& operator=(const BusError&) = delete;
  sd_bus_error* out() { return &error_; }
  std::string text() const {
    return error_.message ? error_.message : (error_.name ? error_.name : "");
  }

 private:
  sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

}  // namespace platform::posix
