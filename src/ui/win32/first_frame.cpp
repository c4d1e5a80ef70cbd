#include "ui/win32/first_frame.h"

#include <cstdio>
#include <cstdlib>

#include "ui/win32/win32_api.h"

namespace ui::win32 {

namespace {

// The precise clock of Windows 8 and later where there is one; before, the system time, which
// moves in steps of the timer tick (10 to 16 ms) but exists everywhere.
void Now(FILETIME* now) {
  using PreciseFn = void(WINAPI*)(FILETIME*);
  static const auto precise = reinterpret_cast<PreciseFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  if (precise != nullptr) {
    precise(now);
  } else {
    GetSystemTimeAsFileTime(now);
  }
}

double MsSinceProcessCreated() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  Now(&now);
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 1e4;  // 100 ns units
}

}  // namespace

void ExitAfterFirstFrame() {
  GdiFlush();
  // A zero-time wait is where the system hands painted window contents to the display (Wine
  // flushes its window surfaces there), as it would before the loop's next message.
  MsgWaitForMultipleObjectsEx(0, nullptr, 0, kWakeOnAnything, 0);
  std::printf("first-frame-ms %.0f\n", MsSinceProcessCreated());
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace ui::win32
