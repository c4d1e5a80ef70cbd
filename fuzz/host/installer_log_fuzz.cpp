// The adapter installer's log, which the driver worker reads after the installer ends: any
// lines give a verdict, and no line after the first one naming the result can change it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/thwlandriver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  const bool verdict = host::InstallerLogReportsSuccess(lines);
  size_t decisive = 0;
  while (decisive < lines.size() && lines[decisive].find(host::kResultMarker) == std::string::npos)
    ++decisive;
  if (decisive == lines.size() && verdict) std::abort();
  if (decisive < lines.size()) {
    std::vector<std::string> changed(lines.begin(), lines.begin() + decisive + 1);
    changed.push_back("ResultCode=0");
    changed.push_back("ResultCode=-3");
    if (host::InstallerLogReportsSuccess(changed) != verdict) std::abort();
  }
  return 0;
}
