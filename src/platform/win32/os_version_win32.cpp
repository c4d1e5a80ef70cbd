#include <windows.h>

#include "platform/os_version.h"

namespace platform {

std::optional<WindowsVersion> CurrentWindowsVersion() {
  // The 148-byte record of the classic call. Newer systems report the version their
  // compatibility settings give this program, which is what the version table is meant to see.
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return std::nullopt;
  return WindowsVersion{static_cast<int>(info.dwMajorVersion),
                        static_cast<int>(info.dwMinorVersion)};
}

}  // namespace platform
