#include "console_backend.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/udp_socket.h"

namespace modemctl {

namespace {

// Posted tasks from other threads wait at most this long while the loop polls its sockets.
constexpr std::int64_t kPollSliceMs = 5;

}  // namespace

ConsoleBackend::ConsoleBackend() : uiThread_(std::this_thread::get_id()) {}

void ConsoleBackend::Post(std::function<void()> task) {
  std::lock_guard lock(mu_);
  posts_.push_back(std::move(task));
  posted_.notify_all();
}

ui::Backend::TimerId ConsoleBackend::StartTimer(std::int64_t intervalMs,
                                                std::function<void()> tick) {
  const std::int64_t interval = std::max<std::int64_t>(intervalMs, 1);
  const TimerId id = nextId_++;
  timers_[id] = TimerEntry{interval, clock_.NowMs() + interval, std::move(tick)};
  return id;
}

ui::Backend::WatchId ConsoleBackend::WatchReadable(ui::SocketHandle socket,
                                                   std::function<void()> readable) {
  const WatchId id = nextId_++;
  watches_[id] = {socket, std::move(readable)};
  return id;
}

int ConsoleBackend::MessageBox(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  return 1;
}

bool ConsoleBackend::RunPosts() {
  std::deque<std::function<void()>> tasks;
  {
    std::lock_guard lock(mu_);
    tasks.swap(posts_);
  }
  for (auto& task : tasks) task();
  return !tasks.empty();
}

bool ConsoleBackend::RunDueTimer() {
  const std::int64_t now = clock_.NowMs();
  auto best = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it)
    if (it->second.due <= now && (best == timers_.end() || it->second.due < best->second.due))
      best = it;
  if (best == timers_.end()) return false;
  best->second.due = now + best->second.interval;
  auto tick = best->second.tick;  // the tick may stop its own timer
  tick();
  return true;
}

void ConsoleBackend::WaitForEvents(std::int64_t maxMs) {
  if (watches_.empty()) {
    std::unique_lock lock(mu_);
    posted_.wait_for(lock, std::chrono::milliseconds(maxMs), [&] { return !posts_.empty(); });
    return;
  }
  std::vector<WatchId> ids;
  std::vector<platform::SocketHandle> sockets;
  for (const auto& [id, watch] : watches_) {
    ids.push_back(id);
    sockets.push_back(watch.first);
  }
  const std::vector<bool> ready =
      platform::WaitReadable(sockets, static_cast<int>(std::min(maxMs, kPollSliceMs)));
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (!ready[i]) continue;
    auto it = watches_.find(ids[i]);
    if (it == watches_.end()) continue;
    auto readable = it->second.second;  // the handler may unwatch
    readable();
  }
}

void ConsoleBackend::Loop(const std::function<bool()>& done) {
  for (;;) {
    if (done && done()) return;
    if (quit_) return;
    if (RunPosts() || RunDueTimer()) continue;
    std::int64_t wait = 1000;
    const std::int64_t now = clock_.NowMs();
    for (const auto& [id, timer] : timers_) wait = std::min(wait, timer.due - now);
    WaitForEvents(std::max<std::int64_t>(wait, 0));
  }
}

}  // namespace modemctl
