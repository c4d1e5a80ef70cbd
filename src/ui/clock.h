#pragma once

#include <cstdint>

namespace ui {

// Time as a service. The product runs on the real monotonic clock; the headless backend runs on
// a virtual clock that jumps to the next timer or sleeper whenever nothing else can run, so a
// five-minute check takes milliseconds in a test.
class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds on a monotonic scale; only differences mean anything.
  virtual std::int64_t NowMs() const = 0;

  // Blocks the calling worker thread until `ms` have passed on this clock. Not for the UI thread:
  // a UI-thread wait goes through Backend::WaitOnUiThread so the window stays painted.
  virtual void SleepMs(std::int64_t ms) = 0;

  // A worker thread brackets its life with these so that the virtual clock does not jump while a
  // worker is busy computing (it jumps only when every registered worker sleeps or has ended).
  virtual void WorkerStarted() {}
  virtual void WorkerFinished() {}
};

}  // namespace ui
