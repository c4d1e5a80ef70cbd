#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "ui/backend.h"
#include "ui/loop_queues.h"
#include "ui/real_clock.h"

namespace ui::console {

// A windowless backend on the real clock: timers, socket watches and posted tasks on the thread
// that made it, enough to run the modem engine from a console or a benchmark. Forms are neither
// shown nor drawn; a message box goes to the standard error.
class ConsoleBackend : public Backend {
 public:
  ConsoleBackend() : uiThread_(std::this_thread::get_id()) {}

  Clock& clock() override { return clock_; }
  void Run() override { Loop(nullptr); }
  void RunUntil(const std::function<bool()>& done) override { Loop(done); }
  void Quit() override { quit_ = true; }
  bool quitRequested() const override { return quit_; }
  bool IsUiThread() const override { return std::this_thread::get_id() == uiThread_; }
  void Post(std::function<void()> task) override { queues_.Post(std::move(task)); }
  TimerId StartTimer(std::int64_t intervalMs, std::function<void()> tick) override {
    return queues_.StartTimer(intervalMs, std::move(tick));
  }
  void StopTimer(TimerId id) override { queues_.StopTimer(id); }
  WatchId WatchReadable(SocketHandle socket, std::function<void()> readable) override {
    return queues_.Watch(socket, std::move(readable));
  }
  void Unwatch(WatchId id) override { queues_.Unwatch(id); }
  void WaitOnUiThread(std::int64_t ms) override { clock_.SleepMs(ms); }
  void FormShown(Form&) override {}
  void FormHidden(Form&) override {}
  void FormChanged(Form&) override {}
  void FormDestroyed(Form&) override {}
  int screenWidth() const override { return 1024; }
  int screenHeight() const override { return 768; }
  void SetCursor(Cursor cursor) override { cursor_ = cursor; }
  Cursor cursor() const override { return cursor_; }
  int MessageBox(const std::string& text, const std::string& caption) override;

 private:
  void Loop(const std::function<bool()>& done);

  RealClock clock_;
  LoopQueues queues_{clock_};
  std::thread::id uiThread_;
  bool quit_ = false;
  Cursor cursor_ = Cursor::Arrow;
};

}  // namespace ui::console
