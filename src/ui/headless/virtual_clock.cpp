#include "ui/headless/virtual_clock.h"

#include <algorithm>

namespace ui::headless {

namespace {

// The clocks the calling thread is registered with; a thread normally has none or one.
thread_local std::vector<const VirtualClock*> tlsRegistered;

}  // namespace

VirtualClock::VirtualClock(std::int64_t startMs) : now_(startMs) {}

bool VirtualClock::IsRegistered() const {
  return std::find(tlsRegistered.begin(), tlsRegistered.end(), this) != tlsRegistered.end();
}

void VirtualClock::Register() {
  tlsRegistered.push_back(this);
}

bool VirtualClock::ClaimOrRegistered() {
  if (IsRegistered()) return true;
  if (unclaimed_ == 0 || std::this_thread::get_id() == uiThread_) return false;
  --unclaimed_;
  Register();
  return true;
}

void VirtualClock::SetChangedHook(std::function<void()> changed) {
  std::lock_guard lock(mu_);
  changed_ = std::move(changed);
}

void VirtualClock::SetUiThread(std::thread::id ui, std::function<void(std::int64_t)> uiSleep) {
  std::lock_guard lock(mu_);
  uiThread_ = ui;
  uiSleep_ = std::move(uiSleep);
}

void VirtualClock::NotifyChanged() {
  std::function<void()> changed;
  {
    std::lock_guard lock(mu_);
    changed = changed_;
  }
  if (changed) changed();
}

void VirtualClock::WorkerStarted() {
  std::lock_guard lock(mu_);
  if (std::this_thread::get_id() == uiThread_) {
    ++unclaimed_;
    active_.fetch_add(1);
    return;
  }
  if (ClaimOrRegistered()) return;
  Register();
  active_.fetch_add(1);
}

void VirtualClock::WorkerFinished() {
  {
    std::lock_guard lock(mu_);
    auto it = std::find(tlsRegistered.begin(), tlsRegistered.end(), this);
    if (it != tlsRegistered.end()) {
      tlsRegistered.erase(it);
    } else if (unclaimed_ > 0) {
      --unclaimed_;  // a worker that never ran, or its creator ending it after the join
    } else {
      return;
    }
    active_.fetch_sub(1);
  }
  NotifyChanged();
}

void VirtualClock::SleepMs(std::int64_t ms) {
  std::unique_lock lock(mu_);
  if (std::this_thread::get_id() == uiThread_ && uiSleep_) {
    auto uiSleep = uiSleep_;
    lock.unlock();
    uiSleep(ms);  // the UI thread's own sleep is a wait of its loop
    return;
  }
  if (ms <= 0) {
    lock.unlock();
    std::this_thread::yield();
    return;
  }
  Sleeper me{now_.load() + ms, ClaimOrRegistered()};
  sleepers_.push_back(&me);
  if (me.registered) active_.fetch_sub(1);
  lock.unlock();
  NotifyChanged();
  lock.lock();
  wake_.wait(lock, [&] { return me.woken; });
}

void VirtualClock::AdvanceTo(std::int64_t ms) {
  std::lock_guard lock(mu_);
  if (ms > now_.load()) now_.store(ms);
  const std::int64_t now = now_.load();
  bool any = false;
  for (auto it = sleepers_.begin(); it != sleepers_.end();) {
    Sleeper* s = *it;
    if (s->deadline > now) {
      ++it;
      continue;
    }
    // Counted active here, under the lock, so the loop cannot jump again before it runs.
    s->woken = true;
    if (s->registered) active_.fetch_add(1);
    it = sleepers_.erase(it);
    any = true;
  }
  if (any) wake_.notify_all();
}

std::optional<std::int64_t> VirtualClock::NextWakeMs() const {
  std::lock_guard lock(mu_);
  std::optional<std::int64_t> next;
  for (const Sleeper* s : sleepers_)
    if (!next || s->deadline < *next) next = s->deadline;
  return next;
}

}  // namespace ui::headless
