#pragma once

#include <cstdlib>
#include <string>

namespace platform {

// The process's environment variables. Windows and POSIX spell these differently; the names
// avoid the Win32 API's macros.
void SetEnvVar(const std::string& name, const std::string& value);
void UnsetEnvVar(const std::string& name);

// A variable's value, empty when it is not set.
inline std::string GetEnvVar(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

}  // namespace platform
