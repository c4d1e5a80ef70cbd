#pragma once

// Callers that also use Winsock include it before this header.
#include <windows.h>

namespace platform::win32 {

// A function of a loaded system library, by name; null where this Windows lacks it. This is how
// the program calls what Windows 2000 does not have: an import of it would stop the program
// before main() there.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

template <typename Function>
Function SystemFunction(const char* dll, const char* name) {
  return SystemFunction<Function>(::GetModuleHandleA(dll), name);
}

}  // namespace platform::win32
