#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/real_clock.h"
#include "ui/windowless_backend.h"

namespace ui::console {

// A windowless backend on the real clock: timers, socket watches and posted tasks on the thread
// that made it, enough to run the modem engine from a console or a benchmark. Forms are neither
// shown nor drawn; a message box goes to the standard error.
class ConsoleBackend : public WindowlessBackend<RealClock> {
 public:
  void Run() override { Loop(nullptr); }
  void RunUntil(const std::function<bool()>& done) override { Loop(done); }
  void WaitOnUiThread(std::int64_t ms) override { clock_.SleepMs(ms); }
  void FormShown(Form&) override {}
  void FormHidden(Form&) override {}
  void FormChanged(Form&) override {}
  void FormDestroyed(Form&) override {}
  int MessageBox(const std::string& text, const std::string& caption) override;

 private:
  void Loop(const std::function<bool()>& done);
};

}  // namespace ui::console
