#include "sim_log.h"

#include <chrono>

namespace quillon::modemsim {

long long MonotonicMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

SimLog::SimLog(const std::string& path) : startMs_(MonotonicMs()) {
  if (path.empty()) {
    file_ = stderr;
  } else {
    file_ = std::fopen(path.c_str(), "a");
    owned_ = true;
  }
}

SimLog::~SimLog() {
  if (owned_ && file_ != nullptr) std::fclose(file_);
}

void SimLog::Write(const std::string& line) {
  if (file_ == nullptr) return;
  const long long elapsed = MonotonicMs() - startMs_;
  std::fprintf(file_, "[%lld.%03lld] %s\n", elapsed / 1000, elapsed % 1000, line.c_str());
  std::fflush(file_);
}

}  // namespace quillon::modemsim
