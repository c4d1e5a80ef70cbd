#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/headless/virtual_clock.h"
#include "ui/windowless_backend.h"

namespace ui::headless {

// Thrown when a loop can never finish (nothing runnable, no timer, no sleeper, no handler) or
// spins without end. It does not derive from std::exception, so Application::Guard lets it pass
// to the test instead of showing it as a message box.
// The message also goes to stderr, since a test framework shows only std::exception texts.
class LoopStalled {
 public:
  explicit LoopStalled(std::string message);
  const char* what() const noexcept { return message_.c_str(); }

 private:
  std::string message_;
};

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  int charset = 0;
};

// The in-memory backend: the model is all there is to see, and time is a VirtualClock. One
// step of its loop runs one event: a posted task, then a readable socket, then the earliest due
// timer. When none is runnable it waits (in real time) for active workers, gives loopback
// datagrams a few real milliseconds, and then jumps time to the next timer or sleeper.
class HeadlessBackend : public WindowlessBackend<VirtualClock> {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  VirtualClock& virtualClock() { return clock_; }

  void Run() override;
  void RunUntil(const std::function<bool()>& done) override;
  void WaitOnUiThread(std::int64_t ms) override;
  void FormShown(Form& form) override;
  void FormHidden(Form& form) override;
  void FormChanged(Form& form) override;
  void FormDestroyed(Form& form) override;
  int MessageBox(const std::string& text, const std::string& caption) override;

  // Test driving (UI thread). RunFor advances time by `ms`, handling everything that falls due;
  // RunUntil runs until `pred` holds or `timeoutMs` of virtual time passed and returns pred();
  // ProcessPending handles what is runnable now, waiting for active workers to settle, without
  // moving time, and returns how many events ran.
  void RunFor(std::int64_t ms);
  bool RunUntil(const std::function<bool()>& pred, std::int64_t timeoutMs);
  int ProcessPending();

  // The message box answers with the handler's result (1 without a handler) and is recorded.
  using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption)>;
  void SetMessageBoxHandler(MessageBoxHandler handler) { messageBoxHandler_ = std::move(handler); }
  const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
  void ClearMessageBoxes() { messageBoxes_.clear(); }

  // Called with the topmost modal form whenever a modal loop waits and nothing can run at the
  // current instant; the handler plays the user (clicks the form's OK picture, sets its result).
  using ModalHandler = std::function<void(Form& form)>;
  void SetModalHandler(ModalHandler handler) { modalHandler_ = std::move(handler); }
  // The forms shown and not hidden, in showing order; the modal ones among them, innermost last.
  const std::vector<Form*>& visibleForms() const { return visible_; }
  Form* topModalForm() const;
  // How many times the model reported a change of this form.
  int changeCount(const Form& form) const;

  // A user's mouse and keyboard: routed through Form::ControlAt as a screen backend does.
  void MoveMouse(Form& form, int x, int y);
  void ClickAt(Form& form, int x, int y);
  void PressKey(Form& form, int key, int shift = 0);

  // Limits that turn a hang into LoopStalled: the virtual time one Run/RunUntil may advance
  // without finishing, and the real time active workers may take without settling.
  void SetRunLimitMs(std::int64_t virtualMs) { runLimitMs_ = virtualMs; }
  void SetWorkerStallLimitMs(std::int64_t realMs) { workerStallLimitMs_ = realMs; }
  // The real time given to loopback datagrams before time jumps (when a socket is watched).
  void SetSocketGraceMs(int realMs) { socketGraceMs_ = realMs; }

 private:
  enum class Stop { Done, Quit, Deadline };

  bool DispatchOne();
  void CountEvent();
  void WaitForWorkers(bool untilPost);
  bool WaitForSocket(std::int64_t realMs);
  std::int64_t NextDeadline() const;  // INT64_MAX when there is none
  Stop Loop(const std::function<bool()>& done, std::int64_t deadline);

  std::int64_t eventsThisInstant_ = 0;
  std::int64_t instant_ = 0;

  MessageBoxHandler messageBoxHandler_;
  std::vector<MessageBoxRecord> messageBoxes_;
  ModalHandler modalHandler_;
  std::vector<Form*> visible_;
  std::map<const Form*, int> changes_;

  std::int64_t runLimitMs_ = 6 * 3600 * 1000;
  std::int64_t workerStallLimitMs_ = 60 * 1000;
  int socketGraceMs_ = 5;
};

// A ready application on a fresh headless backend, and the way back to that backend.
std::unique_ptr<Application> MakeHeadlessApplication();
HeadlessBackend& Headless(Application& app);

}  // namespace ui::headless
