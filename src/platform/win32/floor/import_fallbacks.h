#pragma once

#include <cstdint>

struct _stat64;

namespace platform::win32 {

// What the program's runtime libraries get in place of a system function that Windows 2000
// lacks: the function itself where the system has it, otherwise the fallback.

// A millisecond count since the system started that does not wrap after 49.7 days.
std::uint64_t TickCount64();
// The fallback alone: the 32-bit count, extended across its wraps.
std::uint64_t TickCount64FromTickCount();

// The file status of a descriptor with 64-bit size and times.
int FileStatus64(int descriptor, struct _stat64* status);
// The fallback alone: the 64-bit-size status of the C runtime of Windows 2000, widened.
int FileStatus64FromStatI64(int descriptor, struct _stat64* status);

}  // namespace platform::win32
