#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "ui/backend.h"

namespace ui {

// The application object: title, message loop, terminate request, exception display, the plain
// message box, the screen cursor and the process's end.
class Application {
 public:
  explicit Application(std::unique_ptr<Backend> backend);
  ~Application();

  Backend& backend() { return *backend_; }
  Clock& clock() { return backend_->clock(); }

  const std::string& title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Posts a quit request: the loop ends once it takes it.
  void Terminate();
  bool terminated() const;
  void Run();

  // The plain system message box; its caption is the application title.
  int MessageBox(const std::string& text);
  // The exception display: shows the message in a plain message box.
  void ShowException(const std::exception& e);
  // Runs an event handler, turning an escaping exception into the exception display.
  void Guard(const std::function<void()>& handler);

  void SetCursor(Cursor c) { backend_->SetCursor(c); }
  Cursor cursor() const { return backend_->cursor(); }

  // A blocking wait on the UI thread (see Backend::WaitOnUiThread).
  void Wait(std::int64_t ms) { backend_->WaitOnUiThread(ms); }

  // Ends the process with `code` through the normal exit path. Tests replace the handler to
  // observe the end without leaving the test process.
  [[noreturn]] void Halt(int code);
  using HaltHandler = std::function<void(int code)>;  // must not return
  void SetHaltHandler(HaltHandler handler) { haltHandler_ = std::move(handler); }

 private:
  std::unique_ptr<Backend> backend_;
  std::string title_;
  HaltHandler haltHandler_;
};

// Thrown by a test's halt handler so that Halt unwinds back to the test.
struct HaltRequested {
  int code;
};

}  // namespace ui
