#include <windows.h>

#include "platform/thread_priority.h"

namespace platform {

void SetCurrentThreadPriority(ThreadPriority priority) {
  const int level =
      priority == ThreadPriority::kLower ? THREAD_PRIORITY_BELOW_NORMAL : THREAD_PRIORITY_NORMAL;
  ::SetThreadPriority(::GetCurrentThread(), level);
}

}  // namespace platform
