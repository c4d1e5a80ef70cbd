#include "ui/timer.h"

#include "ui/application.h"

namespace ui {

Timer::Timer(Application& app, std::string name)
    : app_(app), name_(std::move(name)), alive_(std::make_shared<bool>(true)) {}

Timer::~Timer() {
  if (running_ != 0) app_.backend().StopTimer(running_);
  // A change posted from a worker may still be queued; it finds the flag gone and does nothing.
  alive_.reset();
}

void Timer::SetInterval(std::int64_t ms) {
  interval_.store(ms);
  ApplyOnUiThread();
}

void Timer::SetEnabled(bool on) {
  enabled_.store(on);
  ApplyOnUiThread();
}

void Timer::ApplyOnUiThread() {
  Backend& backend = app_.backend();
  if (backend.IsUiThread()) {
    Restart();
    return;
  }
  // The posted task reads the latest values when it runs, so a burst of changes from a worker
  // ends in the last state whatever order the tasks interleave with.
  std::weak_ptr<bool> alive = alive_;
  backend.Post([this, alive] {
    if (alive.lock()) Restart();
  });
}

void Timer::Restart() {
  Backend& backend = app_.backend();
  if (running_ != 0) {
    backend.StopTimer(running_);
    running_ = 0;
  }
  const std::int64_t interval = interval_.load();
  if (!enabled_.load() || interval <= 0) return;
  running_ = backend.StartTimer(interval, [this] { Tick(); });
}

void Timer::Tick() {
  if (!onTimer) return;
  // A copy: the handler may reassign onTimer or disable this timer while it runs.
  auto handler = onTimer;
  app_.Guard(handler);
}

}  // namespace ui
