#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/service_override.h"

namespace platform {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

// Text values under registry keys. Key paths are written with backslashes between the key names
// ("Software\\Norvane\\Quillon") on every OS.
class RegistryService {
 public:
  virtual ~RegistryService() = default;
  // Creates the key (and the keys above it) or opens it for full access, sets the text value and
  // closes the key. A text is stored up to its first NUL, as a registry text value holds it.
  virtual bool WriteText(RegistryRoot root, const std::string& keyPath,
                         const std::string& valueName, const std::string& text) = 0;
  // Opens the key for full access and reads the value into a buffer of `bufferSize` bytes. A
  // value that does not fit with its terminating NUL is a failure, as is a missing key or value.
  virtual std::optional<std::string> ReadText(RegistryRoot root, const std::string& keyPath,
                                              const std::string& valueName,
                                              std::size_t bufferSize) = 0;
  // Whether the key exists and can be opened for full access.
  virtual bool KeyExists(RegistryRoot root, const std::string& keyPath) = 0;
};

// The system's registry; defined once per OS.
RegistryService& SystemRegistry();

inline RegistryService& CurrentRegistry() {
  return CurrentService<RegistryService>(SystemRegistry());
}

using ScopedRegistry = ScopedServiceReplacement<RegistryService>;

}  // namespace platform
