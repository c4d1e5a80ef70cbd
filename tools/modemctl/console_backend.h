#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "ui/backend.h"
#include "ui/real_clock.h"

namespace modemctl {

// A windowless backend on the real clock: timers, socket watches and posted tasks on the thread
// that made it, enough to run the engine from a console. Forms are neither shown nor drawn.
class ConsoleBackend : public ui::Backend {
 public:
  ConsoleBackend();

  ui::Clock& clock() override { return clock_; }
  void Run() override { Loop(nullptr); }
  void RunUntil(const std::function<bool()>& done) override { Loop(done); }
  void Quit() override { quit_ = true; }
  bool quitRequested() const override { return quit_; }
  bool IsUiThread() const override { return std::this_thread::get_id() == uiThread_; }
  void Post(std::function<void()> task) override;
  TimerId StartTimer(std::int64_t intervalMs, std::function<void()> tick) override;
  void StopTimer(TimerId id) override { timers_.erase(id); }
  WatchId WatchReadable(ui::SocketHandle socket, std::function<void()> readable) override;
  void Unwatch(WatchId id) override { watches_.erase(id); }
  void WaitOnUiThread(std::int64_t ms) override { clock_.SleepMs(ms); }
  void FormShown(ui::Form&) override {}
  void FormHidden(ui::Form&) override {}
  void FormChanged(ui::Form&) override {}
  void FormDestroyed(ui::Form&) override {}
  int screenWidth() const override { return 1024; }
  int screenHeight() const override { return 768; }
  void SetCursor(ui::Cursor cursor) override { cursor_ = cursor; }
  ui::Cursor cursor() const override { return cursor_; }
  int MessageBox(const std::string& text, const std::string& caption) override;

 private:
  struct TimerEntry {
    std::int64_t interval;
    std::int64_t due;
    std::function<void()> tick;
  };
  void Loop(const std::function<bool()>& done);
  bool RunPosts();
  bool RunDueTimer();
  void WaitForEvents(std::int64_t maxMs);

  ui::RealClock clock_;
  std::thread::id uiThread_;
  bool quit_ = false;
  ui::Cursor cursor_ = ui::Cursor::Arrow;
  std::mutex mu_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> posts_;
  std::uint64_t nextId_ = 1;
  std::map<TimerId, TimerEntry> timers_;
  std::map<WatchId, std::pair<ui::SocketHandle, std::function<void()>>> watches_;
};

}  // namespace modemctl
