#pragma once

#include <thread>

#include "ui/backend.h"
#include "ui/loop_queues.h"

namespace ui {

// What the backends without a screen share: the event sources on a clock of their kind, the
// thread that made them as the UI thread, the quit flag, the cursor and a 1024 x 768 screen.
// Each runs its own loop over the sources.
template <class ClockType>
class WindowlessBackend : public Backend {
 public:
  ClockType& clock() override { return clock_; }
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
  int screenWidth() const override { return 1024; }
  int screenHeight() const override { return 768; }
  void SetCursor(Cursor cursor) override { cursor_ = cursor; }
  Cursor cursor() const override { return cursor_; }

 protected:
  ClockType clock_;
  LoopQueues queues_{clock_};
  const std::thread::id uiThread_ = std::this_thread::get_id();
  bool quit_ = false;

 private:
  Cursor cursor_ = Cursor::Arrow;
};

}  // namespace ui
