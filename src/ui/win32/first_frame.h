#pragma once

namespace ui::win32 {

// The start-up benchmark's hook (QUILLON_EXIT_AFTER_FIRST_FRAME=1): lets the system put the first
// painted frame on screen, prints "first-frame-ms N" (since the process was created) on stdout
// and ends the process with exit code 0.
[[noreturn]] void ExitAfterFirstFrame();

}  // namespace ui::win32
