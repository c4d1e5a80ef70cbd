#pragma once

namespace ui::fltk {

// Milliseconds since this process started. A launcher that wants precision sets
// QUILLON_START_NS to std::chrono::steady_clock's count in nanoseconds (CLOCK_MONOTONIC)
// just before it starts the process; without it, the kernel's start time of the process in
// /proc/self/stat is compared with /proc/uptime, which is good to about 10 ms.
double MsSinceProcessStart();

// The start-up benchmark's hook (QUILLON_EXIT_AFTER_FIRST_FRAME=1): makes sure the X server has
// the first frame, prints "first-frame-ms N" on stdout and ends the process with exit code 0.
[[noreturn]] void ExitAfterFirstFrame();

}  // namespace ui::fltk
