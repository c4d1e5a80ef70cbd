#pragma once

#include <string>
#include <vector>

namespace badinput {

struct ChildResult {
  bool started = false;
  bool timedOut = false;  // killed after the time-out
  int exitCode = -1;      // -1 unless it exited by itself
  int signal = 0;         // the signal that ended it, 0 if none
  std::string out;
  std::string err;
  long long elapsedMs = 0;
};

// Runs program with args in workingFolder, its environment being this process's plus
// `environment` ("NAME=value", overriding), and waits at most timeoutMs before killing it.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment, const std::string& workingFolder,
                     int timeoutMs);

}  // namespace badinput
