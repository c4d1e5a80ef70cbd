#pragma once

#include <optional>

namespace platform {

struct WindowsVersion {
  int major = 0;
  int minor = 0;
};

// The Windows version numbers the system reports; none on other systems.
std::optional<WindowsVersion> CurrentWindowsVersion();

}  // namespace platform
