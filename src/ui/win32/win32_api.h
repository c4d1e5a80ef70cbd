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
