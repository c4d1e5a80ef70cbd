#include <windows.h>

#include "platform/windows.h"

namespace platform {
namespace {

// A utility that hangs must not hold the caller: the driver thread, and through it the window
// that waits for the thread, would hang with it.
constexpr UINT kCommandTimeoutMs = 5000;

class DesktopWindows final : public WindowService {
 public:
  WindowHandle FindTopLevelWindow(const std::string& title) override {
    return reinterpret_cast<WindowHandle>(::FindWindowA(nullptr, title.c_str()));
  }

  bool SendCommand(WindowHandle window, int commandId) override {
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return false;
    // Returns once the window procedure has handled the command, or false when it did not
    // within the time-out or its program no longer answers messages at all.
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(hwnd, WM_COMMAND, static_cast<WPARAM>(commandId), 0,
                                 SMTO_ABORTIFHUNG, kCommandTimeoutMs, &ignored) != 0;
  }
};

}  // namespace

WindowService& SystemWindows() {
  static DesktopWindows windows;
  return windows;
}

}  // namespace platform
