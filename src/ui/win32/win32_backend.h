#pragma once

#include <atomic>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/backend.h"
#include "ui/real_clock.h"
#include "ui/win32/win32_api.h"

namespace ui {
class Control;
}  // namespace ui

namespace ui::win32 {

class FontCache;
class FormWindow;

// The Windows screen backend: one top-level window per form (a borderless popup for the main
// window), pictures painted from our decoded pixels and native controls for the inputs. Timers,
// socket events and posted tasks arrive as messages of a message-only window, so they run in
// the one message loop, between user input, as the classic framework's did.
class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;

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

  FontCache& fonts() { return *fonts_; }
  FormWindow* WindowOf(const Form& form) const;
  // The cursor the forms show now, as a system cursor handle.
  HCURSOR CurrentCursor() const;
  bool waiting() const { return waitDepth_ > 0; }
  // Called by a window after it painted a frame.
  void FramePresented();
  // Brings the windows whose form changed in line with the model (the loop does it before it
  // waits; tests call it to read the screen).
  void SyncDirtyWindows();
  // Runs a handler called from a window procedure; an exception is kept and rethrown by the loop.
  void Guarded(const std::function<void()>& handler);

 private:
  struct WatchEntry {
    SOCKET socket;
    std::function<void()> readable;
  };

  static LRESULT CALLBACK MessageWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Registers the window classes and makes the message window, once, when the UI thread first
  // needs them; the display's first use has run on a helper thread meanwhile.
  void EnsureWindows();
  // One message: waits for it, then dispatches it. Windows whose form changed are brought in
  // line first, so what the loop shows is what the model holds.
  void PumpOne();
  void RunPosts();
  void OnTimer(UINT_PTR id);
  void OnSocket(SOCKET socket, LPARAM event);
  HWND ModalOwner() const;

  RealClock clock_;
  std::thread::id uiThread_;
  std::atomic<bool> quit_{false};
  Cursor cursor_ = Cursor::Arrow;
  std::thread displayWarmUp_;
  std::atomic<HWND> messageWindow_{nullptr};  // read by other threads' posts under postMu_

  std::mutex postMu_;
  std::deque<std::function<void()>> posts_;
  bool postPending_ = false;

  std::uint64_t nextId_ = 1;
  std::map<TimerId, std::function<void()>> timers_;
  std::map<WatchId, WatchEntry> watches_;
  int waitDepth_ = 0;

  std::unique_ptr<FontCache> fonts_;
  std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
  // Windows of destroyed forms, freed once the message that destroyed them is done with.
  std::vector<std::unique_ptr<FormWindow>> graveyard_;
  std::exception_ptr pending_;
  // Windows a modal form disabled while it shows, per modal form.
  std::map<const Form*, std::vector<HWND>> disabledByModal_;
  bool exitAfterFirstFrame_ = false;
  bool framePresented_ = false;
};

}  // namespace ui::win32
