// The toolchain's static libraries were built for newer Windows: its thread library imports
// GetTickCount64 (Vista) and the vectored exception handler calls (XP), its C++ library the C
// runtime's _fstat64 (the runtime of XP). An import the system lacks stops the program before
// main(), so these definitions of the import slots take the place of the system's import
// libraries: each slot holds a function that calls the system's own where it has one, and a
// fallback where it does not. Linked into the executable as an object, ahead of the libraries.
#include "platform/win32/floor/import_fallbacks.h"

#include <sys/stat.h>
#include <windows.h>

#include "platform/win32/system_function.h"

namespace platform::win32 {
namespace {

// The last count read and the wraps seen, as one 64-bit value guarded by a spin lock: Windows
// 2000 has no 64-bit interlocked exchange to do without it.
volatile LONG tickLock = 0;
std::uint64_t lastTick = 0;

ULONGLONG WINAPI TickCount64Slot() {
  return TickCount64();
}

PVOID WINAPI AddVectoredHandlerSlot(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
  using Fn = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
  static const auto add = SystemFunction<Fn>("kernel32.dll", "AddVectoredExceptionHandler");
  // Without vectored handlers the thread library gives debuggers no thread names, nothing else.
  return add != nullptr ? add(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandlerSlot(PVOID handle) {
  using Fn = ULONG(WINAPI*)(PVOID);
  static const auto remove = SystemFunction<Fn>("kernel32.dll", "RemoveVectoredExceptionHandler");
  return remove != nullptr ? remove(handle) : 0;
}

int __cdecl FileStatus64Slot(int descriptor, struct _stat64* status) {
  return FileStatus64(descriptor, status);
}

}  // namespace

std::uint64_t TickCount64() {
  using Fn = ULONGLONG(WINAPI*)();
  static const auto system = SystemFunction<Fn>("kernel32.dll", "GetTickCount64");
  return system != nullptr ? system() : TickCount64FromTickCount();
}

std::uint64_t TickCount64FromTickCount() {
  while (::InterlockedExchange(&tickLock, 1) != 0) ::Sleep(0);
  const DWORD now = ::GetTickCount();
  std::uint64_t wraps = lastTick >> 32;
  if (now < static_cast<DWORD>(lastTick)) ++wraps;
  lastTick = (wraps << 32) | now;
  const std::uint64_t result = lastTick;
  ::InterlockedExchange(&tickLock, 0);
  return result;
}

int FileStatus64(int descriptor, struct _stat64* status) {
  using Fn = int(__cdecl*)(int, struct _stat64*);
  static const auto system = SystemFunction<Fn>("msvcrt.dll", "_fstat64");
  return system != nullptr ? system(descriptor, status)
                           : FileStatus64FromStatI64(descriptor, status);
}

int FileStatus64FromStatI64(int descriptor, struct _stat64* status) {
  struct _stat32i64 narrow;
  const int result = ::_fstat32i64(descriptor, &narrow);
  if (result != 0) return result;
  status->st_dev = narrow.st_dev;
  status->st_ino = narrow.st_ino;
  status->st_mode = narrow.st_mode;
  status->st_nlink = narrow.st_nlink;
  status->st_uid = narrow.st_uid;
  status->st_gid = narrow.st_gid;
  status->st_rdev = narrow.st_rdev;
  status->st_size = narrow.st_size;
  status->st_atime = narrow.st_atime;
  status->st_mtime = narrow.st_mtime;
  status->st_ctime = narrow.st_ctime;
  return 0;
}

}  // namespace platform::win32

// The import slots, by the names the static libraries refer to: those of 32-bit Windows, with C's
// leading underscore and stdcall's argument bytes.
static_assert(sizeof(void*) == 4, "the import slots are named as on 32-bit Windows");
extern "C" {
void* importSlotTickCount64 asm("__imp__GetTickCount64@0") =
    reinterpret_cast<void*>(&platform::win32::TickCount64Slot);
void* importSlotAddVectoredHandler asm("__imp__AddVectoredExceptionHandler@8") =
    reinterpret_cast<void*>(&platform::win32::AddVectoredHandlerSlot);
void* importSlotRemoveVectoredHandler asm("__imp__RemoveVectoredExceptionHandler@4") =
    reinterpret_cast<void*>(&platform::win32::RemoveVectoredHandlerSlot);
void* importSlotFstat64 asm("__imp___fstat64") =
    reinterpret_cast<void*>(&platform::win32::FileStatus64Slot);
}
