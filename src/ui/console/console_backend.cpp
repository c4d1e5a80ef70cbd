#include "ui/console/console_backend.h"

#include <algorithm>
#include <cstdio>

namespace ui::console {

namespace {

// While sockets are watched, posted tasks from other threads wait at most this long.
constexpr std::int64_t kPollSliceMs = 5;

}  // namespace

int ConsoleBackend::MessageBox(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  return 1;
}

void ConsoleBackend::Loop(const std::function<bool()>& done) {
  for (;;) {
    if (done && done()) return;
    if (quit_) return;
    if (queues_.RunPost() || queues_.RunReadySocket(0) || queues_.RunDueTimer()) continue;
    std::int64_t wait = 1000;
    if (auto due = queues_.NextTimerDue())
      wait = std::clamp<std::int64_t>(*due - clock_.NowMs(), 0, wait);
    if (queues_.watching())
      queues_.RunReadySocket(static_cast<int>(std::min(wait, kPollSliceMs)));
    else
      queues_.WaitForPost(wait);
  }
}

}  // namespace ui::console
