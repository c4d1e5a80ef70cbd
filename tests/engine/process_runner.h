#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon::modem::test {

struct ProcessOutput {
  std::optional<int> exitCode;  // nothing when it had to be killed or died by a signal
  std::string out;
  long long elapsedMs = 0;
};

// Runs a program with arguments, collecting its standard output, for at most timeoutMs.
ProcessOutput RunProcess(const std::string& program, const std::vector<std::string>& args,
                         int timeoutMs);

}  // namespace quillon::modem::test
