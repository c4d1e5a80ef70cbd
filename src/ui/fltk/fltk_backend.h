#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ui/backend.h"
#include "ui/real_clock.h"

class Fl_Window;

namespace ui {
class Control;
}  // namespace ui

namespace ui::fltk {

class FormWindow;

// The Linux screen backend: one borderless FLTK window per form, drawn from the model, with the
// input controls as real FLTK widgets. Timers, sockets and posted tasks run in FLTK's loop.
class FltkBackend : public Backend {
 public:
  FltkBackend();
  ~FltkBackend() override;

  Clock& clock() override { return clock_; }
  void Run() override;
  void RunUntil(const std::function<bool()>& done) override;
  void Quit() override;
  bool quitRequested() const override { return quit_.load(); }
  bool IsUiThread() const override { return std::this_thread::get_id() == uiThread_; }
  void Post(std::function<void()> task) override;
  TimerId StartTimer(std::int64_t intervalMs, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;
  WatchId WatchReadable(SocketHandle socket, std::function<void()> readable) override;
  void Unwatch(WatchId id) override;
  void WaitOnUiThread(std::int64_t ms) override;
  void FormShown(Form& form) override;
  void FormHidden(Form& form) override;
  void FormChanged(Form& form) override;
  void FormDestroyed(Form& form) override;
  int screenWidth() const override;
  int screenHeight() const override;
  void SetCursor(Cursor cursor) override;
  Cursor cursor() const override { return cursor_; }
  int WrappedTextHeight(const std::string& text, int points, bool bold, int charset,
                        int width) override;
  int MessageBox(const std::string& text, const std::string& caption) override;
  int MessageBoxWithButtons(const std::string& text, const std::string& caption,
                            int buttons) override;

  // For tests: the text an input control's widget shows (UTF-8), and the form's window, if any.
  std::string WidgetText(const Control& control) const;
  FormWindow* WindowOf(const Form& form) const;
  // True while WaitOnUiThread holds input, timers and posts back.
  bool waiting() const { return waitDepth_ > 0; }
  // Called by a window after it put a frame on screen.
  void FramePresented();

 private:
  struct TimerEntry {
    double intervalS;
    std::function<void()> tick;
    bool missed = false;  // fell due during a UI-thread wait
  };
  struct WatchEntry {
    int fd;
    std::function<void()> readable;
  };

  static void OnTimeout(void* id);
  static void OnMissedTick(void* id);
  static void OnReadable(int fd, void* id);
  static void OnAwake(void* self);
  static void OnCheck(void* self);
  static int FilterDuringWait(int event, Fl_Window* window);
  void RunPosts();
  void SyncDirtyWindows();

  RealClock clock_;
  std::thread::id uiThread_;
  std::atomic<bool> quit_{false};
  Cursor cursor_ = Cursor::Arrow;

  std::mutex postMu_;
  std::deque<std::function<void()>> posts_;
  bool awakePending_ = false;

  std::uint64_t nextId_ = 1;
  std::map<TimerId, TimerEntry> timers_;
  std::map<WatchId, WatchEntry> watches_;
  int waitDepth_ = 0;

  std::map<const Form*, FormWindow*> windows_;
  bool exitAfterFirstFrame_ = false;
  bool framePresented_ = false;
};

}  // namespace ui::fltk
