#pragma once

#include <cstdint>
#include <string>

#include "platform/service_override.h"

namespace platform {

// A top-level window of another program as FindTopLevelWindow found it; 0 is none.
using WindowHandle = std::uintptr_t;

// Commanding another program through its window: the wizard finds the adapter utility's window by
// its title and sends it a menu command, as a user picking the command in its menu would.
class WindowService {
 public:
  virtual ~WindowService() = default;
  // The first top-level window whose title is exactly `title`; 0 when there is none.
  virtual WindowHandle FindTopLevelWindow(const std::string& title) = 0;
  // Sends the window command message with this command identifier and no further data, and
  // returns once it was delivered; false when the window is gone or refused it.
  virtual bool SendCommand(WindowHandle window, int commandId) = 0;
};

// The system's windows; defined once per OS.
WindowService& SystemWindows();

inline WindowService& CurrentWindows() {
  return CurrentService<WindowService>(SystemWindows());
}

using ScopedWindows = ScopedServiceReplacement<WindowService>;

}  // namespace platform
