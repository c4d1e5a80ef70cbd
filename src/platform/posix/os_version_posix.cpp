#include "platform/os_version.h"

namespace platform {

std::optional<WindowsVersion> CurrentWindowsVersion() {
  return std::nullopt;
}

}  // namespace platform
