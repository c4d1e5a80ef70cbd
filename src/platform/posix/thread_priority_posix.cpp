#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include "platform/thread_priority.h"

namespace platform {

void SetCurrentThreadPriority(ThreadPriority priority) {
  // Linux schedules each thread with its own nice value; one step below normal is one nice
  // level above the process's own.
  const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
  errno = 0;
  const int processNice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
  if (processNice == -1 && errno != 0) return;
  const int target = priority == ThreadPriority::kLower ? processNice + 1 : processNice;
  ::setpriority(PRIO_PROCESS, thread, target);
}

}  // namespace platform
