#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/backend.h"

namespace ui {

class Application;

// A periodic timer that always ticks on the UI thread. Enabling, disabling or changing the
// interval from a worker thread is allowed: the change is posted to the UI thread. Enabling an
// enabled timer, or setting its interval, restarts its period, as the classic component does.
// An interval of 0 or less keeps the timer from ticking.
class Timer {
 public:
  Timer(Application& app, std::string name);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& name() const { return name_; }
  std::int64_t interval() const { return interval_.load(); }
  void SetInterval(std::int64_t ms);
  bool enabled() const { return enabled_.load(); }
  void SetEnabled(bool on);

  std::function<void()> onTimer;

 private:
  void ApplyOnUiThread();  // any thread
  void Restart();          // UI thread
  void Tick();

  Application& app_;
  std::string name_;
  std::atomic<std::int64_t> interval_{1000};
  std::atomic<bool> enabled_{false};
  Backend::TimerId running_ = 0;
  std::shared_ptr<bool> alive_;
};

}  // namespace ui
