#pragma once

#include <cstdio>
#include <string>

namespace quillon::modemsim {

// The simulator's log: one line per event, stamped with the seconds since start, flushed at
// once so a test can read it while the simulator runs.
class SimLog {
 public:
  // An empty path logs to standard error.
  explicit SimLog(const std::string& path);
  ~SimLog();
  SimLog(const SimLog&) = delete;
  SimLog& operator=(const SimLog&) = delete;

  bool ok() const { return file_ != nullptr; }
  void Write(const std::string& line);

 private:
  std::FILE* file_ = nullptr;
  bool owned_ = false;
  long long startMs_ = 0;
};

// Milliseconds of a monotonic clock.
long long MonotonicMs();

}  // namespace quillon::modemsim
