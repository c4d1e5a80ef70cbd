#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/clock.h"
#include "ui/color.h"

namespace ui {

class Form;

// An OS socket handle as an integer, so that nothing above the platform seam names an OS type.
using SocketHandle = std::intptr_t;

// The seam between the object model and what shows it: an event loop with timers, socket watches
// and posted tasks, all run on the one UI thread, plus the few window services the model needs.
// The model calls the backend; the backend feeds user input back through the model's input
// methods (Control::Click, ComboBox::UserSelect, Edit::UserKey, Form::KeyDown, ...).
class Backend {
 public:
  using TimerId = std::uint64_t;
  using WatchId = std::uint64_t;

  virtual ~Backend() = default;

  virtual Clock& clock() = 0;

  // Runs the loop until Quit(). A nested RunUntil serves modal forms: it returns once `done`
  // holds (checked after every event) or Quit() was called.
  virtual void Run() = 0;
  virtual void RunUntil(const std::function<bool()>& done) = 0;
  virtual void Quit() = 0;
  virtual bool quitRequested() const = 0;

  virtual bool IsUiThread() const = 0;
  // Any thread: runs `task` on the UI thread, in posting order.
  virtual void Post(std::function<void()> task) = 0;

  // UI thread only. A periodic timer: `tick` runs every `intervalMs` until stopped.
  virtual TimerId StartTimer(std::int64_t intervalMs, std::function<void()> tick) = 0;
  virtual void StopTimer(TimerId id) = 0;

  // UI thread only. `readable` runs on the UI thread whenever the socket has data.
  virtual WatchId WatchReadable(SocketHandle socket, std::function<void()> readable) = 0;
  virtual void Unwatch(WatchId id) = 0;

  // A blocking wait on the UI thread: `ms` pass, the window stays painted, but no input, timer,
  // socket event or posted task is handled until it ends.
  virtual void WaitOnUiThread(std::int64_t ms) = 0;

  // The model reports what changed; a screen backend repaints, the headless one records.
  virtual void FormShown(Form& form) = 0;
  virtual void FormHidden(Form& form) = 0;
  virtual void FormChanged(Form& form) = 0;
  virtual void FormDestroyed(Form& form) = 0;

  // The screen the forms are placed on (the headless screen is 1024 x 768).
  virtual int screenWidth() const = 0;
  virtual int screenHeight() const = 0;

  virtual void SetCursor(Cursor cursor) = 0;
  virtual Cursor cursor() const = 0;

  // The code page the message boxes' texts are in (a font character set, as Label's): the
  // language folder's, since the texts come from its catalogues.
  void SetMessageCharset(int charset) { messageCharset_ = charset; }
  int messageCharset() const { return messageCharset_; }

  // The height in pixels that an 8-bit text in the code page `charset` takes wrapped at `width`
  // pixels in a font of `points` (the labels' font). A backend without fonts counts lines of 13
  // pixels holding 7 pixels a character.
  virtual int WrappedTextHeight(const std::string& text, int points, bool bold, int charset,
                                int width) {
    (void)points, (void)bold, (void)charset;
    const std::size_t perLine = static_cast<std::size_t>(width > 7 ? width / 7 : 1);
    std::size_t lines = 0, start = 0;
    for (;;) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      lines += std::max<std::size_t>(1, (end - start + perLine - 1) / perLine);
      if (end == text.size()) break;
      start = end + 1;
    }
    return static_cast<int>(lines) * 13;
  }

  // The platform's plain message box with one OK button; returns 1 (OK).
  virtual int MessageBox(const std::string& text, const std::string& caption) = 0;

  // The same box with a choice of buttons; returns the classic codes: 1 OK, 2 Cancel, 3 Abort,
  // 4 Retry, 5 Ignore. A backend without the choice shows OK alone.
  enum Buttons : int { kButtonsOk = 0, kButtonsOkCancel = 1, kButtonsAbortRetryIgnore = 2 };
  virtual int MessageBoxWithButtons(const std::string& text, const std::string& caption,
                                    int buttons) {
    (void)buttons;
    return MessageBox(text, caption);
  }

 private:
  int messageCharset_ = 0;
};

// The backend the product runs on: FLTK on Linux, native Win32 on Windows. Defined by the
// backend library the executable links.
std::unique_ptr<Backend> MakeScreenBackend();

}  // namespace ui
