#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

#include "ui/backend.h"

namespace ui {

// The event sources the windowless backends serve on their UI thread: tasks posted from any
// thread, periodic timers on the backend's clock, and sockets watched for data. The backend's
// loop decides the order and how to wait; this keeps the sources.
class LoopQueues {
 public:
  explicit LoopQueues(Clock& clock) : clock_(clock) {}

  // Any thread.
  void Post(std::function<void()> task);
  // Wakes a wait for posts without posting (the clock moved, say).
  void Wake();
  bool HasPost() const;
  // Waits up to `realMs` of real time for a post or a Wake; at once when a post is waiting.
  void WaitForPost(std::int64_t realMs);
  // Waits up to `realMs` of real time for the next post or Wake, whatever is already waiting.
  void WaitForWake(std::int64_t realMs);

  // UI thread only: each runs one event, true when there was one.
  bool RunPost();
  bool RunDueTimer();
  // Polls the watched sockets up to `waitMs` and serves one that is readable; the search starts
  // after the one served last, so a busy socket cannot starve the others.
  bool RunReadySocket(int waitMs);

  Backend::TimerId StartTimer(std::int64_t intervalMs, std::function<void()> tick);
  void StopTimer(Backend::TimerId id) { timers_.erase(id); }
  // When the earliest timer falls due; none without timers.
  std::optional<std::int64_t> NextTimerDue() const;

  Backend::WatchId Watch(SocketHandle socket, std::function<void()> readable);
  void Unwatch(Backend::WatchId id) { watches_.erase(id); }
  bool watching() const { return !watches_.empty(); }

 private:
  struct TimerEntry {
    std::int64_t interval;
    std::int64_t due;
    std::function<void()> tick;
  };
  struct WatchEntry {
    SocketHandle socket;
    std::function<void()> readable;
  };

  Clock& clock_;
  mutable std::mutex postMu_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> posts_;
  std::uint64_t nextId_ = 1;
  std::map<Backend::TimerId, TimerEntry> timers_;
  std::map<Backend::WatchId, WatchEntry> watches_;
  std::size_t nextWatchStart_ = 0;
};

}  // namespace ui
