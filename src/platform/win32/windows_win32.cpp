#include <windows.h>

#include "platform/windows.h"

namespace platform {
namespace {

class DesktopWindows final : public WindowService {
 public:
  WindowHandle FindTopLevelWindow(const std::string& title) override {
    return reinterpret_cast<WindowHandle>(::FindWindowA(nullptr, title.c_str()));
  }

  bool SendCommand(WindowHandle window, int commandId) override {
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return false;
    // SendMessage returns once the window procedure has handled the command.
    ::SendMessageA(hwnd, WM_COMMAND, static_cast<WPARAM>(commandId), 0);
    return true;
  }
};

}  // namespace

WindowService& SystemWindows() {
  static DesktopWindows windows;
  return windows;
}

}  // namespace platform
