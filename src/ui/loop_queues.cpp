#include "ui/loop_queues.h"

#include <chrono>
#include <vector>

#include "platform/socket_poll.h"

namespace ui {

void LoopQueues::Post(std::function<void()> task) {
  std::lock_guard lock(postMu_);
  posts_.push_back(std::move(task));
  wake_.notify_all();
}

void LoopQueues::Wake() {
  std::lock_guard lock(postMu_);
  wake_.notify_all();
}

bool LoopQueues::HasPost() const {
  std::lock_guard lock(postMu_);
  return !posts_.empty();
}

void LoopQueues::WaitForPost(std::int64_t realMs) {
  std::unique_lock lock(postMu_);
  if (posts_.empty()) wake_.wait_for(lock, std::chrono::milliseconds(realMs));
}

void LoopQueues::WaitForWake(std::int64_t realMs) {
  std::unique_lock lock(postMu_);
  wake_.wait_for(lock, std::chrono::milliseconds(realMs));
}

bool LoopQueues::RunPost() {
  std::function<void()> task;
  {
    std::lock_guard lock(postMu_);
    if (posts_.empty()) return false;
    task = std::move(posts_.front());
    posts_.pop_front();
  }
  task();
  return true;
}

Backend::TimerId LoopQueues::StartTimer(std::int64_t intervalMs, std::function<void()> tick) {
  const std::int64_t interval = intervalMs > 0 ? intervalMs : 1;
  const Backend::TimerId id = nextId_++;
  timers_[id] = TimerEntry{interval, clock_.NowMs() + interval, std::move(tick)};
  return id;
}

std::optional<std::int64_t> LoopQueues::NextTimerDue() const {
  std::optional<std::int64_t> next;
  for (const auto& [id, timer] : timers_)
    if (!next || timer.due < *next) next = timer.due;
  return next;
}

bool LoopQueues::RunDueTimer() {
  const std::int64_t now = clock_.NowMs();
  auto best = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it)
    if (it->second.due <= now && (best == timers_.end() || it->second.due < best->second.due))
      best = it;
  if (best == timers_.end()) return false;
  // The next period counts from this tick's start; a handler that waits longer than a period
  // gets one catch-up tick, not a burst, as with coalesced window timer messages.
  best->second.due = now + best->second.interval;
  auto tick = best->second.tick;  // the tick may stop its own timer
  tick();
  return true;
}

Backend::WatchId LoopQueues::Watch(SocketHandle socket, std::function<void()> readable) {
  const Backend::WatchId id = nextId_++;
  watches_[id] = WatchEntry{socket, std::move(readable)};
  return id;
}

bool LoopQueues::RunReadySocket(int waitMs) {
  if (watches_.empty()) return false;
  std::vector<Backend::WatchId> ids;
  std::vector<SocketHandle> sockets;
  for (const auto& [id, watch] : watches_) {
    ids.push_back(id);
    sockets.push_back(watch.socket);
  }
  const std::vector<bool> ready = platform::PollReadable(sockets, waitMs);
  for (std::size_t k = 0; k < ids.size(); ++k) {
    const std::size_t i = (nextWatchStart_ + k) % ids.size();
    if (!ready[i]) continue;
    auto it = watches_.find(ids[i]);
    if (it == watches_.end()) continue;
    nextWatchStart_ = i + 1;
    auto readable = it->second.readable;  // the handler may unwatch itself
    readable();
    return true;
  }
  return false;
}

}  // namespace ui
