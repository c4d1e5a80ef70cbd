#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// Starts argv[0] (a path) with argv, in `workingFolder` when it is not empty, in a session of its
// own and with the standard streams on /dev/null, and returns at once. The child is reaped by a
// background thread so it never lingers as a zombie. Returns 0, or the errno of the failed start.
int SpawnDetached(const std::vector<std::string>& argv, const std::string& workingFolder);

struct RunResult {
  int startError = 0;   // errno when the program could not be started
  bool exited = false;  // false: it did not start, or it ran past the deadline and was killed
  int exitCode = -1;
  std::string output;  // standard output, when asked for
};

// Runs argv[0] (a path) and waits for it, at most `timeoutMs`; a program still running then is
// killed. Standard input and error are /dev/null, and so is standard output unless captured.
RunResult RunProgram(const std::vector<std::string>& argv, int timeoutMs, bool captureOutput);

}  // namespace platform::posix
