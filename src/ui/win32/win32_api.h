#pragma once

// The Windows headers, for this backend only. MessageBox is a macro there; the framework has a
// method of that name, so the macro goes and the API is called as MessageBoxW.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// The order matters: winsock2 before windows, and commctrl after both.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
// clang-format on

#undef MessageBox

namespace ui::win32 {

// The wake masks of a message wait, as Windows 2000 knows them. The toolchain's QS_INPUT and
// QS_ALLINPUT carry QS_RAWINPUT (Windows XP), with which that system's wait fails at once and a
// waiting loop spins; the backend asks for no raw input, so the bit wakes nothing anywhere.
constexpr DWORD kWakeOnInput = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON;
constexpr DWORD kWakeOnAnything =
    kWakeOnInput | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY | QS_SENDMESSAGE;

}  // namespace ui::win32
