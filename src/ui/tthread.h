#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/thread_priority.h"
#include "ui/backend.h"

namespace ui {

// The framework's thread object: created suspended, given a priority and its inputs, resumed,
// then terminated and destroyed by its owner; destruction waits for Execute to end. The thread
// names itself for debuggers and registers with the backend's clock, so virtual time stands
// still while it computes and passes while it sleeps.
//
// A subclass calls Terminate() and WaitFor() in its own destructor: Execute belongs to the
// subclass, which must not be gone while the thread still runs it.
class TThread {
 public:
  TThread(ui::Backend& backend, std::string debugName);
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void SetPriority(platform::ThreadPriority priority) { priority_ = priority; }
  platform::ThreadPriority priority() const { return priority_; }
  // Starts Execute; a second call does nothing.
  void Resume();
  // Asks Execute to end early; those that wait check it.
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
  // Waits for Execute to end (at once for a thread never resumed).
  void WaitFor();

 protected:
  virtual void Execute() = 0;
  ui::Clock& clock() { return backend_.clock(); }
  const std::atomic<bool>& terminatedFlag() const { return terminated_; }
  // Sleeps on the clock in short slices; false when Terminate cut the sleep short.
  bool SleepUnlessTerminated(std::int64_t ms);

 private:
  void Run();

  ui::Backend& backend_;
  std::string debugName_;
  platform::ThreadPriority priority_ = platform::ThreadPriority::kNormal;
  std::thread thread_;
  std::atomic<bool> resumed_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace ui
