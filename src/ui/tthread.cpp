#include "ui/tthread.h"

#include <algorithm>

#include "platform/process.h"

namespace ui {

namespace {

// A terminated thread notices within this much time while it sleeps.
constexpr std::int64_t kSleepSliceMs = 250;

}  // namespace

TThread::TThread(ui::Backend& backend, std::string debugName)
    : backend_(backend), debugName_(std::move(debugName)) {}

TThread::~TThread() {
  WaitFor();
}

void TThread::Resume() {
  if (resumed_.exchange(true)) return;
  // Registered before it exists, so virtual time cannot move between now and its first step;
  // the thread claims the registration when it starts.
  if (backend_.IsUiThread()) backend_.clock().WorkerStarted();
  thread_ = std::thread([this] { Run(); });
}

void TThread::WaitFor() {
  if (thread_.joinable()) thread_.join();
}

void TThread::Run() {
  ui::Clock& clock = backend_.clock();
  clock.WorkerStarted();
  platform::SetCurrentThreadName(debugName_);
  platform::SetCurrentThreadPriority(priority_);
  Execute();
  finished_ = true;
  clock.WorkerFinished();
}

bool TThread::SleepUnlessTerminated(std::int64_t ms) {
  while (ms > 0) {
    if (terminated_) return false;
    const std::int64_t slice = std::min(ms, kSleepSliceMs);
    clock().SleepMs(slice);
    ms -= slice;
  }
  return !terminated_;
}

}  // namespace ui
