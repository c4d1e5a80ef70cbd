#include "platform/posix/system_bus.h"

#include <cerrno>

namespace platform::posix {

std::unique_ptr<SystemBus> SystemBus::Connect() {
  sd_bus* bus = nullptr;
  if (sd_bus_open_system(&bus) < 0) return nullptr;
  return std::unique_ptr<SystemBus>(new SystemBus(bus));
}

SystemBus::~SystemBus() {
  sd_bus_flush_close_unref(bus_);
}

bool SystemBus::HasOwner(const char* name) {
  BusMessage reply;
  int owned = 0;
  return sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                            "org.freedesktop.DBus", "NameHasOwner", nullptr, reply.out(), "s",
                            name) >= 0 &&
         sd_bus_message_read(reply.get(), "b", &owned) > 0 && owned;
}

bool SystemBus::NewCall(BusMessage& call, const char* service, const std::string& path,
                        const char* interface, const char* member) {
  return sd_bus_message_new_method_call(bus_, call.out(), service, path.c_str(), interface,
                                        member) >= 0 &&
         sd_bus_message_set_auto_start(call.get(), 0) >= 0;
}

int SystemBus::Call(const BusMessage& call, std::chrono::steady_clock::time_point deadline,
                    BusMessage& reply, BusError* error) {
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
  // sd-bus reads a time-out of 0 as its default of 25 s.
  if (left <= 0) return -ETIMEDOUT;
  return sd_bus_call(bus_, call.get(), static_cast<std::uint64_t>(left),
                     error ? error->out() : nullptr, reply.out());
}

namespace {

template <typename Read>
auto ReadProperty(sd_bus* bus, const char* service, const std::string& path, const char* interface,
                  const char* property, const char* type, Read read) -> decltype(read(nullptr)) {
  BusMessage reply;
  if (sd_bus_get_property(bus, service, path.c_str(), interface, property, nullptr, reply.out(),
                          type) < 0)
    return std::nullopt;
  return read(reply.get());
}

std::optional<std::string> ReadText(sd_bus_message* message, const char* type) {
  const char* text = nullptr;
  if (sd_bus_message_read_basic(message, type[0], &text) <= 0 || !text) return std::nullopt;
  return std::string(text);
}

}  // namespace

std::optional<std::string> SystemBus::ObjectProperty(const char* service, const std::string& path,
                                                     const char* interface, const char* property) {
  return ReadProperty(bus_, service, path, interface, property, "o",
                      [](sd_bus_message* m) { return ReadText(m, "o"); });
}

std::optional<std::string> SystemBus::StringProperty(const char* service, const std::string& path,
                                                     const char* interface, const char* property) {
  return ReadProperty(bus_, service, path, interface, property, "s",
                      [](sd_bus_message* m) { return ReadText(m, "s"); });
}

std::optional<std::uint32_t> SystemBus::Uint32Property(const char* service, const std::string& path,
                                                       const char* interface,
                                                       const char* property) {
  return ReadProperty(bus_, service, path, interface, property, "u",
                      [](sd_bus_message* m) -> std::optional<std::uint32_t> {
                        std::uint32_t value = 0;
                        if (sd_bus_message_read_basic(m, 'u', &value) <= 0) return std::nullopt;
                        return value;
                      });
}

std::optional<bool> SystemBus::BoolProperty(const char* service, const std::string& path,
                                            const char* interface, const char* property) {
  return ReadProperty(bus_, service, path, interface, property, "b",
                      [](sd_bus_message* m) -> std::optional<bool> {
                        int value = 0;
                        if (sd_bus_message_read_basic(m, 'b', &value) <= 0) return std::nullopt;
                        return value != 0;
                      });
}

}  // namespace platform::posix
