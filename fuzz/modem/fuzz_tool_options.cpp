// The command lines of modemsim and modemctl, and modemctl's field assignments: arguments
// separated by zero bytes in the input. A command line is either read or refused with a reason;
// nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ctl_options.h"
#include "sim_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size && args.size() <= 16; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  (void)quillon::modemsim::ParseSimOptions(args);
  (void)modemctl::ParseCtlOptions(args);
  quillon::modem::ModemSettings settings;
  for (const std::string& arg : args) (void)modemctl::SetSettingsField(settings, arg);
  return 0;
}
