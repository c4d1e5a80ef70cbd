#pragma once

#include <atomic>

namespace platform {

// Services that reach outside the process (the shell, the registry, the adapter list, the DHCP
// client) can be replaced process-wide, so that tests and diagnostic tools run the wizard's logic
// without starting programs or touching the machine's network configuration. The slot holds the
// replacement, or nullptr for the system's own implementation; worker threads read it too, hence
// the atomic.
template <class Service>
std::atomic<Service*>& ServiceReplacement() {
  static std::atomic<Service*> slot{nullptr};
  return slot;
}

// The replacement if one is installed, else `system`.
template <class Service>
Service& CurrentService(Service& system) {
  Service* replacement = ServiceReplacement<Service>().load();
  return replacement ? *replacement : system;
}

// Installs a replacement for the lifetime of the object and puts the previous one back after.
template <class Service>
class ScopedServiceReplacement {
 public:
  explicit ScopedServiceReplacement(Service& replacement)
      : previous_(ServiceReplacement<Service>().exchange(&replacement)) {}
  ~ScopedServiceReplacement() { ServiceReplacement<Service>().store(previous_); }
  ScopedServiceReplacement(const ScopedServiceReplacement&) = delete;
  ScopedServiceReplacement& operator=(const ScopedServiceReplacement&) = delete;

 private:
  Service* previous_;
};

}  // namespace platform
