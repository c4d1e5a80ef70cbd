#pragma once

namespace platform {

// kLower is one step below normal, the priority the wizard's worker threads run at.
enum class ThreadPriority { kNormal, kLower };

// Applies to the calling thread; quietly does nothing where the system refuses.
void SetCurrentThreadPriority(ThreadPriority priority);

}  // namespace platform
