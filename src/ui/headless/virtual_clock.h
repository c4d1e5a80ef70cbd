#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "ui/clock.h"

namespace ui::headless {

// Time that moves only when the headless loop moves it. Workers that bracket their life with
// WorkerStarted/WorkerFinished are "active" unless they sleep in SleepMs; the loop advances
// time only while no registered worker is active, so a worker's sleep of five minutes passes
// as soon as everything else is idle, and nothing a worker computes is overtaken by time.
//
// WorkerStarted made on the UI thread registers a worker that has not run yet (so time cannot
// jump between its creation and its first instruction); the first non-UI thread that then calls
// WorkerStarted, SleepMs or WorkerFinished without a registration of its own claims it.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(std::int64_t startMs = 1'000'000);

  std::int64_t NowMs() const override { return now_.load(); }
  void SleepMs(std::int64_t ms) override;
  void WorkerStarted() override;
  void WorkerFinished() override;

  // Moves time forward to `ms` (never back) and wakes every sleeper whose deadline passed. A woken
  // registered worker counts as active again before this returns.
  void AdvanceTo(std::int64_t ms);
  // Registered workers that are neither asleep nor finished.
  int activeWorkers() const { return active_.load(); }
  // The earliest deadline of a sleeping thread, if any sleeps.
  std::optional<std::int64_t> NextWakeMs() const;

  // The loop's hooks: `changed` runs (on any thread) whenever a worker falls asleep or ends;
  // `uiSleep` serves a SleepMs made on the UI thread, which must not block on itself.
  void SetChangedHook(std::function<void()> changed);
  void SetUiThread(std::thread::id ui, std::function<void(std::int64_t ms)> uiSleep);

 private:
  struct Sleeper {
    std::int64_t deadline;
    bool registered;
    bool woken = false;
  };
  bool IsRegistered() const;
  void Register();           // with mu_ held
  bool ClaimOrRegistered();  // with mu_ held
  void NotifyChanged();

  mutable std::mutex mu_;
  std::condition_variable wake_;
  std::atomic<std::int64_t> now_;
  std::atomic<int> active_{0};
  std::vector<Sleeper*> sleepers_;
  std::function<void()> changed_;
  int unclaimed_ = 0;  // registrations made on the UI thread for workers not yet running
  std::thread::id uiThread_;
  std::function<void(std::int64_t)> uiSleep_;
};

}  // namespace ui::headless
